#pragma once
// Text look-up of the active language. Every user-visible text of the program goes through
// GetLangText with its section, key and the built-in Czech default; without an active language
// (or before the language component exists) the default comes back unchanged.

#include <string>

#include "base/ScopedGlobal.h"

namespace lang {

class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual std::string GetLangText(const std::string& section, const std::string& key,
                                  const std::string& defaultText, int index, int languageId) = 0;
};

// The installed text source; none: every look-up gives its default.
struct TextSourceGlobal {
  using Value = TextSource*;
  static Value Get();

 private:
  friend class ScopedGlobal<TextSourceGlobal>;
  static void Set(Value source);
};
// The language component installs itself with one of these while it exists.
using TextSourceScope = ScopedGlobal<TextSourceGlobal>;

inline TextSource* GetTextSource() {
  return TextSourceGlobal::Get();
}

}  // namespace lang

// index < 0: no index (otherwise the key becomes key "_" index); languageId -1: the active
// language, else the language with that id.
std::string GetLangText(const std::string& section, const std::string& key,
                        const std::string& defaultText, int index = -1, int languageId = -1);
