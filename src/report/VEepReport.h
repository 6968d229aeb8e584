#pragma once
// The report template: a list of items that the device description appends once and that is
// evaluated against the main window's controls whenever a report is saved. Evaluation reads what
// the controls show, never the settings or the unit's memory, so the report shows what the user
// sees. The output is a list of lines (Windows-1250 text); every line break item ends a line.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "report/ReportExpression.h"

class OneRecord {
 public:
  enum Kind : int8_t {
    Literal = 0,      // the text as it is (HTML of the template)
    LangText = 1,     // language text of section "Report" for the key in text, escaped
    Expression = 11,  // a control's value, see ReportExpression.h
    LineBreak = 12,   // ends the current output line
  };

  OneRecord(Kind kind, std::string text, std::string defaultText = {});
  virtual ~OneRecord();
  OneRecord(const OneRecord&) = delete;
  OneRecord& operator=(const OneRecord&) = delete;

  // A line break starts a new line; every other item appends its text to the last line. A
  // literal may hold CR LF pairs of its own: they stay inside the line.
  virtual void Evaluate(std::vector<std::string>& lines, const ReportEnv& env) const;

  Kind kind() const { return kind_; }
  const std::string& text() const { return text_; }
  const std::string& defaultText() const { return defaultText_; }

 private:
  Kind kind_;
  std::string text_;
  std::string defaultText_;
};

class VEepReport {
 public:
  VEepReport() = default;
  ~VEepReport();
  VEepReport(const VEepReport&) = delete;
  VEepReport& operator=(const VEepReport&) = delete;

  void AddText(std::string text);
  // A literal, then a line break.
  void AddLine(std::string text);
  void AddLangText(std::string key, std::string defaultText);
  void AddExpression(std::string expression);
  void AddLineBreak();

  // Replaces the content of `lines` by the report: one line to start with, then every item in
  // template order. Always at least one line; the last is empty when the template ends with a
  // line break.
  void Render(std::vector<std::string>& lines, const ReportEnv& env) const;

  size_t Count() const { return items_.size(); }
  const OneRecord& Item(size_t index) const { return *items_.at(index); }

 private:
  std::vector<std::unique_ptr<OneRecord>> items_;
};
