#pragma once
// Tells its creator when a form goes away. Forms announce nothing when they are destroyed, but
// they destroy what they own: a watch owned by the form is destroyed with it and calls back.
// Whoever holds a form by pointer beyond its own lifetime (a view, a modal loop) keeps one.

#include <functional>
#include <utility>

#include "ui/Component.h"

namespace qtui {

class FormWatch : public ui::Component {
 public:
  FormWatch(ui::Component* form, std::function<void()> gone)
      : ui::Component(form), gone_(std::move(gone)) {}
  ~FormWatch() override {
    if (gone_) gone_();
  }
  const char* ClassName() const override { return "TFormWatch"; }
  // Before the creator deletes the watch itself (the form lives on).
  void Disarm() { gone_ = nullptr; }

 private:
  std::function<void()> gone_;
};

}  // namespace qtui
