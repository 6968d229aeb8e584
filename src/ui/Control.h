#pragma once
// The control model. A control holds all the state a user sees and implements the behaviour
// users see (maximum length, check-box cycling, radio exclusivity, enabling); toolkit views
// only mirror it. Two kinds of calls change a control:
//   - code calls (SetText, SetState, ...) raise events where the platform's toolkit raises them;
//   - "user did" calls (UserType, UserClick, ...) do what a person's action does, raise the same
//     events and mark them as user actions (InUserAction()), so handlers and tests can tell the
//     two apart.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Ref.h"
#include "ui/Types.h"

namespace ui {

class Form;
class Control;
class MenuItem;

using NotifyEvent = std::function<void(Control& sender)>;
using KeyPressEvent = std::function<void(Control& sender, char& key)>;
using KeyDownEvent = std::function<void(Control& sender, uint16_t& key, unsigned shift)>;

// Receives every change of the controls of one form (installed by a toolkit view).
class FormView {
 public:
  virtual ~FormView() = default;
  virtual void ControlAdded(Control& control) = 0;
  virtual void ControlRemoved(Control& control) = 0;
  virtual void ControlChanged(Control& control, Prop what) = 0;
  // A component that is not a control (menu item) changed.
  virtual void ComponentChanged(Component& component, Prop what) { (void)component, (void)what; }
};

class Control : public Component {
 public:
  Control(Component* owner, std::string name = {});
  ~Control() override;
  const char* ClassName() const override { return "TControl"; }

  // Parent (the control this one sits on) and children in creation order.
  Control* Parent() const { return parent_; }
  void SetParent(Control* parent);
  const std::vector<Control*>& Children() const { return children_; }
  // The form this control sits on (itself for a form), or null when not placed.
  virtual Form* ParentForm() const;

  // Text is the caption of labels, buttons, check boxes, group boxes and forms, and the
  // contents of edits. Controls hold C-style text: it ends at the first 0 byte.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& caption) { SetText(caption); }

  // The context menu (a popup root item, see MenuItem::SetPopup); null: none.
  MenuItem* PopupMenu() const;
  void SetPopupMenu(MenuItem* menu);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled here and on every parent up to the form.
  bool EffectivelyEnabled() const;
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Showing() const;

  Color FontColor() const { return fontColor_; }
  void SetFontColor(Color color);
  Color BackColor() const { return color_; }
  void SetBackColor(Color color);
  bool FontBold() const { return fontBold_; }
  void SetFontBold(bool bold);
  int FontCharset() const { return fontCharset_; }
  void SetFontCharset(int charset) { fontCharset_ = charset; }

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  const Rect& Bounds() const { return bounds_; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, bounds_.top, bounds_.width, bounds_.height); }
  void SetTop(int v) { SetBounds(bounds_.left, v, bounds_.width, bounds_.height); }
  void SetWidth(int v) { SetBounds(bounds_.left, bounds_.top, v, bounds_.height); }
  void SetHeight(int v) { SetBounds(bounds_.left, bounds_.top, bounds_.width, v); }

  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  // Tab order is the order of creation among the parent's children; TabStop controls only.
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool stop) { tabStop_ = stop; }
  virtual bool CanFocus() const { return false; }
  bool Focused() const;
  // Gives this control the focus in its form (raises OnExit of the old one and OnEnter).
  void SetFocus();

  // Events.
  NotifyEvent OnChange;
  NotifyEvent OnClick;
  NotifyEvent OnEnter;
  NotifyEvent OnExit;
  KeyPressEvent OnKeyPress;
  KeyDownEvent OnKeyDown;

  // True while an event raised by a "user did" call runs.
  bool InUserAction() const { return userDepth_ > 0; }

  // "User did": focus moves here (by mouse or Tab). False when the control cannot take it.
  bool UserFocus();
  // "User did": a key with a character (Enter '\r', Escape 0x1B, Backspace 8 included) while
  // this control has the focus. The key-down and key-press handlers may replace or discard it.
  void UserKey(char key);
  // "User did", as a view reports a key its widget would otherwise edit with: the character is
  // offered to the key-press handlers only. True when they took it (discarded it, or replaced it,
  // in which case the replacement is applied as UserKey applies a key); false when they let it
  // pass unchanged, and the widget's own editing goes on.
  bool UserKeyPreview(char key);
  // "User did": a key without a character (arrows, Delete) while this control has the focus.
  void UserKeyDown(uint16_t key, unsigned shift = ssNone);
  // "User did": a mouse click. Disabled or hidden controls ignore it.
  virtual void UserClick();

  // Raise events (used by the controls themselves and by views).
  void DoChange();
  void DoClick();
  void DoEnter();
  void DoExit();

 protected:
  // Characters that get past the key handlers.
  virtual void ApplyKey(char key) { (void)key; }
  virtual void ApplyKeyDown(uint16_t key, unsigned shift) { (void)key, (void)shift; }
  // Text after a change; subclasses decide whether it raises OnChange.
  virtual bool TextRaisesChange() const { return false; }
  void SetTextRaw(const std::string& text);
  void Notify(Prop what);
  // Called after the parent changed (old parent given).
  virtual void ParentChanged(Control* oldParent) { (void)oldParent; }
  bool UserCanAct() const { return EffectivelyEnabled() && Showing(); }

  // Marks a user action for the events it raises. A handler may destroy the control itself
  // (a button that closes and frees its window): the scope then leaves it alone.
  struct UserScope {
    explicit UserScope(Control& c) : self_(&c) { ++c.userDepth_; }
    ~UserScope() {
      if (self_) --self_->userDepth_;
    }
    UserScope(const UserScope&) = delete;
    UserScope& operator=(const UserScope&) = delete;
    bool Alive() const { return static_cast<bool>(self_); }
    Ref<Control> self_;
  };
  // Enter and Escape click the form's default and cancel buttons, as in dialogs.
  bool DialogKey(uint16_t key);

 private:
  void NotifyAdded();
  void NotifyRemoved();

  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  std::string text_;
  std::string hint_;
  Ref<Component> popupMenu_;
  bool showHint_ = true;
  bool enabled_ = true;
  bool visible_ = true;
  Color fontColor_ = clWindowText;
  Color color_ = clBtnFace;
  bool fontBold_ = false;
  int fontCharset_ = 1;
  Rect bounds_{};
  int tag_ = 0;
  bool tabStop_ = false;
  int userDepth_ = 0;
};

// Text up to the first 0 byte.
std::string CText(const std::string& text);

}  // namespace ui
