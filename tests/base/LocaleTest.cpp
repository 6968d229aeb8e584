#include "base/Locale.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Cp1250.h"

using lang::DateTime;
using lang::FormatDateTime;
using lang::FormatsFor;

namespace {

// What the windows and the report show of 5 March 2024 9:05:07 in a language.
struct Shown {
  std::string date, time, longDate, decimal, thousand;
  bool operator==(const Shown&) const = default;
};

Shown ShownFor(int languageId) {
  const lang::FormatSettings& f = FormatsFor(languageId);
  const DateTime when{2024, 3, 5, 9, 5, 7};
  return {FormatDateTime(f.shortDateFormat, when, f), FormatDateTime(f.longTimeFormat, when, f),
          FormatDateTime(f.longDateFormat, when, f), f.decimalSeparator, f.thousandSeparator};
}

void PrintTo(const Shown& s, std::ostream* os) {
  *os << s.date << " | " << s.time << " | " << Cp1250ToUtf8(s.longDate) << " | " << s.decimal;
}

}  // namespace

// The one table behind the report's time stamp and the active language's formats: exact ids
// only, so a neighbour of a built-in language (US English, Czech without a sublanguage) gets
// ISO formats like any other language.
TEST(Locale, OwnFormatsOnlyForCzechAndBritishEnglish) {
  EXPECT_EQ(ShownFor(0x0405),
            (Shown{"5.3.2024", "9:05:07", Win1250("5. březen 2024"), ",", "\xA0"}));
  EXPECT_EQ(ShownFor(0x0809), (Shown{"05/03/2024", "09:05:07", "05 March 2024", ".", ","}));
  const Shown iso{"2024-03-05", "09:05:07", "2024-03-05", ".", ","};
  for (int id : {0, 0x0005, 0x0009, 0x0409, 0x0407, 0x0C05, 0x10405, -1}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(ShownFor(id), iso);
  }
  // One entry per id: the same object each time, whatever asked for it first.
  EXPECT_EQ(&FormatsFor(0x0405), &FormatsFor(0x0405));
  EXPECT_EQ(&FormatsFor(0x0409), &FormatsFor(0));
}
