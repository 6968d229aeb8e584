#pragma once
// The time stamp of a report: the local date and time in the formats of the report's language.

#include <ctime>
#include <string>

namespace report {

// The local time now, to the second.
std::tm LocalNow();

// The short date, a space and the long time of the language, from the locale table (0x0405 Czech
// "5.3.2024 9:05:07", 0x0809 English (United Kingdom) "05/03/2024 09:05:07", any other id ISO
// "2024-03-05 09:05:07").
// At exactly midnight the time is left out and only the date remains.
std::string DateTimeText(const std::tm& time, int languageId);

}  // namespace report
