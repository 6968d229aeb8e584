#include "lang/LangLocale.h"

#include <algorithm>
#include <cstdio>

#include "base/Cp1250.h"
#include "base/Qelutils.h"

namespace lang {

std::string LanguageIdHex(int id) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(id) & 0xFFFFu);
  return buf;
}

namespace {

// Primary language ids.
enum : int {
  LANG_ARABIC = 0x01,
  LANG_BULGARIAN = 0x02,
  LANG_CHINESE = 0x04,
  LANG_CZECH = 0x05,
  LANG_DANISH = 0x06,
  LANG_GERMAN = 0x07,
  LANG_GREEK = 0x08,
  LANG_ENGLISH = 0x09,
  LANG_SPANISH = 0x0A,
  LANG_FINNISH = 0x0B,
  LANG_FRENCH = 0x0C,
  LANG_HEBREW = 0x0D,
  LANG_HUNGARIAN = 0x0E,
  LANG_ITALIAN = 0x10,
  LANG_JAPANESE = 0x11,
  LANG_KOREAN = 0x12,
  LANG_DUTCH = 0x13,
  LANG_NORWEGIAN = 0x14,
  LANG_POLISH = 0x15,
  LANG_PORTUGUESE = 0x16,
  LANG_ROMANIAN = 0x18,
  LANG_RUSSIAN = 0x19,
  LANG_CROATIAN = 0x1A,
  LANG_SLOVAK = 0x1B,
  LANG_SWEDISH = 0x1D,
  LANG_THAI = 0x1E,
  LANG_TURKISH = 0x1F,
  LANG_UKRAINIAN = 0x22,
  LANG_SLOVENIAN = 0x24,
  LANG_ESTONIAN = 0x25,
  LANG_LATVIAN = 0x26,
  LANG_LITHUANIAN = 0x27,
  LANG_VIETNAMESE = 0x2A,
};

}  // namespace

int AnsiCodePageOf(int id) {
  if (!IsLanguageId(id)) return 0;
  switch (PrimaryLangId(id)) {
    case LANG_CZECH:
    case LANG_SLOVAK:
    case LANG_POLISH:
    case LANG_HUNGARIAN:
    case LANG_SLOVENIAN:
    case LANG_CROATIAN:
    case LANG_ROMANIAN:
      return 1250;
    case LANG_RUSSIAN:
    case LANG_UKRAINIAN:
    case LANG_BULGARIAN:
      return 1251;
    case LANG_ENGLISH:
    case LANG_GERMAN:
    case LANG_FRENCH:
    case LANG_ITALIAN:
    case LANG_SPANISH:
    case LANG_DUTCH:
    case LANG_PORTUGUESE:
    case LANG_DANISH:
    case LANG_SWEDISH:
    case LANG_NORWEGIAN:
    case LANG_FINNISH:
      return 1252;
    case LANG_GREEK:
      return 1253;
    case LANG_TURKISH:
      return 1254;
    case LANG_HEBREW:
      return 1255;
    case LANG_ARABIC:
      return 1256;
    case LANG_ESTONIAN:
    case LANG_LATVIAN:
    case LANG_LITHUANIAN:
      return 1257;
    case LANG_VIETNAMESE:
      return 1258;
    case LANG_THAI:
      return 874;
    case LANG_JAPANESE:
      return 932;
    case LANG_KOREAN:
      return 949;
    case LANG_CHINESE:
      return SubLangId(id) == 1 || SubLangId(id) == 3 ? 950 : 936;
    default:
      return 0;
  }
}

int CharsetOfCodePage(int codePage, int fallback) {
  switch (codePage) {
    case 950:
      return GB2312_CHARSET;
    case 1250:
      return EASTEUROPE_CHARSET;
    case 1251:
      return RUSSIAN_CHARSET;
    case 1252:
      return ANSI_CHARSET;
    case 1253:
      return GREEK_CHARSET;
    case 1256:
      return ARABIC_CHARSET;
    default:
      return fallback;
  }
}

