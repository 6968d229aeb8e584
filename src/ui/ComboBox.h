#pragma once
// The combo box: an edit part with a list to pick from, or a list only.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/TextControl.h"

namespace ui {

enum class ComboStyle { DropDown, DropDownList };

// A small picture drawn before a list entry (a language's flag): pixels row by row from the top,
// each 0xAARRGGBB. Empty: no picture.
struct ItemImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
  bool Empty() const { return width <= 0 || height <= 0; }
  bool operator==(const ItemImage&) const = default;
};

// The edit part of an editable box is a text field with the edit's rules (caret, selection,
// maximum length, typing and the editing keys); a drop-down list takes no keys and no text.
class ComboBox : public TextControl {
 public:
  ComboBox(Component* owner, std::string name = {});
  const char* ClassName() const override { return "TComboBox"; }
  bool CanFocus() const override { return true; }

  ComboStyle Style() const { return style_; }
  void SetStyle(ComboStyle style);
  const std::vector<std::string>& Items() const { return items_; }
  // Replaces the list; the text of an editable box stays, the index follows the text.
  void SetItems(std::vector<std::string> items);
  // The same with a description per entry (the port box's adapter names): the drop-down shows
  // it beside the entry, while choosing the entry still puts only the entry into the box.
  // Missing descriptions are empty, surplus ones are dropped.
  void SetItems(std::vector<std::string> items, std::vector<std::string> descriptions);
  // One per entry, always as many as there are entries.
  const std::vector<std::string>& ItemDescriptions() const { return itemDescriptions_; }
  void AddItem(const std::string& item);
  void ClearItems();
  // Pictures of the entries, by index; entries beyond them have none.
  const std::vector<ItemImage>& ItemImages() const { return itemImages_; }
  void SetItemImages(std::vector<ItemImage> images);
  int IndexOf(const std::string& item) const;
  int ItemIndex() const { return itemIndex_; }
  // Selects an entry in code (no OnChange, as in the toolkit); -1 clears the selection.
  void SetItemIndex(int index);
  // Text in code: an editable box shows it (no OnChange); a list box selects the equal entry.
  void SetComboText(const std::string& text);

  NotifyEvent OnSelect;
  // The list is about to drop down: the handler may fill it afresh.
  NotifyEvent OnDropDown;

  // "User did": opens the list (OnDropDown); the view shows the items as they are afterwards.
  void UserDropDown();
  // "User did": picks entry index from the list (OnClick, then OnSelect if set, else OnChange).
  void UserSelect(int index);
  // "User did": replaces the text of an editable box by typing it, key by key.
  void UserReplace(const std::string& text);

 protected:
  bool Editable() const override { return style_ != ComboStyle::DropDownList; }
  // The entry that equals the edited text is selected before OnChange.
  void TextEdited() override { SyncIndexToText(); }

 private:
  void SyncIndexToText();

  ComboStyle style_ = ComboStyle::DropDown;
  std::vector<std::string> items_;
  std::vector<std::string> itemDescriptions_;
  std::vector<ItemImage> itemImages_;
  int itemIndex_ = -1;
};

}  // namespace ui
