#include "report/ReportDateTime.h"

#include <cstdio>

namespace report {

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::string DateTimeText(const std::tm& time, int languageId) {
  const int year = time.tm_year + 1900;
  const int month = time.tm_mon + 1;
  const int day = time.tm_mday;
  char date[48];
  char clock[48];
  switch (languageId) {
    case 0x0405:  // Czech
      std::snprintf(date, sizeof date, "%d.%d.%04d", day, month, year);
      std::snprintf(clock, sizeof clock, "%d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
      break;
    case 0x0809:  // English (United Kingdom)
      std::snprintf(date, sizeof date, "%02d/%02d/%04d", day, month, year);
      std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
      break;
    default:
      std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
      std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
      break;
  }
  if (time.tm_hour == 0 && time.tm_min == 0 && time.tm_sec == 0) return date;
  return std::string(date) + " " + clock;
}

}  // namespace report
