#include "ui/TextField.h"

#include <algorithm>

#include "ui/Control.h"
#include "ui/Types.h"

namespace ui {

namespace {

int Size(const std::string& text) {
  return static_cast<int>(text.size());
}

}  // namespace

void TextField::SetMaxLength(int length) {
  maxLength_ = std::max(0, length);
}

int TextField::SelStart(const std::string& text) const {
  return std::clamp(selStart_, 0, Size(text));
}

int TextField::SelLength(const std::string& text) const {
  return std::clamp(selLength_, 0, Size(text) - SelStart(text));
}

std::string TextField::SelText(const std::string& text) const {
  return text.substr(static_cast<size_t>(SelStart(text)), static_cast<size_t>(SelLength(text)));
}

void TextField::SetSelStart(int start, const std::string& text) {
  selStart_ = std::clamp(start, 0, Size(text));
  selLength_ = 0;
}

void TextField::SetSelLength(int length, const std::string& text) {
  selStart_ = SelStart(text);
  selLength_ = std::clamp(length, 0, Size(text) - selStart_);
}

void TextField::SelectAll(const std::string& text) {
  selStart_ = 0;
  selLength_ = Size(text);
}

void TextField::Replace(std::string& text, const std::string& with) {
  const int start = SelStart(text);
  text.replace(static_cast<size_t>(start), static_cast<size_t>(SelLength(text)), with);
  selStart_ = start + Size(with);
  selLength_ = 0;
}

TextField::Effect TextField::Key(char key, std::string& text, bool multiLine) {
  if (readOnly_) return Effect::None;
  if (key == '\b') {
    SetSelLength(selLength_, text);
    if (selLength_ == 0 && selStart_ > 0) {
      --selStart_;
      selLength_ = 1;
    }
    if (selLength_ == 0) return Effect::None;
    Replace(text, "");
    return Effect::Text;
  }
  if (key == '\r') {
    if (!multiLine) return Effect::None;
    Replace(text, "\r\n");
    return Effect::Text;
  }
  if (static_cast<unsigned char>(key) < 0x20) return Effect::None;  // Escape, Tab, control keys
  if (maxLength_ > 0 && Size(text) - SelLength(text) + 1 > maxLength_) return Effect::None;
  Replace(text, std::string(1, key));
  return Effect::Text;
}

TextField::Effect TextField::KeyDown(uint16_t key, std::string& text) {
  const int start = SelStart(text);
  switch (key) {
    case VK_LEFT:
      SetSelStart(start - 1, text);
      return Effect::Caret;
    case VK_RIGHT:
      SetSelStart(start + SelLength(text) + 1, text);
      return Effect::Caret;
    case VK_HOME:
      SetSelStart(0, text);
      return Effect::Caret;
    case VK_END:
      SetSelStart(Size(text), text);
      return Effect::Caret;
    case VK_DELETE:
      if (readOnly_) return Effect::None;
      SetSelLength(selLength_ == 0 ? 1 : selLength_, text);
      if (selLength_ == 0) return Effect::None;
      Replace(text, "");
      return Effect::Text;
    default:
      return Effect::None;
  }
}

bool TextField::Enter(std::string& value, const std::string& current) {
  if (readOnly_) return false;
  value = CText(value);
  if (maxLength_ > 0 && Size(value) > maxLength_) value.resize(static_cast<size_t>(maxLength_));
  if (value == current) return false;
  selStart_ = Size(value);
  selLength_ = 0;
  return true;
}

}  // namespace ui