std::optional<int> CharsetByName(const std::string& name) {
  static const struct {
    const char* name;
    int charset;
  } kNames[] = {
      {"DEFAULT", DEFAULT_CHARSET},
      {"ANSI", ANSI_CHARSET},
      {"SYMBOL", SYMBOL_CHARSET},
      {"ARABIC", ARABIC_CHARSET},
      {"BALTIC", BALTIC_CHARSET},
      {"EASTEUROPE", EASTEUROPE_CHARSET},
      {"GB2312", GB2312_CHARSET},
      {"GREEK", GREEK_CHARSET},
      {"HANGEUL", HANGEUL_CHARSET},
      {"HEBREW", HEBREW_CHARSET},
      {"CHINESEBIG5", CHINESEBIG5_CHARSET},
      {"JOHAB", JOHAB_CHARSET},
      {"MAC", MAC_CHARSET},
      {"OEM", OEM_CHARSET},
      {"RUSSIAN", RUSSIAN_CHARSET},
      {"SHIFTJIS", SHIFTJIS_CHARSET},
      {"THAI", THAI_CHARSET},
      {"TURKISH", TURKISH_CHARSET},
      {"VIETNAMESE", VIETNAMESE_CHARSET},
  };
  for (const auto& entry : kNames)
    if (name == entry.name) return entry.charset;
  return std::nullopt;
}

int CharsetRank(int charset, int userCharset) {
  if (charset == userCharset) return 0;
  switch (charset) {
    case ANSI_CHARSET:
    case EASTEUROPE_CHARSET:
      return 2;
    case RUSSIAN_CHARSET:
      return 4;
    case MAC_CHARSET:
    case OEM_CHARSET:
      return 6;
    case TURKISH_CHARSET:
    case BALTIC_CHARSET:
      return 7;
    case SHIFTJIS_CHARSET:
    case HANGEUL_CHARSET:
    case JOHAB_CHARSET:
    case GB2312_CHARSET:
    case CHINESEBIG5_CHARSET:
    case GREEK_CHARSET:
    case VIETNAMESE_CHARSET:
    case HEBREW_CHARSET:
    case ARABIC_CHARSET:
    case THAI_CHARSET:
      return 8;
    case DEFAULT_CHARSET:
      return 11;
    default:
      return 10;
  }
}

std::string NativeLanguageName(int id) {
  if (!IsLanguageId(id)) return std::string();
  switch (PrimaryLangId(id)) {
    case LANG_CZECH:
      return Win1250("čeština");
    case LANG_SLOVAK:
      return Win1250("slovenčina");
    case LANG_POLISH:
      return "polski";
    case LANG_HUNGARIAN:
      return "magyar";
    case LANG_SLOVENIAN:
      return Win1250("slovenščina");
    case LANG_GERMAN:
      return "Deutsch";
    case LANG_ENGLISH:
      return "English";
    case LANG_FRENCH:
      return Win1250("français");
    case LANG_ITALIAN:
      return "italiano";
    default:
      return std::string();
  }
}

namespace {

struct LocaleEntry {
  const char* language;
  const char* country;  // empty: any country not listed before
  int id;
};
constexpr LocaleEntry kLocales[] = {
    {"cs", "", 0x0405},   {"sk", "", 0x041B},   {"pl", "", 0x0415},   {"hu", "", 0x040E},
    {"sl", "", 0x0424},   {"de", "AT", 0x0C07}, {"de", "CH", 0x0807}, {"de", "", 0x0407},
    {"en", "GB", 0x0809}, {"en", "IE", 0x1809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009},
    {"en", "", 0x0409},   {"fr", "", 0x040C},   {"it", "", 0x0410},   {"es", "", 0x0C0A},
    {"ru", "", 0x0419},   {"uk", "", 0x0422},
};

}  // namespace

