#include "lang/LanguagePicker.h"

#include <vector>

#include "lang/LanguageCatalogue.h"
#include "ui/Controls.h"
#include "ui/Menu.h"

namespace lang {

LanguagePicker::LanguagePicker(const LanguageCatalogue& catalogue,
                               std::function<void(int index)> choose)
    : catalogue_(catalogue), choose_(std::move(choose)) {}

LanguagePicker::~LanguagePicker() {
  ReleaseCombo();
  ReleaseMenu();
}

void LanguagePicker::Pick(int index) {
  if (index < 0 || index >= static_cast<int>(catalogue_.Languages().size()) ||
      index == catalogue_.ActiveIndex())
    return;
  // Applying the language runs the program's handlers, which may destroy the picker (the window
  // and the language component with it): the call must not live in the picker.
  const std::function<void(int)> choose = choose_;
  choose(index);
}

// ---- combo box ----

ui::ComboBox* LanguagePicker::Combo() const {
  return combo_.get();
}

void LanguagePicker::SetCombo(ui::ComboBox* combo) {
  if (combo_ == combo) return;
  ReleaseCombo();
  if (combo == nullptr) return;
  combo_ = combo;
  combo->SetStyle(ui::ComboStyle::DropDownList);
  combo->OnSelect = [this](ui::Control& box) { Pick(static_cast<ui::ComboBox&>(box).ItemIndex()); };
  UpdateCombo();
}

void LanguagePicker::ReleaseCombo() {
  if (!combo_) return;
  ui::ComboBox* combo = combo_.get();
  combo_ = nullptr;
  combo->ClearItems();
  combo->OnSelect = nullptr;
  combo->SetStyle(ui::ComboStyle::DropDownList);
}

void LanguagePicker::UpdateCombo() {
  if (!combo_) return;
  const auto& languages = catalogue_.Languages();
  const LangImageList& images = catalogue_.Images();
  std::vector<std::string> names;
  std::vector<ui::ItemImage> flags;
  for (const auto& record : languages) {
    names.push_back(record->displayName);
    ui::ItemImage flag;
    if (record->iconIndex >= 0 && record->iconIndex < images.Count()) {
      const Icon16& icon = images.Image(record->iconIndex);
      flag = {16, 16, std::vector<uint32_t>(icon.pixels.begin(), icon.pixels.end())};
    }
    flags.push_back(std::move(flag));
  }
  // The box's views hear of each step, and what they do may end the box.
  combo_->SetItemImages(std::move(flags));
  if (combo_) combo_->SetItems(std::move(names));
  if (combo_) combo_->SetItemIndex(catalogue_.ActiveIndex());
}

// ---- menu ----

ui::MenuItem* LanguagePicker::Menu() const {
  return menu_.get();
}

void LanguagePicker::SetMenu(ui::MenuItem* menu) {
  if (menu_ == menu) return;
  ReleaseMenu();
  if (menu == nullptr) return;
  menu_ = menu;
  UpdateMenu();
}

void LanguagePicker::ReleaseMenu() {
  if (!menu_) return;
  ui::MenuItem* menu = menu_.get();
  menu_ = nullptr;
  ClearMenu(*menu);
}

void LanguagePicker::ClearMenu(ui::MenuItem& menu) {
  // An item may own others, and the one being clicked may be among them: each is deleted only
  // while it still exists.
  const std::vector<ui::Ref<ui::MenuItem>> items(menu.Items().begin(), menu.Items().end());
  for (const auto& item : items) delete item.get();
}

void LanguagePicker::UpdateMenu() {
  if (!menu_) return;
  ClearMenu(*menu_);
  const auto& languages = catalogue_.Languages();
  for (size_t i = 0; i < languages.size() && menu_; ++i) {
    // Owned by the menu item, so they go with it.
    auto* item = new ui::MenuItem(menu_.get(), std::string(), menu_.get());
    item->SetCaption(languages[i]->displayName);
    item->SetChecked(static_cast<int>(i) == catalogue_.ActiveIndex());
    item->OnClick = [this, index = static_cast<int>(i)](ui::MenuItem&) { Pick(index); };
  }
}

void LanguagePicker::UpdateIndexes() {
  if (combo_) combo_->SetItemIndex(catalogue_.ActiveIndex());
  if (!menu_) return;
  const std::vector<ui::Ref<ui::MenuItem>> items(menu_->Items().begin(), menu_->Items().end());
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i]) items[i]->SetChecked(static_cast<int>(i) == catalogue_.ActiveIndex());
}

bool LanguagePicker::IsReserved(const ui::Component& component) const {
  if (combo_ && &component == combo_.get()) return true;
  if (menu_)
    if (const auto* item = dynamic_cast<const ui::MenuItem*>(&component))
      return item->ParentItem() == menu_.get();
  return false;
}

}  // namespace lang
