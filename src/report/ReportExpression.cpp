#include "report/ReportExpression.h"

#include "base/LangText.h"
#include "report/ReportEscape.h"
#include "ui/Controls.h"

namespace report {

namespace {

constexpr int kNoDelimiter = -1;

std::string ReadTokenUntil(const std::string& text, size_t& pos, int delimiter) {
  if (pos > text.size()) pos = text.size();
  const size_t start = pos;
  bool quoted = false;
  bool plainOutside = false;  // a character other than a quote outside the quotes
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (static_cast<unsigned char>(c) == delimiter) break;
      plainOutside = true;
    }
    ++pos;
  }
  std::string token = text.substr(start, pos - start);
  if (pos < text.size()) ++pos;  // the delimiter
  if (plainOutside) return token;
  // Only quoted text: the token starts with its opening quote. The closing one is dropped only
  // when it is there, so an unterminated quote loses no character of its text.
  if (token.empty()) return token;
  const size_t end = token.size() > 1 && token.back() == '"' ? token.size() - 1 : token.size();
  return token.substr(1, end - 1);
}

std::string ReportText(const std::string& key, const std::string& defaultText) {
  return GetLangText("Report", key, defaultText);
}

}  // namespace

std::string ReadToken(const std::string& text, size_t& pos, char delimiter) {
  return ReadTokenUntil(text, pos, static_cast<unsigned char>(delimiter));
}

std::string ReadRest(const std::string& text, size_t& pos) {
  return ReadTokenUntil(text, pos, kNoDelimiter);
}

const ui::Control* FindReportControl(const ui::Control& window, const std::string& name) {
  if (name.empty()) return nullptr;
  for (const ui::Control* child : window.Children()) {
    if (ui::SameName(child->Name(), name)) return child;
    if (const ui::Control* found = FindReportControl(*child, name)) return found;
  }
  return nullptr;
}

std::string ControlValue(const ui::Control* control, const std::string& property) {
  if (control == nullptr) return {};
  // Memos are edits here too: their text is what the user sees.
  if (dynamic_cast<const ui::Edit*>(control) != nullptr ||
      dynamic_cast<const ui::ComboBox*>(control) != nullptr ||
      dynamic_cast<const ui::Label*>(control) != nullptr ||
      dynamic_cast<const ui::TabSheet*>(control) != nullptr)
    return control->Text();
  bool checked = false;
  if (const auto* box = dynamic_cast<const ui::CheckBox*>(control)) {
    checked = box->Checked();
  } else if (const auto* radio = dynamic_cast<const ui::RadioButton*>(control)) {
    checked = radio->Checked();
  } else {
    if (dynamic_cast<const ui::GroupBox*>(control) != nullptr) return control->Caption();
    return {};
  }
  if (ui::SameName(property, "caption")) return control->Caption();
  return checked ? ReportText("True", "Ano") : ReportText("False", "Ne");
}

bool IsActiveControl(const ui::Control& control) {
  if (const auto* box = dynamic_cast<const ui::CheckBox*>(&control)) return box->Checked();
  if (const auto* radio = dynamic_cast<const ui::RadioButton*>(&control)) return radio->Checked();
  if (dynamic_cast<const ui::Edit*>(&control) != nullptr) return !control.Text().empty();
  return control.Enabled();
}

ExpressionValue EvaluateExpression(const std::string& expression, const ReportEnv& env) {
  if (expression == "CurrentDateTime") return {DateTimeText(env.now(), env.languageId), true};

  size_t pos = expression.find_first_of(" .");
  const std::string name = expression.substr(0, pos);
  const ui::Control* own = env.window != nullptr ? FindReportControl(*env.window, name) : nullptr;
  std::string property;
  if (pos == std::string::npos) {
    pos = expression.size();
  } else if (expression[pos] == '.') {
    ++pos;
    property = ReadToken(expression, pos, ' ');
  } else {
    ++pos;
  }

  ExpressionValue value{ControlValue(own, property), true};
  const bool wasEmpty = value.text.empty();

  while (pos < expression.size()) {
    const std::string option = ReadToken(expression, pos, ' ');
    if (option.empty()) continue;
    size_t at = 0;
    const std::string key = ReadToken(option, at, '=');
    if (ui::SameName(key, "empty")) {
      const std::string textKey = ReadToken(option, at, ',');
      const std::string defaultText = ReadRest(option, at);
      if (wasEmpty) value = {ReportText(textKey, defaultText), false};
    } else if (ui::SameName(key, "nonempty")) {
      const std::string prefix = ReadToken(option, at, ',');
      const std::string suffix = ReadRest(option, at);
      if (!wasEmpty) {
        if (value.escape) value.text = HtmlEscape(value.text);
        value = {prefix + value.text + suffix, false};
      }
    } else if (ui::SameName(key, "disable") || ui::SameName(key, "enable")) {
      const bool whenActive = ui::SameName(key, "disable");
      const std::string controlName = ReadToken(option, at, ',');
      const std::string textKey = ReadToken(option, at, ',');
      const std::string defaultText = ReadRest(option, at);
      const ui::Control* control = own;
      if (!controlName.empty())
        control = env.window != nullptr ? FindReportControl(*env.window, controlName) : nullptr;
      if (control != nullptr && IsActiveControl(*control) == whenActive)
        value = {ReportText(textKey, defaultText), false};
    }
  }
  return value;
}

}  // namespace report
