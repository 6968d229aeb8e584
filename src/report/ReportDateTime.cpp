#include "report/ReportDateTime.h"

#include "base/Locale.h"

namespace report {

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::string DateTimeText(const std::tm& time, int languageId) {
  const lang::FormatSettings& formats = lang::FormatsFor(languageId);
  const lang::DateTime when{time.tm_year + 1900, time.tm_mon + 1, time.tm_mday,
                            time.tm_hour,        time.tm_min,     time.tm_sec};
  const std::string date = lang::FormatDateTime(formats.shortDateFormat, when, formats);
  if (time.tm_hour == 0 && time.tm_min == 0 && time.tm_sec == 0) return date;
  return date + " " + lang::FormatDateTime(formats.longTimeFormat, when, formats);
}

}  // namespace report
