#pragma once
// A group followed by one checksum byte: 1 plus the sum of the group's bytes, modulo 256 (the
// unit's own additive check, not a polynomial code). With "write bad CRC" on, the sum starts at
// 0x80 instead, so the unit sees a wrong checksum; reading never rejects a checksum, so such
// configurations still load.

#include "eeprom/VEepSettingGroup.h"

class VESGVorCRC : public VEepSettingGroup {
 public:
  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  bool read(VConfigByteArray& image, int& position, int length) override;
};
