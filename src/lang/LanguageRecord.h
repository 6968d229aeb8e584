#pragma once
// One language known to the language component: where it came from, how it is shown, and the
// lines of its language file(s) as read and merged.

#include <string>
#include <vector>

namespace lang {

class VQelLanguage;

struct LanguageRecord {
  VQelLanguage* owner = nullptr;
  std::string displayName;
  int charset = 1;  // DEFAULT_CHARSET
  int languageId = -1;
  int iconIndex = -1;    // in the component's image list; -1: none
  std::string path;      // file first read from; empty for a built-in language
  std::string fileName;  // from FileName, or of the file found
  bool userDefault = false;
  bool fromFile = false;  // created from a file in the latest scan
  std::vector<std::string> lines;

  bool BuiltIn() const { return path.empty(); }
};

}  // namespace lang
