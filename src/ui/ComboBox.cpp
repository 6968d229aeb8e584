#include "ui/ComboBox.h"

namespace ui {

ComboBox::ComboBox(Component* owner, std::string name) : TextControl(owner, std::move(name)) {
  SetTabStop(true);
  SetBackColor(clWindow);
}

void ComboBox::SetStyle(ComboStyle style) {
  style_ = style;
  if (style_ == ComboStyle::DropDownList)
    SetTextRaw(itemIndex_ >= 0 ? items_[itemIndex_] : std::string());
  Notify(Prop::Other);
}

void ComboBox::SyncIndexToText() {
  const int index = IndexOf(Text());
  if (index != itemIndex_) {
    itemIndex_ = index;
    Notify(Prop::ItemIndex);
  }
}

void ComboBox::SetItemImages(std::vector<ItemImage> images) {
  if (images == itemImages_) return;
  itemImages_ = std::move(images);
  Notify(Prop::Items);
}

void ComboBox::SetItems(std::vector<std::string> items) {
  SetItems(std::move(items), {});
}

void ComboBox::SetItems(std::vector<std::string> items, std::vector<std::string> descriptions) {
  for (auto& item : items) item = CText(item);
  descriptions.resize(items.size());
  for (auto& description : descriptions) description = CText(description);
  items_ = std::move(items);
  itemDescriptions_ = std::move(descriptions);
  Notify(Prop::Items);
  if (style_ == ComboStyle::DropDownList) {
    if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
    SetTextRaw(itemIndex_ >= 0 ? items_[itemIndex_] : std::string());
    Notify(Prop::ItemIndex);
  } else {
    SyncIndexToText();
  }
}

void ComboBox::AddItem(const std::string& item) {
  items_.push_back(CText(item));
  itemDescriptions_.emplace_back();
  Notify(Prop::Items);
}

void ComboBox::ClearItems() {
  items_.clear();
  itemDescriptions_.clear();
  itemIndex_ = -1;
  if (style_ == ComboStyle::DropDownList) SetTextRaw("");
  Notify(Prop::Items);
  Notify(Prop::ItemIndex);
}

int ComboBox::IndexOf(const std::string& item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i] == item) return static_cast<int>(i);
  return -1;
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  itemIndex_ = index;
  if (index >= 0)
    SetTextRaw(items_[index]);
  else if (style_ == ComboStyle::DropDownList)
    SetTextRaw("");
  Notify(Prop::ItemIndex);
}

void ComboBox::SetComboText(const std::string& text) {
  if (style_ == ComboStyle::DropDownList) {
    SetItemIndex(IndexOf(CText(text)));
    return;
  }
  SetTextRaw(text);
  SyncIndexToText();
}

void ComboBox::UserDropDown() {
  if (!UserCanAct()) return;
  UserScope scope(*this);
  if (OnDropDown) OnDropDown(*this);
}

void ComboBox::UserSelect(int index) {
  if (!UserCanAct() || index < 0 || index >= static_cast<int>(items_.size())) return;
  UserScope scope(*this);
  UserFocus();
  itemIndex_ = index;
  SetTextRaw(items_[index]);
  Notify(Prop::ItemIndex);
  DoClick();
  if (OnSelect)
    OnSelect(*this);
  else
    DoChange();
}

void ComboBox::UserReplace(const std::string& text) {
  if (!UserCanAct()) return;
  UserFocus();
  if (style_ == ComboStyle::DropDownList) {
    const int index = IndexOf(text);
    if (index >= 0) UserSelect(index);
    return;
  }
  // Select-all then type: the first key replaces the whole text, so the clearing is not an
  // event of its own.
  UserScope scope(*this);
  const bool hadText = !Text().empty();
  SetTextRaw("");
  if (text.empty()) {
    SyncIndexToText();
    if (hadText) DoChange();
    return;
  }
  for (char c : text) UserKey(c);
}

}  // namespace ui
