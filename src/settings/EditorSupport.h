#pragma once
// What every editor needs around the control it is bound to:
//   - an update counter, raised while the editor itself writes to the control, so the change
//     events that writing raises are not taken for the user's;
//   - the control's lifetime: an editor owns its control and destroys it with itself, but the
//     control also belongs to its window, and whichever goes first, the other must not be left
//     with a dangling pointer;
//   - event handlers that can be recognised later, so rebinding clears only the handlers that
//     still point to this editor.

#include <functional>
#include <utility>

#include "ui/Control.h"

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

// A control held by an editor. A small watch component owned by the control tells the handle when
// the control is destroyed by somebody else (its window), so the handle never points to a freed
// control; destroying the handle destroys a control that still exists.
class ControlHandle {
 public:
  ControlHandle() = default;
  ~ControlHandle() { destroy(); }
  ControlHandle(const ControlHandle&) = delete;
  ControlHandle& operator=(const ControlHandle&) = delete;

  ui::Control* control() const { return control_; }
  // Holds another control; the old one is forgotten, not destroyed.
  void reset(ui::Control* control);
  // Destroys the control if it still exists.
  void destroy();

 private:
  class Watch;
  ui::Control* control_ = nullptr;
  Watch* watch_ = nullptr;
};

template <class T>
class OwnedControl {
 public:
  T* get() const { return static_cast<T*>(handle_.control()); }
  T* operator->() const { return get(); }
  explicit operator bool() const { return handle_.control() != nullptr; }
  void reset(T* control) { handle_.reset(control); }
  void destroy() { handle_.destroy(); }

 private:
  ControlHandle handle_;
};

// Event handlers that remember which editor installed them.
struct EditorEvent {
  const VSetting* editor;
  std::function<void()> run;
  void operator()(ui::Control& /*sender*/) const { run(); }
};

struct EditorKeyEvent {
  const VSetting* editor;
  std::function<void(char&)> run;
  void operator()(ui::Control& /*sender*/, char& key) const { run(key); }
};

inline void Bind(ui::NotifyEvent& event, const VSetting* editor, std::function<void()> run) {
  event = EditorEvent{editor, std::move(run)};
}

inline void Bind(ui::KeyPressEvent& event, const VSetting* editor, std::function<void(char&)> run) {
  event = EditorKeyEvent{editor, std::move(run)};
}

// Clears the handler only if it still is this editor's.
inline void Unbind(ui::NotifyEvent& event, const VSetting* editor) {
  const auto* handler = event.target<EditorEvent>();
  if (handler != nullptr && handler->editor == editor) event = nullptr;
}

inline void Unbind(ui::KeyPressEvent& event, const VSetting* editor) {
  const auto* handler = event.target<EditorKeyEvent>();
  if (handler != nullptr && handler->editor == editor) event = nullptr;
}

}  // namespace settings
