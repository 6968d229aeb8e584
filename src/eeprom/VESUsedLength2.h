#pragma once
// The configuration's used length as a 16-bit word, high byte first (the unit reads it that way,
// unlike the addresses). On reading the stored value is skipped: the length comes from the layout.

#include "eeprom/VEepSetting.h"

class VESUsedLength2 : public VEepSetting {
 public:
  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  bool read(VConfigByteArray& image, int& position, int length) override;
};
