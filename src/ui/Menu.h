#pragma once
// Menu items: a tree below the form's menu bar. Items are components owned by the form; their
// parent item (or none for the bar) gives the tree.

#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Control.h"

namespace ui {

class MenuItem : public Component {
 public:
  MenuItem(Component* owner, std::string name = {}, MenuItem* parentItem = nullptr);
  ~MenuItem() override;
  const char* ClassName() const override { return "TMenuItem"; }

  MenuItem* ParentItem() const { return parentItem_; }
  const std::vector<MenuItem*>& Items() const { return items_; }
  // Moves the item under another parent item (null: the menu bar) at position index (-1: end).
  void SetParentItem(MenuItem* parent, int index = -1);
  int MenuIndex() const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool RightJustify() const { return rightJustify_; }
  void SetRightJustify(bool right);
  bool IsSeparator() const { return caption_ == "-"; }
  // A root item that is a control's context menu (its items are the commands): never part of
  // the menu bar.
  bool Popup() const { return popup_; }
  void SetPopup(bool popup) { popup_ = popup; }
  // The key that picks the item from anywhere in its window, as text ("Ctrl+O"); empty: none.
  const std::string& ShortCut() const { return shortCut_; }
  void SetShortCut(const std::string& keys);

  std::function<void(MenuItem&)> OnClick;
  // "User did": picks the item (only when it and its parents are enabled and visible).
  void UserClick();

 private:
  void Changed(Prop what);
  MenuItem* parentItem_ = nullptr;
  std::vector<MenuItem*> items_;
  std::string caption_;
  std::string hint_;
  std::string shortCut_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  bool rightJustify_ = false;
  bool popup_ = false;
};

}  // namespace ui
