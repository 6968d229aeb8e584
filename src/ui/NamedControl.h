#pragma once
// Lower layers reach some controls of the program's windows by name (the device module shows the
// link state on the main window's bottom row; the settings bind to the controls of the pages). A
// look-up that finds nothing does nothing, so a control renamed in the window would break the
// program silently. Every such name is therefore written down once, with the kind of control
// expected, in a table beside the code that uses it; the code resolves the names from the table,
// and a test of the program's windows checks every table entry against the real windows.

#include <cstddef>
#include <cstdint>

namespace ui {

class Component;

enum class Kind : uint8_t {
  Label,
  Edit,
  ComboBox,
  CheckBox,
  RadioButton,
  Button,
  Shape,
  Gauge,
  TabSheet,
};

struct NamedControl {
  const char* name;
  Kind kind;
};

// A table entry with the slot its resolved control is kept in; code refers to the slot, and
// SlotsInOrder proves at compile time that the table has one entry per slot, in slot order.
template <class Slot>
struct SlotEntry {
  Slot slot;
  NamedControl control;
};

template <class Slot, size_t N>
constexpr bool SlotsInOrder(const SlotEntry<Slot> (&table)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (static_cast<size_t>(table[i].slot) != i) return false;
  return N == static_cast<size_t>(Slot::Count);
}

// True when the component is a control of that kind (or derived from it: a memo is an edit).
bool IsKind(const Component* component, Kind kind);
// The kind's name for messages ("label", "button", ...).
const char* KindName(Kind kind);
// The component of the entry's name among everything root owns (directly or not), when it is of
// the entry's kind; null otherwise, and null for a null root.
Component* FindNamed(const Component* root, const NamedControl& entry);

template <class T>
T* FindNamedAs(const Component* root, const NamedControl& entry) {
  return dynamic_cast<T*>(FindNamed(root, entry));
}

}  // namespace ui
