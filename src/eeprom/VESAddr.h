#pragma once
// Address of a relocatable group, kept in the header so that the unit (and this program, while it
// reads) can find the group. The measuring pass teaches the address; the storing passes that follow
// must find every group at the same place.

#include "eeprom/VEepSetting.h"

class VESAddr : public VEepSetting {
 public:
  // Above every 16-bit address: not known yet.
  static constexpr int NoAddress = 70000;

  // force: take the address whatever it was (measuring pass); otherwise it must not have moved.
  virtual void setClientAddress(int address, bool force);
  virtual int clientAddress() const { return address_; }

 protected:
  int address_ = NoAddress;
};

// The address as a 16-bit word, low byte first.
class VESAddrWordLH : public VESAddr {
 public:
  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  bool read(VConfigByteArray& image, int& position, int length) override;
};
