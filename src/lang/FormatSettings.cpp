#include "lang/FormatSettings.h"

#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

namespace lang {

namespace {

FormatSettings& Current() {
  static FormatSettings current = FormatsFor(0);  // no language: ISO
  return current;
}

}  // namespace

const FormatSettings& CurrentFormats() {
  return Current();
}

void FormatsGlobal::Set(FormatSettings formats) {
  Current() = std::move(formats);
}

std::string FormatDateTime(const std::string& format, const DateTime& when) {
  return FormatDateTime(format, when, CurrentFormats());
}

std::string FormatShortDate(int year, int month, int day) {
  DateTime when;
  when.year = year;
  when.month = month;
  when.day = day;
  return FormatDateTime(CurrentFormats().shortDateFormat, when);
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return std::string();
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << std::fixed << std::setprecision(decimals) << value;
  std::string out = text.str();
  const size_t point = out.find('.');
  if (point != std::string::npos) out.replace(point, 1, CurrentFormats().decimalSeparator);
  return out;
}

}  // namespace lang
