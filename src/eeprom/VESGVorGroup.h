#pragma once
// A relocatable group: its bytes lie where its address word says. The group owns the word, but
// the word is placed elsewhere (normally in the header) by whoever builds the layout.

#include <memory>

#include "eeprom/VESAddr.h"
#include "eeprom/VEepSettingGroup.h"

class VESGVorGroup : public VEepSettingGroup {
 public:
  VESGVorGroup();
  ~VESGVorGroup() override;

  void write(VConfigByteArray& image, int& position, bool measuring) override;
  // The distance from position to the end of the group, so that lengths summed along the layout
  // end where a read that jumps to each group's address ends.
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  bool read(VConfigByteArray& image, int& position, int length) override;

  virtual VESAddrWordLH* addressWord() { return addressWord_.get(); }
  virtual void setAddress(int address);

 private:
  std::unique_ptr<VESAddrWordLH> addressWord_;
};
