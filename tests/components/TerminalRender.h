#pragma once
// The terminal's lines as text the tests can compare at a glance.

#include <map>
#include <string>

#include "components/TerminalHistory.h"

// A line as "text@colour" runs joined by "|".
inline std::string Render(const TerminalLine& line) {
  const std::map<ui::Color, std::string> names = {
      {ui::clBlack, "black"}, {ui::clBlue, "blue"}, {ui::clPurple, "purple"}, {ui::clRed, "red"}};
  std::string out;
  for (const auto& run : line.runs) {
    if (!out.empty()) out += '|';
    const auto name = names.find(run.color);
    out += run.text + '@' + (name != names.end() ? name->second : std::to_string(run.color));
  }
  return out;
}
