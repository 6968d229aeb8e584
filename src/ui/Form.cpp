#include "ui/Form.h"

#include <algorithm>

#include "ui/EventLoop.h"
#include "ui/Menu.h"

namespace ui {

static Application* g_app = nullptr;

Application* App() {
  return g_app;
}

// ---- Form ----

Form::Form(Component* owner, std::string name) : Control(owner, std::move(name)) {
  SetVisible(false);
  if (g_app != nullptr) {
    if (owner == g_app && g_app->MainForm() == nullptr) g_app->SetMainForm(this);
    if (g_app->OnFormCreated) g_app->OnFormCreated(*this);
  }
}

Form::~Form() {
  if (g_app != nullptr) {
    g_app->GetDesktop().Remove(this);
    if (g_app->MainForm() == this) g_app->SetMainForm(nullptr);
  }
  active_ = nullptr;
}

Form* Form::ParentForm() const {
  return const_cast<Form*>(this);
}

void Form::SetState(WindowState state) {
  if (state == state_) return;
  state_ = state;
  if (state_ == WindowState::Normal) {
    Control::SetBounds(normal_.left, normal_.top, normal_.width, normal_.height);
  } else if (state_ == WindowState::Maximized && g_app != nullptr) {
    const Rect area = g_app->GetDesktop().WorkArea();
    Control::SetBounds(area.left, area.top, area.width, area.height);
  }
  Notify(Prop::WindowState);
}

void Form::SetBounds(int left, int top, int width, int height) {
  int w = width, h = height;
  if (OnCanResize && (w != Width() || h != Height())) {
    bool resize = true;
    OnCanResize(*this, w, h, resize);
    if (!resize) {
      w = Width();
      h = Height();
    }
  }
  if (state_ == WindowState::Normal) normal_ = Rect{left, top, w, h};
  if (dockSite_ == nullptr) {
    undockWidth_ = w;
    undockHeight_ = h;
  }
  Control::SetBounds(left, top, w, h);
}

void Form::SetNormalBounds(const Rect& r) {
  normal_ = r;
  if (state_ == WindowState::Normal) Control::SetBounds(r.left, r.top, r.width, r.height);
  if (dockSite_ == nullptr) {
    undockWidth_ = r.width;
    undockHeight_ = r.height;
  }
}

void Form::Show() {
  HandleNeeded();
  const bool was = Visible();
  if (!was && dockSite_ == nullptr && state_ == WindowState::Normal) PlaceByPosition();
  SetVisible(true);
  BringToFront();
  if (!was && OnShow) OnShow(*this);
}

void Form::PlaceByPosition() {
  if (position_ == FormPosition::Designed || g_app == nullptr) return;
  Rect over = g_app->GetDesktop().WorkArea();
  const Form* main = g_app->MainForm();
  if (position_ == FormPosition::MainFormCenter && main != nullptr && main != this &&
      main->Visible() && main->State() == WindowState::Normal)
    over = main->Bounds();
  SetBounds(over.left + (over.width - Width()) / 2, over.top + (over.height - Height()) / 2,
            Width(), Height());
}

int Form::ClientWidth() const {
  return dockSite_ != nullptr ? Width() : std::max(0, Width() - kFrameWidth);
}

int Form::ClientHeight() const {
  if (dockSite_ != nullptr) return Height();
  return std::max(0, Height() - kFrameHeight - (MenuBar().empty() ? 0 : kMenuHeight));
}

void Form::Hide() {
  if (!Visible()) return;
  SetVisible(false);
  if (OnHide) OnHide(*this);
}

int Form::ShowModal() {
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  const int result = Loop().ShowModal(*this);
  modal_ = false;
  // Ending a modal window closes it: its close handler runs as for any close.
  CloseAction action = CloseAction::Hide;
  if (OnClose) OnClose(*this, action);
  Hide();
  return result;
}

void Form::SetModalResult(int result) {
  modalResult_ = result;
}

void Form::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  if (!canClose) return;
  const bool isMain = g_app != nullptr && g_app->MainForm() == this;
  CloseAction action = isMain ? CloseAction::Free : CloseAction::Hide;
  if (OnClose) OnClose(*this, action);
  switch (action) {
    case CloseAction::None:
      break;
    case CloseAction::Hide:
      Hide();
      break;
    case CloseAction::Minimize:
      SetState(WindowState::Minimized);
      break;
    case CloseAction::Free:
      freeRequested_ = true;
      Hide();
      if (isMain) g_app->Terminate();
      break;
  }
}

