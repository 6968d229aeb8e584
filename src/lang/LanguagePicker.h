#pragma once
// The controls a user picks the language with: a combo box and a menu item whose sub-items are
// the languages. Both show the catalogue's selectable languages with the active one selected or
// checked, and a pick goes to the language component, which applies it. Both belong to windows,
// which may destroy them at any time (even from within the language's own handlers): they are
// held by reference and simply forgotten when they go.

#include <functional>

#include "ui/Ref.h"

namespace ui {
class ComboBox;
class Component;
class MenuItem;
}  // namespace ui

namespace lang {

class LanguageCatalogue;

class LanguagePicker {
 public:
  // choose: applies the language at the index (never the active one).
  LanguagePicker(const LanguageCatalogue& catalogue, std::function<void(int index)> choose);
  // Releases the combo box and the menu.
  ~LanguagePicker();
  LanguagePicker(const LanguagePicker&) = delete;
  LanguagePicker& operator=(const LanguagePicker&) = delete;

  ui::ComboBox* Combo() const;
  // Takes the combo box over (a drop-down list of the languages whose OnSelect belongs to the
  // picker); the previous one is emptied and released. Null releases.
  void SetCombo(ui::ComboBox* combo);
  ui::MenuItem* Menu() const;
  // Lists the languages as sub-items of the item (its other sub-items are removed); the previous
  // item loses them. Null releases.
  void SetMenu(ui::MenuItem* menu);

  // Fill again from the catalogue.
  void UpdateCombo();
  void UpdateMenu();
  // Only the selection and the check marks follow the active language.
  void UpdateIndexes();
  // The combo box and the items of the menu: never translated or exported.
  bool IsReserved(const ui::Component& component) const;

 private:
  void Pick(int index);
  void ReleaseCombo();
  void ReleaseMenu();
  void ClearMenu(ui::MenuItem& menu);

  const LanguageCatalogue& catalogue_;
  std::function<void(int)> choose_;
  ui::Ref<ui::ComboBox> combo_;
  ui::Ref<ui::MenuItem> menu_;
};

}  // namespace lang
