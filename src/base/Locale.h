#pragma once
// The formats of each language id: the program's one locale table. The language component applies
// a language's entry (numbers, dates of the windows) and the report stamps its dates with the
// entry of the report's language, so the two never disagree. Czech (0x0405) and English (United
// Kingdom) (0x0809) have their own formats; every other id gets ISO dates and a decimal point.
// (Namespace lang, as the text look-up in LangText.h: it belongs to the languages, and lives down
// here because the report may not use the language layer.)
//
// Format letters (in the toolkit's style): d dd ddd dddd (day, short and long day name), m mm mmm
// mmmm (month; minutes right after an hour), yy yyyy, h hh, n nn (minutes), s ss, am/pm and ampm,
// "/" the date separator, ":" the time separator, text in quotes as it is.

#include <array>
#include <string>

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

// The formats of a language id (texts in Windows-1250); ISO for an id without its own.
const FormatSettings& FormatsFor(int languageId);

struct DateTime {
  int year = 2001;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

std::string FormatDateTime(const std::string& format, const DateTime& when,
                           const FormatSettings& formats);

}  // namespace lang