void Form::BringToFront() {
  if (handle_ && g_app != nullptr && dockSite_ == nullptr) g_app->GetDesktop().Raise(this);
}

void Form::HandleNeeded() {
  if (handle_) return;
  handle_ = true;
  BringToFront();
}

void Form::ManualDock(Control* site) {
  if (site == nullptr || site == dockSite_) return;
  if (dockSite_ == nullptr) {
    undockWidth_ = Width();
    undockHeight_ = Height();
    if (g_app != nullptr) g_app->GetDesktop().Remove(this);
  }
  dockSite_ = site;
  SetParent(site);
}

void Form::ManualFloat(const Rect& bounds) {
  dockSite_ = nullptr;
  SetParent(nullptr);
  SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
  if (handle_ && Visible()) BringToFront();
}

void Form::SetUndockSize(int width, int height) {
  undockWidth_ = width;
  undockHeight_ = height;
}

void Form::SetActiveControl(Control* control) {
  if (control == active_) return;
  Control* old = active_;
  active_ = control;
  // The exit and enter handlers may free this window (and the controls on it).
  const Ref<Form> self(this);
  const Ref<Control> entering(control);
  if (old != nullptr) old->DoExit();
  // The exit handler may have moved the focus on; then that decision stands.
  if (!self || active_ != control || entering.get() != control) return;
  if (control != nullptr) control->DoEnter();
  if (self) Notify(Prop::Focus);
}

static void CollectTabOrder(const Control& parent, std::vector<Control*>& out) {
  for (Control* c : parent.Children()) {
    if (dynamic_cast<Form*>(c) != nullptr) continue;
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->CanFocus() && c->TabStop()) out.push_back(c);
    CollectTabOrder(*c, out);
  }
}

std::vector<Control*> Form::TabOrder() const {
  std::vector<Control*> out;
  CollectTabOrder(*this, out);
  return out;
}

void Form::UserFocusNext(bool backwards) {
  const auto order = TabOrder();
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), active_);
  size_t index;
  if (it == order.end()) {
    index = backwards ? order.size() - 1 : 0;
  } else {
    const size_t pos = static_cast<size_t>(it - order.begin());
    index = backwards ? (pos + order.size() - 1) % order.size() : (pos + 1) % order.size();
  }
  order[index]->UserFocus();
}

bool Form::UserShortCut(const std::string& keys) {
  if (keys.empty()) return false;
  for (Component* c : Components()) {
    auto* item = dynamic_cast<MenuItem*>(c);
    if (item != nullptr && item->ShortCut() == keys) {
      item->UserClick();
      return true;
    }
  }
  return false;
}

std::vector<MenuItem*> Form::MenuBar() const {
  std::vector<MenuItem*> bar;
  for (Component* c : Components()) {
    auto* item = dynamic_cast<MenuItem*>(c);
    if (item != nullptr && item->ParentItem() == nullptr && !item->Popup()) bar.push_back(item);
  }
  return bar;
}

// ---- Desktop ----

void Desktop::Raise(Form* form) {
  Remove(form);
  zorder_.insert(zorder_.begin(), form);
}

void Desktop::Remove(Form* form) {
  zorder_.erase(std::remove(zorder_.begin(), zorder_.end(), form), zorder_.end());
}

// ---- Application ----

void AppGlobal::Set(Application* app) {
  g_app = app;
}

Application::Application() : Component(nullptr, "Application") {}

Application::~Application() {
  // Forms go first, while the application is still reachable for their destructors.
  while (!Components().empty()) delete Components().back();
}

std::vector<Form*> Application::Forms() const {
  std::vector<Form*> forms;
  for (Component* c : Components())
    if (auto* form = dynamic_cast<Form*>(c)) forms.push_back(form);
  return forms;
}

}  // namespace ui
