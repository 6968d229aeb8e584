#pragma once
// Check boxes bound to bits (VSettingBit2Check) and to whole bytes (VSettingByte2GroupCheck), and
// the number marks of their language texts (ReplaceNumberMarks).

#include <string>

#include "settings/ControlHandle.h"
#include "settings/VSettingByte.h"
#include "ui/Controls.h"

// A check box showing one bit. Inverted: checked means 0. The hint and the caption come from the
// language section "EEPROM" when the tree is retranslated, with every "%d" replaced by a number.
class VSettingBit2Check : public VSettingBitDependant {
 public:
  // captionNumber -2 stands for the hint number. Empty keys leave hint or caption alone.
  VSettingBit2Check(VSettingBit* parent, ui::CheckBox* checkBox, std::string hintKey = {},
                    std::string hintDefault = {}, int hintNumber = 0, bool disabled = false,
                    bool inverted = false, std::string captionKey = {},
                    std::string captionDefault = {}, int captionNumber = -2);

  bool retranslate() override;
  void detachControl() override;
  bool isModified() override { return value_ != accepted_; }
  bool commitValue() override;
  bool restoreValue() override;
  bool isEditorInvalid() override;
  bool showValue() override;
  bool takeValue() override;
  void paint() override;
  uint8_t getValue() override { return value_ ? 1 : 0; }
  bool setValue(uint8_t value) override;

  // Binds another check box (the old one is left to its window).
  virtual void attachCheckBox(ui::CheckBox* checkBox);
  ui::CheckBox* checkBox() const { return checkBox_.get(); }

 private:
  // The bit the box shows.
  bool shown() const { return checkBox_->Checked() != inverted_; }

  bool value_ = false;
  bool accepted_ = false;
  settings::OwnedControl<ui::CheckBox> checkBox_{this, updating_};
  bool disabled_;
  bool inverted_;
  std::string hintKey_;
  std::string hintDefault_;
  int hintNumber_;
  std::string captionKey_;
  std::string captionDefault_;
  int captionNumber_;
};

// One check box for a whole byte (the "all" box above a column): unchecked for 0x00, checked for
// 0xFF, greyed for anything else. Clicking it sets or clears all eight bits.
class VSettingByte2GroupCheck : public VSettingByteDependant {
 public:
  VSettingByte2GroupCheck(VSettingByte* parent, ui::CheckBox* checkBox);

  void detachControl() override;
  bool isModified() override { return value_ != accepted_; }
  bool commitValue() override;
  bool restoreValue() override;
  bool isEditorInvalid() override;
  bool showValue() override;
  bool takeValue() override;
  void paint() override;
  uint8_t getValue() override;
  bool setValue(uint8_t value) override;

  ui::CheckBox* checkBox() const { return checkBox_.get(); }

 private:
  ui::CheckState accepted_ = ui::CheckState::Unchecked;
  ui::CheckState value_ = ui::CheckState::Unchecked;
  settings::OwnedControl<ui::CheckBox> checkBox_{this, updating_};
};

// "%d" replaced by the decimal number until none is left.
std::string ReplaceNumberMarks(std::string text, int number);
