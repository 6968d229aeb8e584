#include "ui/Controls.h"

#include <algorithm>

#include "ui/Form.h"

namespace ui {

// ---- CheckBox ----

CheckBox::CheckBox(Component* owner, std::string name) : Control(owner, std::move(name)) {
  SetTabStop(true);
}

void CheckBox::SetState(CheckState state) {
  if (state == state_) return;
  state_ = state;
  Notify(Prop::State);
  if (!clicksDisabled_) DoClick();
}

void CheckBox::UserClick() {
  if (!UserCanAct()) return;
  UserScope scope(*this);
  UserFocus();
  switch (state_) {
    case CheckState::Unchecked:
      state_ = allowGrayed_ ? CheckState::Grayed : CheckState::Checked;
      break;
    case CheckState::Checked:
      state_ = CheckState::Unchecked;
      break;
    case CheckState::Grayed:
      state_ = CheckState::Checked;
      break;
  }
  Notify(Prop::State);
  DoClick();
}

void CheckBox::ApplyKey(char key) {
  if (key == ' ') UserClick();
}

// ---- RadioButton ----

RadioButton::RadioButton(Component* owner, std::string name) : Control(owner, std::move(name)) {
  SetTabStop(true);
}

void RadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Notify(Prop::State);
  if (!checked) return;
  if (Parent() != nullptr) {
    for (Control* sibling : Parent()->Children()) {
      auto* other = dynamic_cast<RadioButton*>(sibling);
      if (other != nullptr && other != this && other->checked_) {
        other->checked_ = false;
        other->Notify(Prop::State);
      }
    }
  }
  DoClick();
}

void RadioButton::UserClick() {
  if (!UserCanAct()) return;
  UserScope scope(*this);
  UserFocus();
  SetChecked(true);
}

// ---- RadioGroup ----

RadioGroup::RadioGroup(Component* owner, std::string name) : Control(owner, std::move(name)) {
  SetTabStop(true);
}

void RadioGroup::SetItems(std::vector<std::string> items) {
  for (auto& item : items) item = CText(item);
  items_ = std::move(items);
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
  Notify(Prop::Items);
}

void RadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Notify(Prop::ItemIndex);
  DoClick();
}

void RadioGroup::UserSelect(int index) {
  if (!UserCanAct() || index < 0 || index >= static_cast<int>(items_.size())) return;
  UserScope scope(*this);
  UserFocus();
  SetItemIndex(index);
}

// ---- Button ----

Button::Button(Component* owner, std::string name) : Control(owner, std::move(name)) {
  SetTabStop(true);
}

void Button::UserClick() {
  if (!UserCanAct()) return;
  UserScope scope(*this);
  UserFocus();
  DoClick();
  if (!scope.Alive()) return;
  if (modalResult_ != 0) {
    if (Form* form = ParentForm()) form->SetModalResult(modalResult_);
  }
}

// ---- Shape, Gauge ----

void Shape::SetBrushColor(Color color) {
  if (color == brush_) return;
  brush_ = color;
  Notify(Prop::Color);
}

void Shape::SetType(ShapeType type) {
  type_ = type;
  Notify(Prop::Other);
}

void Gauge::SetMaxValue(int max) {
  max_ = max;
  Notify(Prop::Range);
}
void Gauge::SetProgress(int progress) {
  if (progress == progress_) return;
  progress_ = progress;
  Notify(Prop::Range);
}
void Gauge::SetShownMax(int shownMax) {
  shownMax_ = shownMax;
  Notify(Prop::Range);
}
int Gauge::PercentDone() const {
  if (max_ <= 0) return 0;
  return static_cast<int>(std::clamp<long long>(100LL * progress_ / max_, 0, 100));
}

// ---- PageControl, TabSheet ----

std::vector<TabSheet*> PageControl::Pages() const {
  return order_;
}
int PageControl::PageCount() const {
  return static_cast<int>(order_.size());
}

void PageControl::SetActivePage(TabSheet* page) {
  if (page != nullptr && page->PageControlOf() != this) return;
  if (page == active_) return;
  active_ = page;
  Notify(Prop::ActivePage);
}

int PageControl::ActivePageIndex() const {
  for (size_t i = 0; i < order_.size(); ++i)
    if (order_[i] == active_) return static_cast<int>(i);
  return -1;
}

void PageControl::MovePage(TabSheet* page, int newIndex) {
  auto it = std::find(order_.begin(), order_.end(), page);
  if (it == order_.end()) return;
  order_.erase(it);
  newIndex = std::clamp(newIndex, 0, static_cast<int>(order_.size()));
  order_.insert(order_.begin() + newIndex, page);
  Notify(Prop::PageOrder);
}

void PageControl::UserSelectPage(TabSheet* page) {
  if (!UserCanAct() || page == nullptr || page->PageControlOf() != this || !page->TabVisible())
    return;
  UserScope scope(*this);
  if (page == active_) return;
  SetActivePage(page);
  DoChange();
}

void PageControl::PageAdded(TabSheet* page) {
  order_.push_back(page);
  Notify(Prop::PageOrder);
  if (active_ == nullptr && page->TabVisible()) SetActivePage(page);
}

void PageControl::PageRemoved(TabSheet* page) {
  order_.erase(std::remove(order_.begin(), order_.end(), page), order_.end());
  if (active_ == page) {
    active_ = nullptr;
    for (TabSheet* p : order_)
      if (p->TabVisible()) {
        active_ = p;
        break;
      }
    Notify(Prop::ActivePage);
  }
  Notify(Prop::PageOrder);
}

TabSheet::~TabSheet() {
  if (PageControl* pages = PageControlOf()) pages->PageRemoved(this);
}

void TabSheet::ParentChanged(Control* oldParent) {
  if (auto* old = dynamic_cast<PageControl*>(oldParent)) old->PageRemoved(this);
  if (PageControl* pages = PageControlOf()) pages->PageAdded(this);
}

void TabSheet::SetPageControl(PageControl* pages) {
  SetParent(pages);
}

void TabSheet::SetTabVisible(bool visible) {
  if (visible == tabVisible_) return;
  tabVisible_ = visible;
  Notify(Prop::TabVisible);
}

int TabSheet::PageIndex() const {
  PageControl* pages = PageControlOf();
  if (pages == nullptr) return -1;
  const auto order = pages->Pages();
  for (size_t i = 0; i < order.size(); ++i)
    if (order[i] == this) return static_cast<int>(i);
  return -1;
}

void TabSheet::SetPageIndex(int index) {
  if (PageControl* pages = PageControlOf()) pages->MovePage(this, index);
}

}  // namespace ui
