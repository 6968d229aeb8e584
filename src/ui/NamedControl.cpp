#include "ui/NamedControl.h"

#include "ui/Controls.h"

namespace ui {

bool IsKind(const Component* component, Kind kind) {
  switch (kind) {
    case Kind::Label:
      return dynamic_cast<const Label*>(component) != nullptr;
    case Kind::Edit:
      return dynamic_cast<const Edit*>(component) != nullptr;
    case Kind::ComboBox:
      return dynamic_cast<const ComboBox*>(component) != nullptr;
    case Kind::CheckBox:
      return dynamic_cast<const CheckBox*>(component) != nullptr;
    case Kind::RadioButton:
      return dynamic_cast<const RadioButton*>(component) != nullptr;
    case Kind::Button:
      return dynamic_cast<const Button*>(component) != nullptr;
    case Kind::Shape:
      return dynamic_cast<const Shape*>(component) != nullptr;
    case Kind::Gauge:
      return dynamic_cast<const Gauge*>(component) != nullptr;
    case Kind::TabSheet:
      return dynamic_cast<const TabSheet*>(component) != nullptr;
  }
  return false;
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Label:
      return "label";
    case Kind::Edit:
      return "edit";
    case Kind::ComboBox:
      return "combo box";
    case Kind::CheckBox:
      return "check box";
    case Kind::RadioButton:
      return "radio button";
    case Kind::Button:
      return "button";
    case Kind::Shape:
      return "shape";
    case Kind::Gauge:
      return "gauge";
    case Kind::TabSheet:
      return "tab sheet";
  }
  return "?";
}

Component* FindNamed(const Component* root, const NamedControl& entry) {
  if (root == nullptr) return nullptr;
  Component* found = root->FindDeep(entry.name);
  return IsKind(found, entry.kind) ? found : nullptr;
}

}  // namespace ui
