#include "eeprom/VESReserved.h"

#include "eeprom/VConfigByteArray.h"

void VESReserved::write(VConfigByteArray& image, int& position, bool measuring) {
  if (measuring) {
    position += count_;
    return;
  }
  for (int i = 0; i < count_; ++i, ++position) {
    // A byte that something else already put there and that still has to reach the unit is kept.
    if ((image.byteState(position) & VConfigByteArray::NeedsWrite) == 0)
      image.setShowingByte(position, 0);
  }
}

int VESReserved::measure(VConfigByteArray& /*image*/, int /*position*/, bool& /*error*/,
                         uint8_t /*mask*/) {
  return count_;
}

bool VESReserved::read(VConfigByteArray& /*image*/, int& position, int /*length*/) {
  position += count_;
  return false;
}
