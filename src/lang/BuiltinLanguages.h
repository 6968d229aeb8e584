#pragma once
// The two languages built into the program, Czech and English (United Kingdom), as the full
// texts of their language files (Windows-1250, lines ended by CR LF). They define every key the
// program looks up. The Czech language is the program's table of Czech texts: the default passed
// with each look-up is the same text (test_lang reads every call site and holds them to it), so
// a language without a key shows what Czech shows.

#include <string>
#include <vector>

namespace lang {

// Czech first, then English: the language component's StartupLanguages.
std::vector<std::string> BuiltinLanguageTexts();
std::string BuiltinCzechText();
std::string BuiltinEnglishText();

}  // namespace lang
