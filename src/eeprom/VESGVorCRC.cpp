#include "eeprom/VESGVorCRC.h"

#include "eeprom/VConfigByteArray.h"

void VESGVorCRC::write(VConfigByteArray& image, int& position, bool measuring) {
  const int start = position;
  VEepSettingGroup::write(image, position, measuring);
  if (!measuring) {
    unsigned sum = image.writeBadCrcInForce() ? 0x80 : 1;
    for (int i = start; i < position; ++i) sum += image.getShowingByte(i);
    image.setShowingByte(position, static_cast<uint8_t>(sum));
  }
  position += 1;
  changed_ = false;
}

int VESGVorCRC::measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) {
  const int c = VEepSettingGroup::measure(image, position, error, mask) + 1;
  if (!error && !usable(image, mask, position + c - 1)) error = true;
  return c;
}

bool VESGVorCRC::read(VConfigByteArray& image, int& position, int length) {
  const int start = position;
  if (VEepSettingGroup::read(image, position, length - 1)) return true;
  // The checksum byte is consumed without being checked.
  position = start + length;
  return false;
}
