#include "base/TStrings.h"

#include "base/Qelutils.h"

int TStringList::IndexOf(const std::string& text) const {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (SameTextAscii(items[i].text, text)) return static_cast<int>(i);
  }
  return -1;
}
