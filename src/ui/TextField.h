#pragma once
// The editing rules of one line of text (an edit, a memo, the edit part of a combo box): caret
// and selection, the maximum length, what a typed character and the editing keys do. It holds
// no text: its owner keeps that, hands it in and raises the events when it changed.

#include <cstdint>
#include <string>

namespace ui {

class TextField {
 public:
  // What a key did.
  enum class Effect { None, Caret, Text };

  // The limit for typing and for text the user enters at once; 0: none. Code ignores it.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  // Caret and selection, counted in bytes from 0, inside text whatever it has become.
  int SelStart(const std::string& text) const;
  int SelLength(const std::string& text) const;
  std::string SelText(const std::string& text) const;
  // A new start empties the selection; a new length keeps the start.
  void SetSelStart(int start, const std::string& text);
  void SetSelLength(int length, const std::string& text);
  void SelectAll(const std::string& text);

  // Puts with in place of the selection and the caret after it (no limit: code inserts).
  void Replace(std::string& text, const std::string& with);
  // A typed character: printable ones replace the selection within the maximum length,
  // Backspace deletes the selection or the byte before the caret, Enter breaks the line of a
  // multi-line field; other control characters do nothing.
  Effect Key(char key, std::string& text, bool multiLine);
  // Arrows, Home and End move the caret; Delete deletes the selection or the byte after it.
  Effect KeyDown(uint16_t key, std::string& text);
  // The whole text entered at once: made C-style and cut to the maximum length, the caret
  // after it. False when the field takes nothing (read-only) or nothing changes.
  bool Enter(std::string& value, const std::string& current);

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  int selStart_ = 0;
  int selLength_ = 0;
};

}  // namespace ui
