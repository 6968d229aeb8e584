#pragma once
// Bytes the unit reserves; written as 0, ignored on reading.

#include "eeprom/VEepSetting.h"

class VESReserved : public VEepSetting {
 public:
  explicit VESReserved(int count) : count_(count < 0 ? 0 : count) {}

  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  bool read(VConfigByteArray& image, int& position, int length) override;

  int count() const { return count_; }

 private:
  int count_;
};
