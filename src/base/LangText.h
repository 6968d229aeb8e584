#pragma once
// Text look-up of the active language. Every user-visible text of the program goes through
// GetLangText with its section, key and the built-in Czech default; without an active language
// (or before the language component exists) the default comes back unchanged.

#include <string>

namespace lang {

class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual std::string GetLangText(const std::string& section, const std::string& key,
                                  const std::string& defaultText, int index, int languageId) = 0;
};

// The language component registers itself here while it exists.
void SetTextSource(TextSource* source);
TextSource* GetTextSource();

}  // namespace lang

// index < 0: no index (otherwise the key becomes key "_" index); languageId -1: the active
// language, else the language with that id.
std::string GetLangText(const std::string& section, const std::string& key,
                        const std::string& defaultText, int index = -1, int languageId = -1);
