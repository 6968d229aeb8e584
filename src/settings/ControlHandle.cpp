#include "settings/ControlHandle.h"

#include <algorithm>
#include <utility>

namespace settings {

namespace {

// Handlers that remember which editor installed them.
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

}  // namespace

ControlHandle::ControlHandle(const VSetting* editor, int& updating)
    : editor_(editor), updating_(updating) {}

ControlHandle::~ControlHandle() {
  unbind();
  destroy();
}

void ControlHandle::handle(ui::NotifyEvent ui::Control::*event, std::function<void()> run) {
  bindings_.push_back({event, nullptr, std::move(run), nullptr});
}

void ControlHandle::handle(ui::KeyPressEvent ui::Control::*event, std::function<void(char&)> run) {
  bindings_.push_back({nullptr, event, nullptr, std::move(run)});
}

void ControlHandle::bind() {
  ui::Control* c = control();
  if (c == nullptr) return;
  for (const Binding& b : bindings_) {
    if (b.notify != nullptr)
      c->*b.notify = EditorEvent{editor_, b.run};
    else
      c->*b.key = EditorKeyEvent{editor_, b.runKey};
  }
}

void ControlHandle::unbind() {
  ui::Control* c = control();
  if (c == nullptr) return;
  for (const Binding& b : bindings_) {
    if (b.notify != nullptr) {
      const auto* handler = (c->*b.notify).target<EditorEvent>();
      if (handler != nullptr && handler->editor == editor_) c->*b.notify = nullptr;
    } else {
      const auto* handler = (c->*b.key).target<EditorKeyEvent>();
      if (handler != nullptr && handler->editor == editor_) c->*b.key = nullptr;
    }
  }
}

void ControlHandle::reset(ui::Control* control) {
  unbind();
  control_ = control;
  bind();
}

void ControlHandle::attach(ui::Control* control) {
  reset(control);
  if (control_) control_->SetVisible(true);
}

void ControlHandle::detach(const std::function<void(ui::Control&)>& clear) {
  if (!control_) return;
  unbind();
  {
    UpdatingScope scope(updating_);
    clear(*control_);
  }
  control_->SetEnabled(false);
  control_->SetVisible(false);
  control_ = nullptr;
}

void ControlHandle::destroy() {
  ui::Control* c = control();
  if (c == nullptr) return;
  control_ = nullptr;
  delete c;
}

bool HeldByEditor(const ui::Control& control) {
  for (const ui::NotifyEvent* event :
       {&control.OnChange, &control.OnClick, &control.OnEnter, &control.OnExit})
    if (event->target<EditorEvent>() != nullptr) return true;
  return control.OnKeyPress.target<EditorKeyEvent>() != nullptr;
}

}  // namespace settings
