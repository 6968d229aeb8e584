#include "eeprom/VESUsedLength2.h"

#include "eeprom/VConfigByteArray.h"

void VESUsedLength2::write(VConfigByteArray& image, int& position, bool measuring) {
  if (!measuring) {
    const int used = image.usedLength();
    image.setShowingByte(position, static_cast<uint8_t>((used >> 8) & 0xFF));
    image.setShowingByte(position + 1, static_cast<uint8_t>(used & 0xFF));
  }
  position += 2;
  changed_ = false;
}

int VESUsedLength2::measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) {
  if (!usable(image, mask, position) || !usable(image, mask, position + 1)) error = true;
  return 2;
}

bool VESUsedLength2::read(VConfigByteArray& /*image*/, int& position, int length) {
  position += length;
  return false;
}
