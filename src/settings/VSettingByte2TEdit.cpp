#include "settings/VSettingByte2TEdit.h"

#include "settings/NumberText.h"

// ---- VSettingByte2TEdit ----

VSettingByte2TEdit::VSettingByte2TEdit(VSettingByte* parent, ui::Edit* edit)
    : VSettingByteDependant(parent) {
  edit_.handle(&ui::Control::OnChange, [this] { onChange(); });
  edit_.handle(&ui::Control::OnEnter, [this] { onEnter(); });
  edit_.handle(&ui::Control::OnExit, [this] { onLeave(); });
  edit_.handle(&ui::Control::OnKeyPress, [this](char& key) { onKeyPress(key); });
  edit_.attach(edit);
  paint();
}

void VSettingByte2TEdit::attachEdit(ui::Edit* edit) {
  edit_.attach(edit);
  showValue();
  paint();
}

void VSettingByte2TEdit::detachControl() {
  edit_.detach([](ui::Edit& e) { e.SetText(""); });
}

bool VSettingByte2TEdit::commitValue() {
  if (accepted_ == value_) return false;
  accepted_ = value_;
  return true;
}

bool VSettingByte2TEdit::restoreValue() {
  if (value_ == accepted_) return false;
  value_ = accepted_;
  return true;
}

bool VSettingByte2TEdit::isEditorInvalid() {
  if (!edit_) {
    error_ = false;
    return false;
  }
  const uint8_t v = textToValue(edit_->Text(), error_);
  return error_ || v != value_;
}

bool VSettingByte2TEdit::showValue() {
  if (!edit_) return false;
  bool e = false;
  const uint8_t v = textToValue(edit_->Text(), e);
  {
    settings::UpdatingScope scope(updating_);
    edit_->SetText(valueToText(value_));
  }
  return e || v != value_;
}

bool VSettingByte2TEdit::takeValue() {
  if (!edit_) return error_;
  const bool old = error_;
  const uint8_t v = textToValue(edit_->Text(), error_);
  if (error_ != old) markDirty();
  if (v == value_) return error_ != old;
  value_ = v;
  return true;
}

void VSettingByte2TEdit::paint() {
  if (!edit_) return;
  edit_->SetFontColor(colour_);
  edit_->SetEnabled(true);
}

bool VSettingByte2TEdit::setValue(uint8_t value) {
  if (value == value_) return false;
  value_ = value;
  return true;
}

// ---- VSettingByte2Interval ----

VSettingByte2Interval::VSettingByte2Interval(VSettingByte* parent, ui::Edit* edit, uint8_t minimum,
                                             uint8_t maximum)
    : VSettingByte2TEdit(parent, edit), minimum_(minimum), maximum_(maximum) {}

uint8_t VSettingByte2Interval::textToValue(const std::string& text, bool& error) {
  int v = parseNumber(text, 1, error, true);
  if (error) v = value_;
  if (v < minimum_) {
    error = true;
    v = minimum_;
  } else if (v > maximum_) {
    error = true;
    v = maximum_;
  }
  return static_cast<uint8_t>(v);
}

std::string VSettingByte2Interval::valueToText(uint8_t value) {
  return std::to_string(value);
}

// ---- VSettingByte2ValidityPeriod ----

uint8_t VSettingByte2ValidityPeriod::textToValue(const std::string& text, bool& error) {
  return textToValidityPeriod(text, error);
}

std::string VSettingByte2ValidityPeriod::valueToText(uint8_t value) {
  return validityPeriodToText(value);
}

// ---- VSettingByte2Tenths ----

uint8_t VSettingByte2Tenths::textToValue(const std::string& text, bool& error) {
  int v = parseNumber(text, 10, error, false);
  if (error) v = value_;
  if (v < 0) {
    error = true;
    v = 0;
  } else if (v > 255) {
    error = true;
    v = 255;
  }
  return static_cast<uint8_t>(v);
}

std::string VSettingByte2Tenths::valueToText(uint8_t value) {
  return formatFixed(value, 10);
}

// ---- VSettingByte2ButButEdit ----

VSettingByte2ButButEdit::VSettingByte2ButButEdit(VSettingByte* parent,
                                                 ui::RadioButton* unlimitedButton,
                                                 ui::RadioButton* limitButton, ui::Edit* edit)
    : VSettingByte2Interval(parent, edit, 0, 31) {
  unlimited_.handle(&ui::Control::OnClick, [this] { buttonClicked(unlimited_.get()); });
  limit_.handle(&ui::Control::OnClick, [this] { buttonClicked(limit_.get()); });
  unlimited_.reset(unlimitedButton);
  limit_.reset(limitButton);
  resetEdit();
}

void VSettingByte2ButButEdit::resetEdit() {
  if (!edit_) return;
  {
    settings::UpdatingScope scope(updating_);
    edit_->SetText("1");
  }
  edit_->SetEnabled(false);
}

void VSettingByte2ButButEdit::attachButtons(ui::RadioButton* unlimitedButton,
                                            ui::RadioButton* limitButton) {
  // Both let go first: the new pair may be the old one swapped.
  unlimited_.reset(nullptr);
  limit_.reset(nullptr);
  unlimited_.reset(unlimitedButton);
  limit_.reset(limitButton);
  resetEdit();
}

void VSettingByte2ButButEdit::buttonClicked(ui::RadioButton* button) {
  if (updating_ != 0) return;
  {
    settings::UpdatingScope scope(updating_);
    if (button == unlimited_.get()) {
      if (limit_) limit_->SetChecked(false);
      if (edit_) edit_->SetEnabled(false);
    } else {
      if (unlimited_) unlimited_->SetChecked(false);
      if (edit_) edit_->SetEnabled(true);
    }
  }
  if (takeValue()) childChanged(this);
}

bool VSettingByte2ButButEdit::isEditorInvalid() {
  uint8_t v = 0;
  if (limited() && edit_)
    v = textToValue(edit_->Text(), error_);
  else
    error_ = false;
  return error_ || v != value_;
}

bool VSettingByte2ButButEdit::showValue() {
  uint8_t v = 0;
  bool e = false;
  if (limited() && edit_) v = textToValue(edit_->Text(), e);
  {
    settings::UpdatingScope scope(updating_);
    if (value_ != 0) {
      if (limit_) limit_->SetChecked(true);
      if (unlimited_) unlimited_->SetChecked(false);
      if (edit_) {
        edit_->SetEnabled(true);
        edit_->SetText(valueToText(value_));
      }
    } else {
      if (unlimited_) unlimited_->SetChecked(true);
      if (limit_) limit_->SetChecked(false);
      if (edit_) edit_->SetEnabled(false);
    }
  }
  return e || v != value_;
}

bool VSettingByte2ButButEdit::takeValue() {
  const bool old = error_;
  uint8_t v = 0;
  if (limited() && edit_)
    v = textToValue(edit_->Text(), error_);
  else
    error_ = false;
  if (error_ != old) markDirty();
  if (v == value_) return error_ != old;
  value_ = v;
  return true;
}

void VSettingByte2ButButEdit::paint() {
  // The edit stays disabled while "unlimited" is chosen, whatever the colour.
  if (!edit_) return;
  edit_->SetFontColor(colour_);
  edit_->SetEnabled(limited());
}
