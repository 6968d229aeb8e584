#include "ui/TextControl.h"

namespace ui {

void TextControl::SetMaxLength(int length) {
  field_.SetMaxLength(length);
  Notify(Prop::MaxLength);
}

void TextControl::SetSelStart(int start) {
  field_.SetSelStart(start, Text());
  Notify(Prop::Selection);
}

void TextControl::SetSelLength(int length) {
  field_.SetSelLength(length, Text());
  Notify(Prop::Selection);
}

void TextControl::SelectAll() {
  field_.SelectAll(Text());
  Notify(Prop::Selection);
}

void TextControl::Edited(TextField::Effect effect, const std::string& text) {
  if (effect == TextField::Effect::None) return;
  if (effect == TextField::Effect::Text) SetTextRaw(text);
  Notify(Prop::Selection);
  if (effect != TextField::Effect::Text) return;
  TextEdited();
  DoChange();
}

void TextControl::ReplaceSelection(const std::string& with) {
  std::string text = Text();
  field_.Replace(text, with);
  Edited(TextField::Effect::Text, text);
}

void TextControl::ApplyKey(char key) {
  if (!Editable()) return;
  std::string text = Text();
  Edited(field_.Key(key, text, MultiLine()), text);
}

void TextControl::ApplyKeyDown(uint16_t key, unsigned /*shift*/) {
  if (!Editable()) return;
  std::string text = Text();
  Edited(field_.KeyDown(key, text), text);
}

void TextControl::UserSetText(const std::string& text) {
  if (!UserCanAct() || !Editable()) return;
  UserScope scope(*this);
  std::string value = text;
  if (!field_.Enter(value, Text())) return;
  SetTextRaw(value);
  TextEdited();
  DoChange();
}

}  // namespace ui
