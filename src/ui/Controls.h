#pragma once
// The kinds of controls the program's windows use.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

class Label : public Control {
 public:
  using Control::Control;
  const char* ClassName() const override { return "TLabel"; }
};

// Single-line edit; the base of the memo. Setting the text in code raises OnChange when it
// differs; the maximum length limits typing only, as in the platform's edits.
class Edit : public Control {
 public:
  Edit(Component* owner, std::string name = {});
  const char* ClassName() const override { return "TEdit"; }
  bool CanFocus() const override { return true; }

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);

  // Caret and selection, counted in bytes from 0.
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void SetSelStart(int start);
  void SetSelLength(int length);
  void SelectAll();
  std::string SelText() const;

  // "User did": types the characters one by one, each through the key handlers.
  void UserType(const std::string& text);
  // "User did": selects everything and types the text (what a person does to replace a field).
  void UserReplace(const std::string& text);
  // "User did": the whole text edited at once, as a view reports an edit (one change event);
  // the maximum length applies.
  void UserSetText(const std::string& text);

 protected:
  bool TextRaisesChange() const override { return true; }
  void ApplyKey(char key) override;
  void ApplyKeyDown(uint16_t key, unsigned shift) override;
  virtual bool MultiLine() const { return false; }
  void ReplaceSelection(const std::string& with);
  void ClampSelection();

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  int selStart_ = 0;
  int selLength_ = 0;
};

// Multi-line edit; its text is its lines joined with CR LF.
class Memo : public Edit {
 public:
  using Edit::Edit;
  const char* ClassName() const override { return "TMemo"; }
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  int LineCount() const;

 protected:
  bool MultiLine() const override { return true; }
};

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

class ComboBox : public Control {
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
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);

  // Caret and selection of the edit part, counted in bytes from 0 and kept inside the text
  // whatever it changes to; typing leaves the caret at the end.
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int start);
  void SetSelLength(int length);
  void SelectAll();
  std::string SelText() const;

  NotifyEvent OnSelect;
  // The list is about to drop down: the handler may fill it afresh.
  NotifyEvent OnDropDown;

  // "User did": opens the list (OnDropDown); the view shows the items as they are afterwards.
  void UserDropDown();
  // "User did": picks entry index from the list (OnClick, then OnSelect if set, else OnChange).
  void UserSelect(int index);
  // "User did": replaces the text of an editable box by typing it, key by key.
  void UserReplace(const std::string& text);
  // "User did": the edit part changed to text at once (one OnChange), as a view reports it.
  void UserSetText(const std::string& text);

 protected:
  void ApplyKey(char key) override;

 private:
  void SyncIndexToText();

  ComboStyle style_ = ComboStyle::DropDown;
  std::vector<std::string> items_;
  std::vector<std::string> itemDescriptions_;
  std::vector<ItemImage> itemImages_;
  int itemIndex_ = -1;
  int maxLength_ = 0;
  int selStart_ = 0;
  int selLength_ = 0;
};

enum class CheckState { Unchecked, Checked, Grayed };

class CheckBox : public Control {
 public:
  CheckBox(Component* owner, std::string name = {});
  const char* ClassName() const override { return "TCheckBox"; }
  bool CanFocus() const override { return true; }

  CheckState State() const { return state_; }
  // In code: a change raises OnClick unless clicks are disabled (as the toolkit does).
  void SetState(CheckState state);
  bool Checked() const { return state_ == CheckState::Checked; }
  void SetChecked(bool checked) { SetState(checked ? CheckState::Checked : CheckState::Unchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool allow) { allowGrayed_ = allow; }
  // While set, code changes of the state raise no OnClick.
  bool ClicksDisabled() const { return clicksDisabled_; }
  void SetClicksDisabled(bool disabled) { clicksDisabled_ = disabled; }

  // "User did": a click cycles unchecked -> (greyed, when allowed) -> checked -> unchecked.
  void UserClick() override;

 protected:
  void ApplyKey(char key) override;

 private:
  CheckState state_ = CheckState::Unchecked;
  bool allowGrayed_ = false;
  bool clicksDisabled_ = false;
};

// Radio buttons on the same parent exclude each other.
class RadioButton : public Control {
 public:
  RadioButton(Component* owner, std::string name = {});
  const char* ClassName() const override { return "TRadioButton"; }
  bool CanFocus() const override { return true; }
  bool Checked() const { return checked_; }
  // Checking in code unchecks the siblings and raises OnClick; unchecking raises nothing.
  void SetChecked(bool checked);
  void UserClick() override;

