#include "settings/EditorSupport.h"

#include "ui/Component.h"

namespace settings {

class ControlHandle::Watch : public ui::Component {
 public:
  Watch(ui::Control* control, ControlHandle* handle) : ui::Component(control), handle_(handle) {}
  ~Watch() override {
    if (handle_ != nullptr) {
      handle_->control_ = nullptr;
      handle_->watch_ = nullptr;
    }
  }
  const char* ClassName() const override { return "TEditorWatch"; }
  ControlHandle* handle_;
};

void ControlHandle::reset(ui::Control* control) {
  if (control == control_) return;
  if (watch_ != nullptr) {
    watch_->handle_ = nullptr;
    delete watch_;
    watch_ = nullptr;
  }
  control_ = control;
  if (control_ != nullptr) watch_ = new Watch(control_, this);
}

void ControlHandle::destroy() {
  if (control_ == nullptr) return;
  ui::Control* control = control_;
  // The watch goes with the control; it has nobody to tell any more.
  watch_->handle_ = nullptr;
  watch_ = nullptr;
  control_ = nullptr;
  delete control;
}

}  // namespace settings
