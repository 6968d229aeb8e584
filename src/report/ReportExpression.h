#pragma once
// Expressions of the report: a control of the main window, by name, with options that decide how
// its value is shown.
//
//   EditPIN nonempty=<b>,</b> empty=Empty,<em>prázdné</em>
//   RBtnSMSTriesNumber.Caption enable=RBtnSMSTriesNumber nonempty=," "
//
// The reference is a control name, optionally followed by a full stop and a property word; the
// options follow, separated by spaces. An option is a key, "=" and arguments separated by commas;
// spaces and commas inside double quotes belong to the argument. Keys (case ignored):
//   empty=KEY,DEFAULT           the value was empty: the language text instead (not escaped)
//   nonempty=PREFIX,SUFFIX      the value was not empty: PREFIX + escaped value + SUFFIX
//   disable=NAME,KEY,DEFAULT    the named control (own control when NAME is empty) exists and is
//                               active: the language text instead (not escaped)
//   enable=NAME,KEY,DEFAULT     the same when the control exists and is not active
// "Empty" always means the control's own value, however earlier options changed it. Other keys
// are ignored, missing arguments are empty, and a name the window does not have gives an empty
// value. "CurrentDateTime" alone is the time stamp of the report.

#include <ctime>
#include <functional>
#include <string>

#include "report/ReportDateTime.h"

namespace ui {
class Control;
}

// What a report is evaluated against: the window whose controls it reads, the clock of the time
// stamp and the language whose date and time formats the time stamp uses.
struct ReportEnv {
  explicit ReportEnv(const ui::Control& window) : window(&window) {}

  const ui::Control* window;
  std::function<std::tm()> now = report::LocalNow;
  int languageId = 0;
};

namespace report {

// Reads a token from pos up to the delimiter met outside double quotes (every quote switches
// between inside and outside) or the end of the text; the delimiter is consumed and pos is left
// after it. A token made only of quoted text comes back without its enclosing quotes ("\"a b\""
// gives "a b", an empty token an empty text); any other token comes back as it is.
std::string ReadToken(const std::string& text, size_t& pos, char delimiter);
// The same, up to the end of the text (the last argument of an option).
std::string ReadRest(const std::string& text, size_t& pos);

// The control of that name placed on the window, depth first in the order the controls were
// placed, names compared without regard to case; null for an empty or unknown name. Only controls
// that sit on the window count: components it merely owns (menu items, timers) do not.
const ui::Control* FindReportControl(const ui::Control& window, const std::string& name);

// The value a control shows in a report (null: empty). `property` matters only for check boxes
// and radio buttons: "caption" gives the caption, anything else the language text "True" or
// "False" of the checked state.
std::string ControlValue(const ui::Control* control, const std::string& property);

// Check box and radio button: checked; edit: has text; any other control: enabled.
bool IsActiveControl(const ui::Control& control);

struct ExpressionValue {
  std::string text;
  bool escape = true;  // still to be escaped for HTML
};

ExpressionValue EvaluateExpression(const std::string& expression, const ReportEnv& env);

}  // namespace report
