#pragma once
// A phone number of the phone book, held in the unit's packed form (PhoneNumber.h) with its final
// 0 byte, and its edit, which converts between that form and the text the user types.

#include "settings/VSVBA2TEdit.h"
#include "settings/VSettingVarByteArray.h"

class VSVBA_TelNumPDU : public VSettingVarByteArray {
 public:
  class Me2Eep;
  // Starts as the empty number, the single byte 0, both as value and as accepted value.
  explicit VSVBA_TelNumPDU(VSetting* parent);
};

// The number's bytes already end with their 0 byte: written as they are, measured up to and
// including the first 0 byte, read whole.
class VSVBA_TelNumPDU::Me2Eep : public VSettingVarByteArray2Eep {
 public:
  using VSettingVarByteArray2Eep::VSettingVarByteArray2Eep;
  // Bytes that do not end with the 0 byte (or hold one early) would shift everything after the
  // number: the number is stored up to its first 0 byte, and a 0 byte is added if it has none.
  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
};

class VSVBA_TelNumPDU2TEdit : public VSVBA2TEdit {
 public:
  VSVBA_TelNumPDU2TEdit(VSVBA_TelNumPDU* parent, ui::Edit* edit) : VSVBA2TEdit(parent, edit) {}
  std::string bytesToText(const uint8_t* data, int length) override;
  void textToBytes(const std::string& text, bool& error) override;
};
