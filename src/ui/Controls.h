#pragma once
// The kinds of controls the program's windows use.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/ComboBox.h"
#include "ui/Control.h"
#include "ui/Edit.h"

namespace ui {

class Label : public Control {
 public:
  using Control::Control;
  const char* ClassName() const override { return "TLabel"; }
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
