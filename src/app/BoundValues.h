#pragma once
// The values of the controls bound to a setting, as a user reads them off the window: the
// command line prints them, compares two of them, and the compare window lists what differs
// between the window and the unit.

#include <string>
#include <vector>

namespace ui {
class Component;
class Control;
}  // namespace ui

struct BoundValue {
  enum class Kind { Text, Bool, Mixed };
  std::string name;
  // What a user reads beside the control: its own caption, or the labels of its row and column
  // (Windows-1250).
  std::string caption;
  // Texts as shown (Windows-1250); check boxes and radio buttons "1"/"0"; a greyed box "mixed".
  std::string value;
  Kind kind = Kind::Text;
};

// Controls bound to a setting (held by an editor now), depth-first in the window's creation order.
std::vector<ui::Control*> BoundControls(const ui::Component& root);

BoundValue ValueOfControl(const ui::Control& control);
std::vector<BoundValue> BoundValues(const ui::Component& root);

struct ValueDifference {
  std::string name;
  std::string caption;
  std::string a;
  std::string b;
};

// The settings whose values differ, in the order of a; a name that only one side has counts as
// a difference with an empty value on the other side.
std::vector<ValueDifference> Differences(const std::vector<BoundValue>& a,
                                         const std::vector<BoundValue>& b);
