#include "eeprom/VESFixedByte.h"

#include "eeprom/VConfigByteArray.h"

void VESFixedByte::write(VConfigByteArray& image, int& position, bool measuring) {
  if (!measuring) image.setShowingByte(position, value_);
  position += 1;
}

int VESFixedByte::measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) {
  if (!usable(image, mask, position)) error = true;
  return 1;
}

bool VESFixedByte::read(VConfigByteArray& image, int& position, int /*length*/) {
  const uint8_t b = image.getShowingByte(position);
  position += 1;
  return b != value_;
}
