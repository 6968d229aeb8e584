#pragma once
// What every editor does with the control it is bound to, done once here (ControlHandle, and
// OwnedControl for a control of a known kind):
//   - the editor owns its control and destroys it with itself, but the control also belongs to its
//     window; a control destroyed by its window first simply reads null (ui::Ref);
//   - the editor's handlers for the control's events, installed on every control the handle
//     takes, and cleared again only where they still are this editor's (somebody may have bound
//     the control to another editor since);
//   - the editor's update counter, raised while the editor itself writes to the control, so the
//     change events that writing raises are not taken for the user's (UpdatingScope);
//   - the mark a bound control carries: the handlers of an editor, which is how the program tells
//     a window's bound controls from the others (HeldByEditor).

#include <functional>
#include <vector>

#include "ui/Control.h"
#include "ui/Ref.h"

class VSetting;

namespace settings {

class UpdatingScope {
 public:
  explicit UpdatingScope(int& counter) : counter_(counter) { ++counter_; }
  ~UpdatingScope() { --counter_; }
  UpdatingScope(const UpdatingScope&) = delete;
  UpdatingScope& operator=(const UpdatingScope&) = delete;

 private:
  int& counter_;
};

class ControlHandle {
 public:
  // updating: the editor's update counter.
  ControlHandle(const VSetting* editor, int& updating);
  // Clears the handlers and destroys the control if it still exists.
  ~ControlHandle();
  ControlHandle(const ControlHandle&) = delete;
  ControlHandle& operator=(const ControlHandle&) = delete;

  ui::Control* control() const { return control_.get(); }

  // An event this editor handles on each control the handle takes (declare before taking one).
  void handle(ui::NotifyEvent ui::Control::*event, std::function<void()> run);
  void handle(ui::KeyPressEvent ui::Control::*event, std::function<void(char&)> run);

  // Takes another control (or none): the old one loses this editor's handlers and is left to its
  // window; the new one gets them.
  void reset(ui::Control* control);
  // Takes a control and shows it.
  void attach(ui::Control* control);
  // Leaves the control to its window, emptied by clear (while the counter is raised), disabled
  // and hidden. Nothing happens without a control.
  void detach(const std::function<void(ui::Control&)>& clear);
  // Destroys the control if it still exists.
  void destroy();

 private:
  struct Binding {
    ui::NotifyEvent ui::Control::*notify = nullptr;
    ui::KeyPressEvent ui::Control::*key = nullptr;
    std::function<void()> run;
    std::function<void(char&)> runKey;
  };
  void bind();
  void unbind();

  const VSetting* editor_;
  int& updating_;
  std::vector<Binding> bindings_;
  ui::Ref<ui::Control> control_;
};

template <class T>
class OwnedControl : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  T* get() const { return static_cast<T*>(control()); }
  T* operator->() const { return get(); }
  explicit operator bool() const { return control() != nullptr; }
  void detach(const std::function<void(T&)>& clear) {
    ControlHandle::detach([&](ui::Control& c) { clear(static_cast<T&>(c)); });
  }
};

// True while an editor holds the control (its handlers are installed there).
bool HeldByEditor(const ui::Control& control);

}  // namespace settings
