#pragma once
// Date, time and number formats of the active language. Applying a language switches them, so
// dates and numbers the program formats afterwards follow that language. Czech and English (United
// Kingdom) have their own formats; every other language gets ISO dates and a decimal point.
//
// Format letters (in the toolkit's style): d dd ddd dddd (day, short and long day name), m mm mmm
// mmmm (month; minutes right after an hour), yy yyyy, h hh, n nn (minutes), s ss, am/pm and ampm,
// "/" the date separator, ":" the time separator, text in quotes as it is.

#include <array>
#include <string>

#include "base/ScopedGlobal.h"

namespace lang {

struct FormatSettings {
  std::array<std::string, 12> shortMonthNames;
  std::array<std::string, 12> longMonthNames;
  // Sunday first.
  std::array<std::string, 7> shortDayNames;
  std::array<std::string, 7> longDayNames;
  std::string currencyString;
  int currencyFormat = 0;
  int negCurrFormat = 0;
  std::string thousandSeparator = ",";
  std::string decimalSeparator = ".";
  int currencyDecimals = 2;
  std::string dateSeparator = "-";
  std::string shortDateFormat = "yyyy/mm/dd";
  std::string longDateFormat = "yyyy/mm/dd";
  std::string timeSeparator = ":";
  std::string timeAMString = "AM";
  std::string timePMString = "PM";
  std::string shortTimeFormat = "hh:nn";
  std::string longTimeFormat = "hh:nn:ss";
  std::string listSeparator = ",";
};

// The formats of a language id (texts in Windows-1250).
FormatSettings FormatsFor(int languageId);

// The formats in force (ISO until a language is applied). User-interface thread only.
const FormatSettings& CurrentFormats();

struct FormatsGlobal {
  using Value = FormatSettings;
  static Value Get() { return CurrentFormats(); }

 private:
  friend class ScopedGlobal<FormatsGlobal>;
  static void Set(Value formats);
};
// Puts formats in force for its lifetime; the language component holds one for the language it
// applied.
using FormatsScope = ScopedGlobal<FormatsGlobal>;

struct DateTime {
  int year = 2001;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

std::string FormatDateTime(const std::string& format, const DateTime& when,
                           const FormatSettings& formats = CurrentFormats());
// The short date format of the active language.
std::string FormatShortDate(int year, int month, int day);
// A number with a fixed count of decimals and the active decimal separator (no grouping).
std::string FormatFixed(double value, int decimals);

}  // namespace lang
