#pragma once
// The window that lists what differs between the main window and the unit as it was last read:
// a line per setting, its caption, its name, the unit's value and the window's value.

#include <string>
#include <vector>

#include "app/BoundValues.h"
#include "ui/Controls.h"
#include "ui/Form.h"

class TFormCompare : public ui::Form {
 public:
  explicit TFormCompare(ui::Component* owner);
  ui::Label* LabelCompare = nullptr;
  ui::Memo* MemoCompare = nullptr;
  ui::Button* BtnClose = nullptr;

  // Fills the list: a = the unit, b = the window.
  void ShowDifferences(const std::vector<ValueDifference>& differences);
  // One line of the list (Windows-1250).
  static std::string LineOf(const ValueDifference& d);
};
