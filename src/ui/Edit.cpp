#include "ui/Edit.h"

namespace ui {

// ---- Edit ----

Edit::Edit(Component* owner, std::string name) : TextControl(owner, std::move(name)) {
  SetTabStop(true);
  SetBackColor(clWindow);
}

void Edit::SetReadOnly(bool readOnly) {
  Field().SetReadOnly(readOnly);
  Notify(Prop::ReadOnly);
}

void Edit::UserType(const std::string& text) {
  for (char c : text) UserKey(c);
}

void Edit::UserReplace(const std::string& text) {
  if (!UserCanAct()) return;
  UserFocus();
  SelectAll();
  if (text.empty()) {
    UserKey('\b');
    return;
  }
  UserType(text);
}

// ---- Memo ----

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  const std::string& t = Text();
  if (t.empty()) return lines;
  size_t start = 0;
  while (true) {
    const size_t end = t.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < t.size()) lines.push_back(t.substr(start));
      break;
    }
    lines.push_back(t.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string t;
  for (size_t i = 0; i < lines.size(); ++i) {
    t += CText(lines[i]);
    t += "\r\n";
  }
  SetText(t);
}

void Memo::AddLine(const std::string& line) {
  auto lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

int Memo::LineCount() const {
  return static_cast<int>(Lines().size());
}

}  // namespace ui
