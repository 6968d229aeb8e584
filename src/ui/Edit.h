#pragma once
// The edits: a single line and the memo built on it.

#include <string>
#include <vector>

#include "ui/TextControl.h"

namespace ui {

// Single-line edit; the base of the memo. Setting the text in code raises OnChange when it
// differs; the maximum length limits typing only, as in the platform's edits.
class Edit : public TextControl {
 public:
  Edit(Component* owner, std::string name = {});
  const char* ClassName() const override { return "TEdit"; }
  bool CanFocus() const override { return true; }

  bool ReadOnly() const { return Field().ReadOnly(); }
  void SetReadOnly(bool readOnly);

  // "User did": types the characters one by one, each through the key handlers.
  void UserType(const std::string& text);
  // "User did": selects everything and types the text (what a person does to replace a field).
  void UserReplace(const std::string& text);

 protected:
  bool TextRaisesChange() const override { return true; }
};

// Multi-line edit; its text is its lines joined with CR LF.
class Memo : public Edit {
 public:
  using Edit::Edit;
  const char* ClassName() const override { return "TMemo"; }
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  int LineCount() const;

 protected:
  bool MultiLine() const override { return true; }
};

}  // namespace ui
