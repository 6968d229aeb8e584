#pragma once
// The base of the controls whose text the user edits in place: the edits and the combo box.

#include <cstdint>
#include <string>

#include "ui/Control.h"
#include "ui/TextField.h"

namespace ui {

// Holds the text field's caret, selection and limit, applies its keys to the control's text
// and raises what the change raises.
class TextControl : public Control {
 public:
  using Control::Control;

  // The limit for typing and for UserSetText; 0: none. Code setting the text ignores it.
  int MaxLength() const { return field_.MaxLength(); }
  void SetMaxLength(int length);

  // Caret and selection, counted in bytes from 0 and kept inside the text whatever it
  // changes to.
  int SelStart() const { return field_.SelStart(Text()); }
  int SelLength() const { return field_.SelLength(Text()); }
  void SetSelStart(int start);
  void SetSelLength(int length);
  void SelectAll();
  std::string SelText() const { return field_.SelText(Text()); }

  // "User did": the whole text edited at once, as a view reports an edit (one OnChange, the
  // caret after the text); the maximum length applies.
  void UserSetText(const std::string& text);

 protected:
  void ApplyKey(char key) override;
  void ApplyKeyDown(uint16_t key, unsigned shift) override;
  virtual bool MultiLine() const { return false; }
  // False while the text takes no keys and no edits (a combo box that is a list only).
  virtual bool Editable() const { return true; }
  // The text changed by the user, before OnChange.
  virtual void TextEdited() {}
  // Puts text in place of the selection, as typing it would, but without the limit.
  void ReplaceSelection(const std::string& with);
  TextField& Field() { return field_; }
  const TextField& Field() const { return field_; }

 private:
  void Edited(TextField::Effect effect, const std::string& text);

  TextField field_;
};

}  // namespace ui
