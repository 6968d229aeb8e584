#include "ui/Menu.h"

#include <algorithm>

#include "ui/Form.h"

namespace ui {

MenuItem::MenuItem(Component* owner, std::string name, MenuItem* parentItem)
    : Component(owner, std::move(name)) {
  if (parentItem != nullptr) SetParentItem(parentItem);
}

MenuItem::~MenuItem() {
  for (MenuItem* child : items_) child->parentItem_ = nullptr;
  items_.clear();
  if (parentItem_ != nullptr) {
    auto& siblings = parentItem_->items_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void MenuItem::SetParentItem(MenuItem* parent, int index) {
  if (parentItem_ != nullptr) {
    auto& siblings = parentItem_->items_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  parentItem_ = parent;
  if (parentItem_ != nullptr) {
    auto& siblings = parentItem_->items_;
    if (index < 0 || index > static_cast<int>(siblings.size()))
      siblings.push_back(this);
    else
      siblings.insert(siblings.begin() + index, this);
  }
  Changed(Prop::PageOrder);
}

int MenuItem::MenuIndex() const {
  if (parentItem_ == nullptr) return -1;
  const auto& siblings = parentItem_->items_;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

void MenuItem::Changed(Prop what) {
  for (Component* c = Owner(); c != nullptr; c = c->Owner()) {
    if (auto* form = dynamic_cast<Form*>(c)) {
      if (form->View() != nullptr) form->View()->ComponentChanged(*this, what);
      return;
    }
  }
}

void MenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = CText(caption);
  Changed(Prop::Text);
}

void MenuItem::SetHint(const std::string& hint) {
  hint_ = hint;
  Changed(Prop::Hint);
}

void MenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Prop::Enabled);
}

void MenuItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(Prop::Visible);
}

void MenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Prop::State);
}

void MenuItem::SetRightJustify(bool right) {
  if (right == rightJustify_) return;
  rightJustify_ = right;
  Changed(Prop::Other);
}

void MenuItem::SetShortCut(const std::string& keys) {
  if (keys == shortCut_) return;
  shortCut_ = keys;
  Changed(Prop::Text);
}

void MenuItem::UserClick() {
  for (const MenuItem* m = this; m != nullptr; m = m->parentItem_)
    if (!m->enabled_ || !m->visible_) return;
  if (!items_.empty()) return;  // opening a sub-menu is not a command
  if (OnClick) OnClick(*this);
}

}  // namespace ui
