#pragma once
// A constant byte. A memory image with another value there is not a configuration of this layout.

#include "eeprom/VEepSetting.h"

class VESFixedByte : public VEepSetting {
 public:
  explicit VESFixedByte(uint8_t value) : value_(value) {}

  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  bool read(VConfigByteArray& image, int& position, int length) override;

  uint8_t value() const { return value_; }

 private:
  uint8_t value_;
};
