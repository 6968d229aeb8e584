#pragma once
// The base of the editors that show a byte string as text (VSVBA2TEdit, VSVBA2TComboBox). It keeps
// the editor's copy of the bytes; subclasses say how bytes and text convert (bytesToText,
// textToBytes). Text that cannot be converted still gives bytes (those before the fault) and shows
// red.

#include <string>

#include "settings/VSettingVarByteArray.h"

class VSettingVarByteArray2String : public VSettingVarByteArrayDependant {
 public:
  explicit VSettingVarByteArray2String(VSettingVarByteArray* parent);

  bool isModified() override { return !value_.EqualsBuffer(accepted_); }
  bool commitValue() override;
  bool restoreValue() override;
  bool setBytes(const uint8_t* data, int length) override;
  const TInputBuffer& getBytes() override { return value_; }

  // The text shown for bytes: by default the bytes themselves.
  virtual std::string bytesToText(const uint8_t* data, int length);
  // Converts text into `parsed`: by default the characters themselves, never an error.
  virtual void textToBytes(const std::string& text, bool& error);

  std::string valueText() { return bytesToText(value_.Data(), static_cast<int>(value_.Length())); }

 protected:
  bool parsedEqualsValue() const { return parsed_.EqualsBuffer(value_); }
  void setParsed(const std::string& bytes);
  // Whether a control's text is invalid or stands for other bytes than the value.
  bool textDiffers(const std::string& text);
  // Takes a control's text as the value (see takeValue).
  bool takeText(const std::string& text);

  TInputBuffer accepted_;
  TInputBuffer value_;
  TInputBuffer parsed_;
};
