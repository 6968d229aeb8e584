#include "ui/Controls.h"

#include <algorithm>

#include "ui/Form.h"

namespace ui {

// ---- Edit ----

Edit::Edit(Component* owner, std::string name) : Control(owner, std::move(name)) {
  SetTabStop(true);
  SetBackColor(clWindow);
}

void Edit::SetMaxLength(int length) {
  maxLength_ = std::max(0, length);
  Notify(Prop::MaxLength);
}

void Edit::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  Notify(Prop::ReadOnly);
}

void Edit::ClampSelection() {
  const int n = static_cast<int>(Text().size());
  selStart_ = std::clamp(selStart_, 0, n);
  selLength_ = std::clamp(selLength_, 0, n - selStart_);
}

void Edit::SetSelStart(int start) {
  selStart_ = start;
  selLength_ = 0;
  ClampSelection();
  Notify(Prop::Selection);
}

void Edit::SetSelLength(int length) {
  selLength_ = length;
  ClampSelection();
  Notify(Prop::Selection);
}

void Edit::SelectAll() {
  selStart_ = 0;
  selLength_ = static_cast<int>(Text().size());
  Notify(Prop::Selection);
}

std::string Edit::SelText() const {
  return Text().substr(selStart_, selLength_);
}

void Edit::ReplaceSelection(const std::string& with) {
  ClampSelection();
  std::string t = Text();
  t.replace(selStart_, selLength_, with);
  selStart_ += static_cast<int>(with.size());
  selLength_ = 0;
  SetTextRaw(t);
  Notify(Prop::Selection);
  DoChange();
}

void Edit::ApplyKey(char key) {
  if (readOnly_) return;
  ClampSelection();
  if (key == '\b') {
    if (selLength_ == 0 && selStart_ > 0) {
      --selStart_;
      selLength_ = 1;
    }
    if (selLength_ > 0) ReplaceSelection("");
    return;
  }
  if (key == '\r') {
    if (MultiLine()) ReplaceSelection("\r\n");
    return;
  }
  if (static_cast<unsigned char>(key) < 0x20) return;  // Escape, Tab, control keys
  const int newLength = static_cast<int>(Text().size()) - selLength_ + 1;
  if (maxLength_ > 0 && newLength > maxLength_) return;
  ReplaceSelection(std::string(1, key));
}

void Edit::ApplyKeyDown(uint16_t key, unsigned /*shift*/) {
  ClampSelection();
  const int n = static_cast<int>(Text().size());
  switch (key) {
    case VK_LEFT:
      SetSelStart(selStart_ - 1);
      break;
    case VK_RIGHT:
      SetSelStart(selStart_ + selLength_ + 1);
      break;
    case VK_HOME:
      SetSelStart(0);
      break;
    case VK_END:
      SetSelStart(n);
      break;
    case VK_DELETE:
      if (readOnly_) return;
      if (selLength_ == 0 && selStart_ < n) selLength_ = 1;
      if (selLength_ > 0) ReplaceSelection("");
      break;
    default:
      break;
  }
}

void Edit::UserType(const std::string& text) {
  for (char c : text) UserKey(c);
}

void Edit::UserReplace(const std::string& text) {
  if (!UserCanAct()) return;
  UserFocus();
  SelectAll();
  if (text.empty()) {
    UserKey('\b');
    return;
  }
  UserType(text);
}

void Edit::UserSetText(const std::string& text) {
  if (!UserCanAct() || readOnly_) return;
  UserScope scope(*this);
  std::string value = CText(text);
  if (maxLength_ > 0 && static_cast<int>(value.size()) > maxLength_) value.resize(maxLength_);
  if (value == Text()) return;
  selStart_ = static_cast<int>(value.size());
  selLength_ = 0;
  SetTextRaw(value);
  DoChange();
}

// ---- Memo ----

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  const std::string& t = Text();
  if (t.empty()) return lines;
  size_t start = 0;
  while (true) {
    const size_t end = t.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < t.size()) lines.push_back(t.substr(start));
      break;
    }
    lines.push_back(t.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string t;
  for (size_t i = 0; i < lines.size(); ++i) {
    t += CText(lines[i]);
    t += "\r\n";
  }
  SetText(t);
}

void Memo::AddLine(const std::string& line) {
  auto lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

int Memo::LineCount() const {
  return static_cast<int>(Lines().size());
}

// ---- ComboBox ----

ComboBox::ComboBox(Component* owner, std::string name) : Control(owner, std::move(name)) {
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

void ComboBox::SetMaxLength(int length) {
  maxLength_ = std::max(0, length);
  Notify(Prop::MaxLength);
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

int ComboBox::SelStart() const {
  return std::clamp(selStart_, 0, static_cast<int>(Text().size()));
}

int ComboBox::SelLength() const {
  return std::clamp(selLength_, 0, static_cast<int>(Text().size()) - SelStart());
}

void ComboBox::SetSelStart(int start) {
  selStart_ = start;
  selLength_ = 0;
  Notify(Prop::Selection);
}

void ComboBox::SetSelLength(int length) {
  selStart_ = SelStart();
  selLength_ = length;
  Notify(Prop::Selection);
}

void ComboBox::SelectAll() {
  selStart_ = 0;
  selLength_ = static_cast<int>(Text().size());
  Notify(Prop::Selection);
}

std::string ComboBox::SelText() const {
  return Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void ComboBox::ApplyKey(char key) {
  if (style_ == ComboStyle::DropDownList) return;
  std::string t = Text();
  // A key replaces the selected text; without a selection the caret counts as being at the end,
  // where typing into the box has always gone.
  const size_t start = static_cast<size_t>(SelStart());
  const size_t length = static_cast<size_t>(SelLength());
  size_t caret = t.size();
  if (key == '\b') {
    if (length > 0) {
      t.erase(start, length);
      caret = start;
    } else {
      if (t.empty()) return;
      t.pop_back();
      caret = t.size();
    }
  } else if (static_cast<unsigned char>(key) < 0x20) {
    return;
  } else {
    if (maxLength_ > 0 && static_cast<int>(t.size() - length) >= maxLength_) return;
    if (length > 0) {
      t.replace(start, length, 1, key);
      caret = start + 1;
    } else {
      t.push_back(key);
      caret = t.size();
    }
  }
  SetTextRaw(t);
  selStart_ = static_cast<int>(caret);
  selLength_ = 0;
  SyncIndexToText();
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

void ComboBox::UserSetText(const std::string& text) {
  if (!UserCanAct() || style_ == ComboStyle::DropDownList) return;
  UserScope scope(*this);
  std::string value = CText(text);
  if (maxLength_ > 0 && static_cast<int>(value.size()) > maxLength_) value.resize(maxLength_);
  if (value == Text()) return;
  SetTextRaw(value);
  SyncIndexToText();
  DoChange();
}

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
