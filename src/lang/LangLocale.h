#pragma once
// What the language component needs to know about a language id besides its file: the code page
// and character set, the native name, the order of character sets, and the user's own language.
// Ids are the platform's 16-bit language ids: bits 0-9 the primary language, bits 10-15 the
// sublanguage (0x0405 Czech, 0x0809 English (United Kingdom)).

#include <optional>
#include <string>

#include "base/Paths.h"

namespace lang {

// Character sets of fonts, with the platform's numbers.
enum Charset : int {
  ANSI_CHARSET = 0,
  DEFAULT_CHARSET = 1,
  SYMBOL_CHARSET = 2,
  MAC_CHARSET = 77,
  SHIFTJIS_CHARSET = 128,
  HANGEUL_CHARSET = 129,
  JOHAB_CHARSET = 130,
  GB2312_CHARSET = 134,
  CHINESEBIG5_CHARSET = 136,
  GREEK_CHARSET = 161,
  TURKISH_CHARSET = 162,
  VIETNAMESE_CHARSET = 163,
  HEBREW_CHARSET = 177,
  ARABIC_CHARSET = 178,
  BALTIC_CHARSET = 186,
  RUSSIAN_CHARSET = 204,
  THAI_CHARSET = 222,
  EASTEUROPE_CHARSET = 238,
  OEM_CHARSET = 255,
};

inline int PrimaryLangId(int id) {
  return id & 0x3FF;
}
inline int SubLangId(int id) {
  return (id >> 10) & 0x3F;
}
// Ids that a language file may carry: 16-bit values.
inline bool IsLanguageId(int id) {
  return id >= 0 && id <= 0xFFFF;
}
// A language with a sublanguage can be chosen; one without (0x0005, 0) only supplies texts.
inline bool IsSelectableId(int id) {
  return IsLanguageId(id) && SubLangId(id) != 0;
}
// The id as four upper-case hexadecimal digits ("0405").
std::string LanguageIdHex(int id);

// The default ANSI code page of a language id (1250, 1252 ...), 0 when unknown.
int AnsiCodePageOf(int id);
// The character set for a code page, `fallback` for code pages without one.
int CharsetOfCodePage(int codePage, int fallback);
// A character set by its name ("EASTEUROPE", upper case, without "_CHARSET").
std::optional<int> CharsetByName(const std::string& name);
// Sorting rank of a character set relative to the user's own: 0 the same, then the sets that
// show Latin script, and the symbol-less default last.
int CharsetRank(int charset, int userCharset);

// The language's own name for itself in Windows-1250 ("čeština", "English"), empty when the
// table has none or it cannot be written in the code page.
std::string NativeLanguageName(int id);

// The language id of a POSIX locale name ("cs_CZ.UTF-8" -> 0x0405), 0 when unknown.
int LanguageIdFromLocaleName(const std::string& locale);
// The two-letter language of a language id ("cs" for 0x0405), empty for one not in the table.
std::string LocaleLanguageOf(int id);
// The user's own language from LC_ALL, LC_MESSAGES or LANG; 0 when none is known.
int UserDefaultLanguageId(const EnvLookup& env = SystemEnv);

// Case and order of Windows-1250 text: the national letters have their case pairs (č/Č, ž/Ž ...).
char UpperCp1250(char c);
std::string UpperCp1250(std::string s);
bool SameTextCp1250(const std::string& a, const std::string& b);
// Order for showing names: by letters regardless of accents and case, then accents, then case
// (lower first), then bytes. <0, 0, >0.
int CompareNamesCp1250(const std::string& a, const std::string& b);

}  // namespace lang
