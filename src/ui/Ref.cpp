#include "ui/Ref.h"

#include "ui/Component.h"

namespace ui {

void RefBase::Reset(Component* target) {
  if (target != nullptr && target->ended_) target = nullptr;
  if (target == target_) return;
  Unlink();
  target_ = target;
  Link();
}

void RefBase::Link() {
  if (target_ == nullptr) return;
  next_ = target_->refs_;
  prev_ = nullptr;
  if (next_ != nullptr) next_->prev_ = this;
  target_->refs_ = this;
}

void RefBase::Unlink() {
  if (target_ == nullptr) return;
  if (prev_ != nullptr)
    prev_->next_ = next_;
  else
    target_->refs_ = next_;
  if (next_ != nullptr) next_->prev_ = prev_;
  prev_ = next_ = nullptr;
  target_ = nullptr;
}

void Component::AnnounceEnd() {
  ended_ = true;
  // One reference at a time: a handler may reset or destroy any of the others.
  while (refs_ != nullptr) {
    RefBase* ref = refs_;
    ref->Unlink();
    if (ref->gone_) {
      const std::function<void()> gone = ref->gone_;  // the handler may destroy the reference
      gone();
    }
  }
}

}  // namespace ui