 private:
  bool checked_ = false;
};

// A group of radio buttons given as a list of captions.
class RadioGroup : public Control {
 public:
  RadioGroup(Component* owner, std::string name = {});
  const char* ClassName() const override { return "TRadioGroup"; }
  bool CanFocus() const override { return true; }
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  int ItemIndex() const { return itemIndex_; }
  // In code or by the user: a change raises OnClick (as the toolkit does).
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int columns) { columns_ = columns; }
  void UserSelect(int index);

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  int columns_ = 1;
};

class GroupBox : public Control {
 public:
  using Control::Control;
  const char* ClassName() const override { return "TGroupBox"; }
};

class Panel : public Control {
 public:
  using Control::Control;
  const char* ClassName() const override { return "TPanel"; }
};

class Button : public Control {
 public:
  Button(Component* owner, std::string name = {});
  const char* ClassName() const override { return "TButton"; }
  bool CanFocus() const override { return true; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool IsDefault() const { return default_; }
  void SetDefault(bool isDefault) { default_ = isDefault; }
  bool IsCancel() const { return cancel_; }
  void SetCancel(bool isCancel) { cancel_ = isCancel; }
  // A click raises OnClick, then hands a modal result to the form.
  void UserClick() override;

 private:
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

enum class ShapeType { Rectangle, Square, RoundRect, RoundSquare, Ellipse, Circle };

class Shape : public Control {
 public:
  using Control::Control;
  const char* ClassName() const override { return "TShape"; }
  Color BrushColor() const { return brush_; }
  void SetBrushColor(Color color);
  ShapeType Type() const { return type_; }
  void SetType(ShapeType type);

 private:
  Color brush_ = clWhite;
  ShapeType type_ = ShapeType::Rectangle;
};

// Progress gauge: a maximum, a position and the maximum shown as text.
class Gauge : public Control {
 public:
  using Control::Control;
  const char* ClassName() const override { return "TGauge"; }
  int MaxValue() const { return max_; }
  void SetMaxValue(int max);
  int Progress() const { return progress_; }
  void SetProgress(int progress);
  int ShownMax() const { return shownMax_; }
  void SetShownMax(int shownMax);
  // Per cent of the maximum, 0..100.
  int PercentDone() const;

 private:
  int max_ = 100;
  int progress_ = 0;
  int shownMax_ = 0;
};

class TabSheet;

class PageControl : public Control {
 public:
  using Control::Control;
  const char* ClassName() const override { return "TPageControl"; }
  // The tab sheets placed on this control, in page order.
  std::vector<TabSheet*> Pages() const;
  int PageCount() const;
  TabSheet* ActivePage() const { return active_; }
  void SetActivePage(TabSheet* page);
  int ActivePageIndex() const;
  // Moves a sheet to a new position in page order.
  void MovePage(TabSheet* page, int newIndex);
  // "User did": picks a tab (OnChange after the switch).
  void UserSelectPage(TabSheet* page);

 private:
  friend class TabSheet;
  void PageAdded(TabSheet* page);
  void PageRemoved(TabSheet* page);
  std::vector<TabSheet*> order_;
  TabSheet* active_ = nullptr;
};

class TabSheet : public Control {
 public:
  using Control::Control;
  ~TabSheet() override;
  const char* ClassName() const override { return "TTabSheet"; }
  PageControl* PageControlOf() const { return dynamic_cast<PageControl*>(Parent()); }
  void SetPageControl(PageControl* pages);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);
  int PageIndex() const;
  void SetPageIndex(int index);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index) { imageIndex_ = index; }

 protected:
  void ParentChanged(Control* oldParent) override;

 private:
  bool tabVisible_ = true;
  int imageIndex_ = -1;
};

}  // namespace ui
