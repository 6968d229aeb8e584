#include "base/Locale.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "base/Cp1250.h"
#include "base/Qelutils.h"

namespace lang {

namespace {

const std::array<std::string, 12> kEnglishMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
const std::array<std::string, 7> kEnglishDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};

std::array<std::string, 12> Abbreviated(const std::array<std::string, 12>& names) {
  std::array<std::string, 12> out;
  for (size_t i = 0; i < names.size(); ++i) out[i] = names[i].substr(0, 3);
  return out;
}

FormatSettings IsoFormats() {
  FormatSettings f;
  f.longMonthNames = kEnglishMonths;
  f.shortMonthNames = Abbreviated(kEnglishMonths);
  f.longDayNames = kEnglishDays;
  for (size_t i = 0; i < 7; ++i) f.shortDayNames[i] = kEnglishDays[i].substr(0, 3);
  return f;
}

FormatSettings CzechFormats() {
  FormatSettings f;
  f.longMonthNames = {Win1250("leden"),    Win1250("únor"),     Win1250("březen"),
                      Win1250("duben"),    Win1250("květen"),   Win1250("červen"),
                      Win1250("červenec"), Win1250("srpen"),    Win1250("září"),
                      Win1250("říjen"),    Win1250("listopad"), Win1250("prosinec")};
  f.shortMonthNames = {"led",          Win1250("úno"), Win1250("bře"), "dub",
                       Win1250("kvě"), Win1250("čvn"), Win1250("čvc"), "srp",
                       Win1250("zář"), Win1250("říj"), "lis",          "pro"};
  f.longDayNames = {Win1250("neděle"),  Win1250("pondělí"), Win1250("úterý"), Win1250("středa"),
                    Win1250("čtvrtek"), Win1250("pátek"),   "sobota"};
  f.shortDayNames = {"ne", "po", Win1250("út"), "st", Win1250("čt"), Win1250("pá"), "so"};
  f.currencyString = Win1250("Kč");
  f.currencyFormat = 3;
  f.negCurrFormat = 8;
  f.thousandSeparator = "\xA0";  // bytes: the no-break space
  f.decimalSeparator = ",";
  f.currencyDecimals = 2;
  f.dateSeparator = ".";
  f.shortDateFormat = "d.m.yyyy";
  f.longDateFormat = "d. mmmm yyyy";
  f.timeSeparator = ":";
  f.timeAMString = "dop.";
  f.timePMString = "odp.";
  f.shortTimeFormat = "h:nn";
  f.longTimeFormat = "h:nn:ss";
  f.listSeparator = ";";
  return f;
}

FormatSettings BritishFormats() {
  FormatSettings f = IsoFormats();
  f.currencyString = "GBP";  // the pound sign has no place in the code page
  f.currencyFormat = 0;
  f.negCurrFormat = 1;
  f.thousandSeparator = ",";
  f.decimalSeparator = ".";
  f.dateSeparator = "/";
  f.shortDateFormat = "dd/mm/yyyy";
  f.longDateFormat = "dd mmmm yyyy";
  f.timeAMString = "am";
  f.timePMString = "pm";
  f.shortTimeFormat = "hh:nn";
  f.longTimeFormat = "hh:nn:ss";
  f.listSeparator = ",";
  return f;
}

// Language id and its formats; an id missing here gets the ISO formats.
const std::vector<std::pair<int, FormatSettings>>& Table() {
  static const std::vector<std::pair<int, FormatSettings>> table = {
      {0x0405, CzechFormats()},
      {0x0809, BritishFormats()},
  };
  return table;
}

// 0 Sunday .. 6 Saturday.
int DayOfWeek(int y, int m, int d) {
  static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 1 || m > 12) return 0;
  if (m < 3) y -= 1;
  const int dow = (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
  return dow < 0 ? dow + 7 : dow;
}

std::string Number(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

const std::string& Pick(const std::string* names, int count, int index) {
  static const std::string none;
  return index >= 0 && index < count ? names[index] : none;
}

}  // namespace

const FormatSettings& FormatsFor(int languageId) {
  static const FormatSettings iso = IsoFormats();
  for (const auto& [id, formats] : Table())
    if (id == languageId) return formats;
  return iso;
}

std::string FormatDateTime(const std::string& format, const DateTime& when,
                           const FormatSettings& formats) {
  const std::string lower = LowerAscii(format);
  const bool twelveHour =
      lower.find("am/pm") != std::string::npos || lower.find("ampm") != std::string::npos;
  std::string out;
  bool afterHour = false;
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    const char lc = LowerAscii(c);
    size_t run = 1;
    while (i + run < format.size() && LowerAscii(format[i + run]) == lc) ++run;
    if (c == '"' || c == '\'') {
      const size_t close = format.find(c, i + 1);
      const size_t end = close == std::string::npos ? format.size() : close;
      out += format.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (lower.compare(i, 5, "am/pm") == 0) {
      const bool pm = when.hour >= 12;
      std::string text = pm ? "pm" : "am";
      if (format[i] == 'A') text = UpperAscii(text);
      out += text;
      i += 5;
      continue;
    }
    if (lower.compare(i, 4, "ampm") == 0) {
      out += when.hour >= 12 ? formats.timePMString : formats.timeAMString;
      i += 4;
      continue;
    }
    switch (lc) {
      case 'd':
        if (run == 1)
          out += std::to_string(when.day);
        else if (run == 2)
          out += Number(when.day, 2);
        else if (run == 3)
          out += Pick(formats.shortDayNames.data(), 7, DayOfWeek(when.year, when.month, when.day));
        else
          out += Pick(formats.longDayNames.data(), 7, DayOfWeek(when.year, when.month, when.day));
        afterHour = false;
        break;
      case 'm':
        if (afterHour && run <= 2) {
          out += run == 1 ? std::to_string(when.minute) : Number(when.minute, 2);
        } else if (run == 1) {
          out += std::to_string(when.month);
        } else if (run == 2) {
          out += Number(when.month, 2);
        } else {
          const auto& names = run == 3 ? formats.shortMonthNames : formats.longMonthNames;
          out += Pick(names.data(), 12, when.month - 1);
        }
        afterHour = false;
        break;
      case 'y':
        out += run <= 2 ? Number(((when.year % 100) + 100) % 100, 2) : Number(when.year, 4);
        afterHour = false;
        break;
      case 'h': {
        int hour = when.hour;
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        out += run == 1 ? std::to_string(hour) : Number(hour, 2);
        afterHour = true;
        break;
      }
      case 'n':
        out += run == 1 ? std::to_string(when.minute) : Number(when.minute, 2);
        afterHour = false;
        break;
      case 's':
        out += run == 1 ? std::to_string(when.second) : Number(when.second, 2);
        afterHour = false;
        break;
      case '/':
        for (size_t k = 0; k < run; ++k) out += formats.dateSeparator;
        break;
      case ':':
        for (size_t k = 0; k < run; ++k) out += formats.timeSeparator;
        break;
      default:
        out.append(format, i, run);
        break;
    }
    i += run;
  }
  return out;
}

}  // namespace lang
