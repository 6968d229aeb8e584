#include "ui/FileDialog.h"

#include "ui/EventLoop.h"

namespace ui {

FileDialog::FileDialog(Component* owner, std::string name, Kind kind)
    : Component(owner, std::move(name)), kind_(kind) {}

std::vector<FileDialog::FilterEntry> FileDialog::FilterEntries() const {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start <= filter_.size()) {
    const size_t bar = filter_.find('|', start);
    if (bar == std::string::npos) {
      pieces.push_back(filter_.substr(start));
      break;
    }
    pieces.push_back(filter_.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<FilterEntry> entries;
  if (filter_.empty()) return entries;
  for (size_t i = 0; i < pieces.size(); i += 2)
    entries.push_back({pieces[i], i + 1 < pieces.size() ? pieces[i + 1] : std::string()});
  return entries;
}

bool FileDialog::Execute() {
  return Loop().ExecuteFileDialog(*this);
}

}  // namespace ui
