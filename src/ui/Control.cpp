#include "ui/Control.h"

#include <algorithm>
#include <cstring>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace ui {

std::string CText(const std::string& text) {
  const size_t zero = text.find('\0');
  return zero == std::string::npos ? text : text.substr(0, zero);
}

Control::Control(Component* owner, std::string name) : Component(owner, std::move(name)) {}

Control::~Control() {
  AnnounceEnd();
  // Children that belong to other owners lose their parent; the form forgets its focus.
  for (Control* child : std::vector<Control*>(children_)) child->SetParent(nullptr);
  if (Form* form = ParentForm(); form != nullptr && form != this) {
    if (form->active_ == this) form->active_ = nullptr;
  }
  SetParent(nullptr);
}

Form* Control::ParentForm() const {
  for (Control* c = parent_; c != nullptr; c = c->parent_) {
    if (auto* form = dynamic_cast<Form*>(c)) return form->ParentForm();
  }
  return nullptr;
}

void Control::SetParent(Control* parent) {
  if (parent == parent_) return;
  Control* old = parent_;
  if (old != nullptr) {
    NotifyRemoved();
    if (Form* form = ParentForm(); form != nullptr && form->active_ == this)
      form->active_ = nullptr;
    auto& siblings = old->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  parent_ = parent;
  if (parent_ != nullptr) {
    parent_->children_.push_back(this);
    NotifyAdded();
  }
  ParentChanged(old);
}

// The view that shows a form: its own, or, for a form docked into another window without a view
// of its own, the host's.
static FormView* ViewShowing(Form* form) {
  for (int depth = 0; form != nullptr && depth < 8; ++depth) {
    if (form->View() != nullptr) return form->View();
    Control* site = form->HostDockSite();
    form = site != nullptr ? site->ParentForm() : nullptr;
  }
  return nullptr;
}

// A control placed on a form is announced to the view of the form it now sits on; for a form
// docked into another window that is the host's view.
void Control::NotifyAdded() {
  Form* form = parent_ != nullptr ? parent_->ParentForm() : nullptr;
  if (FormView* view = ViewShowing(form)) view->ControlAdded(*this);
}

void Control::NotifyRemoved() {
  Form* form = parent_ != nullptr ? parent_->ParentForm() : nullptr;
  if (FormView* view = ViewShowing(form)) view->ControlRemoved(*this);
}

void Control::Notify(Prop what) {
  if (FormView* view = ViewShowing(ParentForm())) view->ControlChanged(*this, what);
}

void Control::SetTextRaw(const std::string& text) {
  text_ = CText(text);
  Notify(Prop::Text);
}

void Control::SetText(const std::string& text) {
  std::string value = CText(text);
  if (value == text_) return;
  text_ = std::move(value);
  Notify(Prop::Text);
  if (TextRaisesChange()) DoChange();
}

void Control::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  Notify(Prop::Hint);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify(Prop::Enabled);
}

bool Control::EffectivelyEnabled() const {
  for (const Control* c = this; c != nullptr; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (visible && parent_ == nullptr) {
    if (auto* form = dynamic_cast<Form*>(this); form != nullptr && form->View() == nullptr) {
      if (Application* app = App(); app != nullptr && app->OnFormNeedsView)
        app->OnFormNeedsView(*form);
    }
  }
  visible_ = visible;
  Notify(Prop::Visible);
}

bool Control::Showing() const {
  for (const Control* c = this; c != nullptr; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void Control::SetFontColor(Color color) {
  if (color == fontColor_) return;
  fontColor_ = color;
  Notify(Prop::FontColor);
}

void Control::SetBackColor(Color color) {
  if (color == color_) return;
  color_ = color;
  Notify(Prop::Color);
}

void Control::SetFontBold(bool bold) {
  if (bold == fontBold_) return;
  fontBold_ = bold;
  Notify(Prop::FontColor);
}

void Control::SetBounds(int left, int top, int width, int height) {
  Rect r{left, top, width, height};
  if (r == bounds_) return;
  bounds_ = r;
  Notify(Prop::Bounds);
}

bool Control::Focused() const {
  Form* form = ParentForm();
  return form != nullptr && form->ActiveControl() == this;
}

void Control::SetFocus() {
  if (Form* form = ParentForm()) form->SetActiveControl(this);
}

bool Control::UserFocus() {
  if (!CanFocus() || !UserCanAct()) return false;
  Form* form = ParentForm();
  if (form == nullptr) return false;
  UserScope scope(*this);
  const Ref<Form> window(form);
  form->SetActiveControl(this);
  return scope.Alive() && window && form->ActiveControl() == this;
}

void Control::UserKey(char key) {
  if (!UserCanAct()) return;
  UserScope scope(*this);
  uint16_t vk = 0;
  switch (key) {
    case '\r':
      vk = VK_RETURN;
      break;
    case 0x1B:
      vk = VK_ESCAPE;
      break;
    case '\b':
      vk = VK_BACK;
      break;
    case '\t':
      vk = VK_TAB;
      break;
    default:
      break;
  }
  if (vk != 0 && OnKeyDown) {
    OnKeyDown(*this, vk, ssNone);
    if (vk == 0 || !scope.Alive()) return;
  }
  if (vk != 0 && DialogKey(vk)) return;
  if (OnKeyPress) OnKeyPress(*this, key);
  if (key != 0 && scope.Alive()) ApplyKey(key);
}

bool Control::UserKeyPreview(char key) {
  if (!OnKeyPress || !UserCanAct()) return false;
  UserScope scope(*this);
  char handled = key;
  OnKeyPress(*this, handled);
  if (handled == key) return false;
  if (handled != 0 && scope.Alive()) ApplyKey(handled);
  return true;
}

bool Control::DialogKey(uint16_t key) {
  if (key != VK_RETURN && key != VK_ESCAPE) return false;
  if (key == VK_RETURN && dynamic_cast<Memo*>(this) != nullptr) return false;  // wants returns
  Form* form = ParentForm();
  if (form == nullptr) return false;
  std::vector<Control*> stack(form->Children().rbegin(), form->Children().rend());
  while (!stack.empty()) {
    Control* c = stack.back();
    stack.pop_back();
    if (auto* b = dynamic_cast<Button*>(c)) {
      const bool match = key == VK_RETURN ? b->IsDefault() : b->IsCancel();
      if (match && b->Showing() && b->EffectivelyEnabled()) {
        b->UserClick();
        return true;
      }
    }
    if (dynamic_cast<Form*>(c) == nullptr)
      stack.insert(stack.end(), c->Children().rbegin(), c->Children().rend());
  }
  return false;
}

void Control::UserKeyDown(uint16_t key, unsigned shift) {
  if (!UserCanAct()) return;
  UserScope scope(*this);
  if (OnKeyDown) OnKeyDown(*this, key, shift);
  if (key != 0 && scope.Alive()) ApplyKeyDown(key, shift);
}

void Control::UserClick() {
  if (!UserCanAct()) return;
  UserScope scope(*this);
  if (CanFocus()) UserFocus();
  if (scope.Alive()) DoClick();
}

void Control::DoChange() {
  if (OnChange) OnChange(*this);
}
void Control::DoClick() {
  if (OnClick) OnClick(*this);
}
void Control::DoEnter() {
  if (OnEnter) OnEnter(*this);
}
void Control::DoExit() {
  if (OnExit) OnExit(*this);
}

MenuItem* Control::PopupMenu() const {
  return dynamic_cast<MenuItem*>(popupMenu_.get());
}

void Control::SetPopupMenu(MenuItem* menu) {
  popupMenu_ = menu;
}

}  // namespace ui
