// links: kx2_lang kx2_components kx2_ui kx2_base
// libFuzzer target: arbitrary bytes as language files, through the parser, the look-ups with
// their fallback, the store and the icon reader. Anything but a clean return is a finding.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Qelutils.h"
#include "lang/LangIcon.h"
#include "lang/LngFile.h"
#include "lang/VQelLanguage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // Up to the first 0 byte: a selectable language; after it: a neutral one.
  const size_t zero = input.find('\0');
  const std::string selectable = input.substr(0, zero);
  const std::string neutral = zero == std::string::npos ? std::string() : input.substr(zero + 1);

  lang::Lines lines = lang::SplitLines(selectable);
  for (const auto& line : lines) {
    lang::DecodeLngValue(line);
    lang::ParseLanguageId(line);
    if (lang::IsLngHeader(line)) {
      const std::string section = line.substr(1, line.size() - 2);
      lang::FindLngValue(lines, section, "Key");
      lang::ReadProfileString(lines, section, "LanguageId");
    }
  }
  if (auto icon = lang::FindLngValue(lines, "General", "IconString"))
    lang::DecodeIconFile(HexaStringToBytes(lang::DecodeLngValue(*icon)));
  lang::DecodeIconFile(input);

  lang::VQelLanguage language(nullptr, "Fuzz");
  language.SetCfgDirectory("/nonexistent/kx2-fuzz");
  language.SetStartupLanguages(
      {selectable, "[General]\r\nLanguageId=0x0809\r\n[Texts]\r\nKey=\"x\"\r\n"});
  language.SetStartupAnyLanguages({neutral});
  language.Loaded();
  for (const char* key : {"CommPortBlocked", "Key", "LanguageId", "*", "?", ""}) {
    language.GetLangText("Texts", key, "default");
    language.GetLangText("General", key, "default", 0);
    language.GetLangText("Texts", key, "default", -1, 0);
  }
  language.SetCurrLanguage(language.GetCurrLanguage());
  language.SetLangText("Texts", "Stored", "value \"quoted\"");
  language.GetLangText("Texts", "Stored", "");
  lang::WriteProfileString(lines, "General", "LanguageId", "1");
  lang::StoreLngValue(lines, "Texts", "Key", selectable.substr(0, 64));
  return 0;
}
