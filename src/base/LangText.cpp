#include "base/LangText.h"

namespace lang {
static TextSource* g_source = nullptr;
TextSource* TextSourceGlobal::Get() {
  return g_source;
}
void TextSourceGlobal::Set(TextSource* source) {
  g_source = source;
}
}  // namespace lang

std::string GetLangText(const std::string& section, const std::string& key,
                        const std::string& defaultText, int index, int languageId) {
  if (lang::g_source == nullptr) return defaultText;
  return lang::g_source->GetLangText(section, key, defaultText, index, languageId);
}
