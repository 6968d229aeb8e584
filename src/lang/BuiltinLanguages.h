#pragma once
// The two languages built into the program, Czech and English (United Kingdom), as the full
// texts of their language files (Windows-1250, lines ended by CR LF). They define every key the
// program looks up; the Czech texts are also the defaults the program passes with each look-up.

#include <string>
#include <vector>

namespace lang {

// Czech first, then English: the language component's StartupLanguages.
std::vector<std::string> BuiltinLanguageTexts();
std::string BuiltinCzechText();
std::string BuiltinEnglishText();

}  // namespace lang
