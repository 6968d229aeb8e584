#include "ui/ComponentRef.h"

namespace ui {

class ComponentRefBase::Watch : public Component {
 public:
  Watch(Component* target, ComponentRefBase* ref) : Component(target), ref_(ref) {}
  ~Watch() override {
    if (ref_ != nullptr) {
      ref_->target_ = nullptr;
      ref_->watch_ = nullptr;
    }
  }
  const char* ClassName() const override { return "TRefWatch"; }
  ComponentRefBase* ref_;
};

void ComponentRefBase::Reset(Component* target) {
  if (target == target_) return;
  if (watch_ != nullptr) {
    watch_->ref_ = nullptr;
    delete watch_;
    watch_ = nullptr;
  }
  target_ = target;
  if (target_ != nullptr) watch_ = new Watch(target_, this);
}

}  // namespace ui
