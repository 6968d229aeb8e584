#include "settings/VSettingBit2Check.h"

#include "base/LangText.h"

std::string ReplaceNumberMarks(std::string text, int number) {
  const std::string digits = std::to_string(number);
  // Each round removes one "%", so this ends whatever the text.
  for (size_t at = text.find("%d"); at != std::string::npos; at = text.find("%d"))
    text.replace(at, 2, digits);
  return text;
}

// ---- VSettingBit2Check ----

VSettingBit2Check::VSettingBit2Check(VSettingBit* parent, ui::CheckBox* checkBox,
                                     std::string hintKey, std::string hintDefault, int hintNumber,
                                     bool disabled, bool inverted, std::string captionKey,
                                     std::string captionDefault, int captionNumber)
    : VSettingBitDependant(parent),
      disabled_(disabled),
      inverted_(inverted),
      hintKey_(std::move(hintKey)),
      hintDefault_(std::move(hintDefault)),
      hintNumber_(hintNumber),
      captionKey_(std::move(captionKey)),
      captionDefault_(std::move(captionDefault)),
      captionNumber_(captionNumber == -2 ? hintNumber : captionNumber) {
  checkBox_.handle(&ui::Control::OnClick, [this] { editorChanged(); });
  checkBox_.handle(&ui::Control::OnExit, [this] { editorLeft(); });
  checkBox_.attach(checkBox);
  paint();
}

bool VSettingBit2Check::retranslate() {
  if (!checkBox_) return false;
  if (!hintKey_.empty())
    checkBox_->SetHint(
        ReplaceNumberMarks(GetLangText("EEPROM", hintKey_, hintDefault_), hintNumber_));
  if (!captionKey_.empty())
    checkBox_->SetCaption(
        ReplaceNumberMarks(GetLangText("EEPROM", captionKey_, captionDefault_), captionNumber_));
  return false;
}

void VSettingBit2Check::detachControl() {
  checkBox_.detach([](ui::CheckBox& box) { box.SetChecked(false); });
}

void VSettingBit2Check::attachCheckBox(ui::CheckBox* checkBox) {
  checkBox_.attach(checkBox);
  showValue();
  paint();
  retranslate();
}

bool VSettingBit2Check::commitValue() {
  if (accepted_ == value_) return false;
  accepted_ = value_;
  return true;
}

bool VSettingBit2Check::restoreValue() {
  if (value_ == accepted_) return false;
  value_ = accepted_;
  return true;
}

bool VSettingBit2Check::isEditorInvalid() {
  error_ = checkBox_ ? shown() != value_ : false;
  return error_;
}

bool VSettingBit2Check::showValue() {
  if (!checkBox_ || shown() == value_) return false;
  settings::UpdatingScope scope(updating_);
  checkBox_->SetChecked(value_ != inverted_);
  return true;
}

bool VSettingBit2Check::takeValue() {
  if (checkBox_ && shown() != value_) {
    value_ = shown();
    return true;
  }
  if (error_) {
    error_ = false;
    markDirty();
    return true;
  }
  return false;
}

void VSettingBit2Check::paint() {
  if (!checkBox_) return;
  checkBox_->SetFontColor(colour_);
  checkBox_->SetEnabled(!disabled_);
}

bool VSettingBit2Check::setValue(uint8_t value) {
  const bool v = value != 0;
  if (v == value_) return false;
  value_ = v;
  return true;
}

// ---- VSettingByte2GroupCheck ----

VSettingByte2GroupCheck::VSettingByte2GroupCheck(VSettingByte* parent, ui::CheckBox* checkBox)
    : VSettingByteDependant(parent) {
  checkBox_.handle(&ui::Control::OnClick, [this] { editorChanged(); });
  checkBox_.handle(&ui::Control::OnExit, [this] { editorLeft(); });
  // Taken as it is: the box keeps the visibility its page gave it.
  checkBox_.reset(checkBox);
  paint();
}

void VSettingByte2GroupCheck::detachControl() {
  checkBox_.detach([](ui::CheckBox& box) { box.SetState(ui::CheckState::Unchecked); });
}

bool VSettingByte2GroupCheck::commitValue() {
  if (accepted_ == value_) return false;
  accepted_ = value_;
  return true;
}

bool VSettingByte2GroupCheck::restoreValue() {
  if (value_ == accepted_) return false;
  value_ = accepted_;
  return true;
}

bool VSettingByte2GroupCheck::isEditorInvalid() {
  error_ = checkBox_ && checkBox_->State() != value_;
  return error_;
}

bool VSettingByte2GroupCheck::showValue() {
  if (!checkBox_ || checkBox_->State() == value_) return false;
  settings::UpdatingScope scope(updating_);
  checkBox_->SetState(value_);
  return true;
}

bool VSettingByte2GroupCheck::takeValue() {
  if (!checkBox_ || checkBox_->State() == value_) return false;
  value_ = checkBox_->State();
  return true;
}

void VSettingByte2GroupCheck::paint() {
  if (!checkBox_) return;
  checkBox_->SetFontColor(colour_);
  checkBox_->SetEnabled(true);
}

uint8_t VSettingByte2GroupCheck::getValue() {
  return value_ == ui::CheckState::Unchecked ? 0x00 : 0xFF;
}

bool VSettingByte2GroupCheck::setValue(uint8_t value) {
  const ui::CheckState state = value == 0x00   ? ui::CheckState::Unchecked
                               : value == 0xFF ? ui::CheckState::Checked
                                               : ui::CheckState::Grayed;
  if (state == value_) return false;
  value_ = state;
  return true;
}
