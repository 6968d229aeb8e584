#include "report/VEepReport.h"

#include "base/LangText.h"
#include "report/ReportEscape.h"

OneRecord::OneRecord(Kind kind, std::string text, std::string defaultText)
    : kind_(kind), text_(std::move(text)), defaultText_(std::move(defaultText)) {}

OneRecord::~OneRecord() = default;

void OneRecord::Evaluate(std::vector<std::string>& lines, const ReportEnv& env) const {
  if (kind_ == LineBreak) {
    lines.emplace_back();
    return;
  }
  std::string value;
  switch (kind_) {
    case Literal:
      value = text_;
      break;
    case LangText:
      value = report::HtmlEscape(GetLangText("Report", text_, defaultText_));
      break;
    case Expression: {
      report::ExpressionValue v = report::EvaluateExpression(text_, env);
      value = v.escape ? report::HtmlEscape(v.text) : std::move(v.text);
      break;
    }
    default:  // an unknown kind adds nothing
      return;
  }
  if (lines.empty()) lines.emplace_back();
  lines.back() += value;
}

VEepReport::~VEepReport() {
  // Last item first, the reverse of building.
  while (!items_.empty()) items_.pop_back();
}

void VEepReport::AddText(std::string text) {
  items_.push_back(std::make_unique<OneRecord>(OneRecord::Literal, std::move(text)));
}

void VEepReport::AddLine(std::string text) {
  AddText(std::move(text));
  AddLineBreak();
}

void VEepReport::AddLangText(std::string key, std::string defaultText) {
  items_.push_back(
      std::make_unique<OneRecord>(OneRecord::LangText, std::move(key), std::move(defaultText)));
}

void VEepReport::AddExpression(std::string expression) {
  items_.push_back(std::make_unique<OneRecord>(OneRecord::Expression, std::move(expression)));
}

void VEepReport::AddLineBreak() {
  items_.push_back(std::make_unique<OneRecord>(OneRecord::LineBreak, std::string()));
}

void VEepReport::Render(std::vector<std::string>& lines, const ReportEnv& env) const {
  lines.clear();
  lines.emplace_back();
  for (const auto& item : items_) item->Evaluate(lines, env);
}
