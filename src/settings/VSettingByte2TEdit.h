#pragma once
// Bytes that the user types as numbers: the validity period of the unit's messages, the pulse
// length in tenths of a second, the number of attempts to send a message. The editors differ only
// in how text and byte convert into each other; invalid text still yields a usable byte (the
// current value, or the value clamped into range) and shows red. Here: the base VSettingByte2TEdit
// and its kinds VSettingByte2Interval, VSettingByte2ValidityPeriod, VSettingByte2Tenths and
// VSettingByte2ButButEdit.

#include <string>

#include "settings/ControlHandle.h"
#include "settings/VSettingByte.h"
#include "ui/Controls.h"

class VSettingByte2TEdit : public VSettingByteDependant {
 public:
  VSettingByte2TEdit(VSettingByte* parent, ui::Edit* edit);

  void detachControl() override;
  bool isModified() override { return value_ != accepted_; }
  bool commitValue() override;
  bool restoreValue() override;
  bool isEditorInvalid() override;
  bool showValue() override;
  bool takeValue() override;
  void paint() override;
  uint8_t getValue() override { return value_; }
  bool setValue(uint8_t value) override;

  // The editor protocol, bound to the edit's events.
  virtual void onChange() { editorChanged(); }
  virtual void onEnter() {}
  virtual void onLeave() { editorLeft(); }
  virtual void onKeyPress(char& key) { editorKey(key, edit_.get()); }
  // The byte for a text; error tells whether the text was acceptable.
  virtual uint8_t textToValue(const std::string& text, bool& error) = 0;
  virtual std::string valueToText(uint8_t value) = 0;
  // Binds another edit (the old one is left to its window).
  virtual void attachEdit(ui::Edit* edit);

  ui::Edit* edit() const { return edit_.get(); }

 protected:
  uint8_t accepted_ = 0;
  uint8_t value_ = 0;
  settings::OwnedControl<ui::Edit> edit_{this, updating_};
};

// An integer from minimum to maximum.
class VSettingByte2Interval : public VSettingByte2TEdit {
 public:
  VSettingByte2Interval(VSettingByte* parent, ui::Edit* edit, uint8_t minimum, uint8_t maximum);
  uint8_t textToValue(const std::string& text, bool& error) override;
  std::string valueToText(uint8_t value) override;

 protected:
  uint8_t minimum_;
  uint8_t maximum_;
};

// The relative validity period of the unit's messages (days, or an interval such as "4t 2d").
class VSettingByte2ValidityPeriod : public VSettingByte2TEdit {
 public:
  VSettingByte2ValidityPeriod(VSettingByte* parent, ui::Edit* edit)
      : VSettingByte2TEdit(parent, edit) {}
  uint8_t textToValue(const std::string& text, bool& error) override;
  std::string valueToText(uint8_t value) override;
};

// Tenths of a unit with one decimal, 0 to 25,5 ("2,5" and "2.5" both give 25).
class VSettingByte2Tenths : public VSettingByte2TEdit {
 public:
  VSettingByte2Tenths(VSettingByte* parent, ui::Edit* edit) : VSettingByte2TEdit(parent, edit) {}
  uint8_t textToValue(const std::string& text, bool& error) override;
  std::string valueToText(uint8_t value) override;
};

// The number of attempts: 0 is unlimited (one radio button), 1 to 31 a limit typed into the edit
// next to the other radio button. The edit is enabled only while the limit is chosen.
class VSettingByte2ButButEdit : public VSettingByte2Interval {
 public:
  VSettingByte2ButButEdit(VSettingByte* parent, ui::RadioButton* unlimitedButton,
                          ui::RadioButton* limitButton, ui::Edit* edit);

  bool isEditorInvalid() override;
  bool showValue() override;
  bool takeValue() override;
  void paint() override;
  // Binds other buttons (the old ones are left to their window).
  virtual void attachButtons(ui::RadioButton* unlimitedButton, ui::RadioButton* limitButton);

  ui::RadioButton* unlimitedButton() const { return unlimited_.get(); }
  ui::RadioButton* limitButton() const { return limit_.get(); }

 private:
  void buttonClicked(ui::RadioButton* button);
  bool limited() const { return limit_ && limit_->Checked(); }
  void resetEdit();

  settings::OwnedControl<ui::RadioButton> unlimited_{this, updating_};
  settings::OwnedControl<ui::RadioButton> limit_{this, updating_};
};
