#pragma once
// Date, time and number formats of the active language. Applying a language switches them to its
// entry of the locale table (base/Locale.h), so dates and numbers the program formats afterwards
// follow that language.

#include <string>

#include "base/Locale.h"
#include "base/ScopedGlobal.h"

namespace lang {

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

// FormatDateTime with the formats in force.
std::string FormatDateTime(const std::string& format, const DateTime& when);
// The short date format of the active language.
std::string FormatShortDate(int year, int month, int day);
// A number with a fixed count of decimals and the active decimal separator (no grouping).
std::string FormatFixed(double value, int decimals);

}  // namespace lang