int LanguageIdFromLocaleName(const std::string& locale) {
  // "ll_CC.codeset@modifier": language and country are what matter.
  std::string name = locale.substr(0, locale.find_first_of(".@"));
  const std::string language = LowerAscii(name.substr(0, name.find('_')));
  const size_t underscore = name.find('_');
  const std::string country =
      underscore == std::string::npos ? std::string() : UpperAscii(name.substr(underscore + 1));
  for (const auto& entry : kLocales) {
    if (language != entry.language) continue;
    if (*entry.country == 0 || country == entry.country) return entry.id;
  }
  return 0;
}

std::string LocaleLanguageOf(int id) {
  for (const auto& entry : kLocales)
    if (PrimaryLangId(entry.id) == PrimaryLangId(id)) return entry.language;
  return std::string();
}

int UserDefaultLanguageId(const EnvLookup& env) {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const auto value = env(name);
    if (value && !value->empty()) return LanguageIdFromLocaleName(*value);
  }
  return 0;
}

// ---- Windows-1250 letters ----

namespace {

// Upper-case partner of a lower-case national letter, 0 when the byte is none.
unsigned char UpperNational(unsigned char c) {
  switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9D:
    case 0x9E:
    case 0x9F:
      return static_cast<unsigned char>(c - 0x10);
    case 0xB3:
      return 0xA3;
    case 0xB9:
      return 0xA5;
    case 0xBA:
      return 0xAA;
    case 0xBE:
      return 0xBC;
    case 0xBF:
      return 0xAF;
    default:
      if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
      return 0;
  }
}

// The plain letter under an accented upper-case one ('C' for 'Č'), the byte itself otherwise.
char BaseLetter(char upper) {
  static const char kBaseC0[] = "RAAAALCCCEEEEIIDDNNOOOO*RUUUUYTS";  // 0xC0..0xDF
  const auto c = static_cast<unsigned char>(upper);
  if (c >= 0xC0 && c <= 0xDF && kBaseC0[c - 0xC0] != '*') return kBaseC0[c - 0xC0];
  switch (c) {
    case 0x8A:
    case 0x8C:
    case 0xAA:
      return 'S';
    case 0x8D:
      return 'T';
    case 0x8E:
    case 0x8F:
    case 0xAF:
      return 'Z';
    case 0xA3:
    case 0xBC:
      return 'L';
    case 0xA5:
      return 'A';
    default:
      return upper;
  }
}

}  // namespace

char UpperCp1250(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  const unsigned char u = UpperNational(static_cast<unsigned char>(c));
  return u != 0 ? static_cast<char>(u) : c;
}

std::string UpperCp1250(std::string s) {
  for (char& c : s) c = UpperCp1250(c);
  return s;
}

bool SameTextCp1250(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperCp1250(a[i]) != UpperCp1250(b[i])) return false;
  return true;
}

int CompareNamesCp1250(const std::string& a, const std::string& b) {
  // Three levels, each compared over the whole text before the next one decides.
  const auto level = [](const std::string& s, int which) {
    std::string key;
    key.reserve(s.size());
    for (char c : s) {
      const char upper = UpperCp1250(c);
      if (which == 0) key += BaseLetter(upper);
      if (which == 1) key += upper;
      // Lower case sorts before upper case.
      if (which == 2) key += (upper != c) ? '0' : '1';
    }
    return key;
  };
  for (int which = 0; which < 3; ++which) {
    const std::string ka = level(a, which), kb = level(b, which);
    if (ka != kb) {
      const auto ua = reinterpret_cast<const unsigned char*>(ka.data());
      const auto ub = reinterpret_cast<const unsigned char*>(kb.data());
      const size_t n = std::min(ka.size(), kb.size());
      for (size_t i = 0; i < n; ++i)
        if (ua[i] != ub[i]) return ua[i] < ub[i] ? -1 : 1;
      return ka.size() < kb.size() ? -1 : 1;
    }
  }
  return a == b ? 0 : (a < b ? -1 : 1);
}

}  // namespace lang
