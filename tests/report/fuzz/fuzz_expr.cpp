// links: kx2_report kx2_lang kx2_components kx2_ui kx2_base
// libFuzzer target: report expressions and whole templates built from arbitrary text, evaluated
// against a small window. Nothing may crash or read out of bounds, and a control's value may never
// reach the page with a bare "<", ">" or double quote.
//
// Input: the first byte picks the mode; the rest is the text.
//   even: the text is one expression;
//   odd:  the text is a template, one item per line, the first character of each line picking
//         the kind (L literal, T language text "key|default", E expression, anything else a
//         line break).

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "report/ReportEscape.h"
#include "report/ReportExpression.h"
#include "report/ReportFile.h"
#include "report/VEepReport.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

struct Window {
  ui::Form form{nullptr, "FormMain"};
  ReportEnv env{form};

  Window() {
    auto* sheet = Place<ui::TabSheet>(&form, "SheetGeneral", "General");
    Place<ui::Label>(sheet, "LabelPIN", "PIN <&>");
    Place<ui::Edit>(sheet, "EditPIN", "12\"34");
    Place<ui::Edit>(sheet, "EditEmpty", "");
    Place<ui::ComboBox>(sheet, "ComboSCA", "+420");
    auto* check = Place<ui::CheckBox>(sheet, "CheckA", "Check & caption");
    check->SetChecked(true);
    auto* group = Place<ui::GroupBox>(sheet, "GroupB", "Group");
    Place<ui::RadioButton>(group, "RBtnOne", "One")->SetChecked(true);
    Place<ui::RadioButton>(group, "RBtnTwo", "Two");
    Place<ui::Button>(&form, "ButtonOff", "Off")->SetEnabled(false);
    env.now = [] {
      std::tm t{};
      t.tm_year = 124;
      t.tm_mday = 1;
      t.tm_hour = 12;
      return t;
    };
  }

  template <class T>
  T* Place(ui::Control* parent, const char* name, const std::string& text) {
    auto* control = new T(&form, name);
    control->SetParent(parent);
    control->SetText(text);
    return control;
  }
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Window window;
  if (size == 0) return 0;
  const bool templateMode = (data[0] & 1) != 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  if (!templateMode) {
    const report::ExpressionValue value = report::EvaluateExpression(text, window.env);
    if (value.escape) {
      const std::string escaped = report::HtmlEscape(value.text);
      Check(escaped.find_first_of("<>\"") == std::string::npos);
    }
    for (char delimiter : {' ', ',', '=', '"', '\0'}) {
      size_t pos = 0;
      size_t steps = 0;
      while (pos < text.size()) {
        report::ReadToken(text, pos, delimiter);
        Check(++steps <= text.size());  // every read moves on
      }
    }
    report::ProposeReportFileName(text);
    return 0;
  }

  VEepReport report;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::string body = line.empty() ? std::string() : line.substr(1);
    switch (line.empty() ? '\0' : line[0]) {
      case 'L':
        report.AddText(body);
        break;
      case 'T': {
        const size_t bar = body.find('|');
        report.AddLangText(body.substr(0, bar),
                           bar == std::string::npos ? std::string() : body.substr(bar + 1));
        break;
      }
      case 'E':
        report.AddExpression(body);
        break;
      default:
        report.AddLineBreak();
        break;
    }
    start = end + 1;
  }
  std::vector<std::string> lines;
  report.Render(lines, window.env);
  Check(!lines.empty());
  report::ReportFileBytes(lines);
  return 0;
}
