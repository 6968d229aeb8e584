#include "eeprom/VESAddr.h"

#include "eeprom/Diagnostic.h"
#include "eeprom/VConfigByteArray.h"

void VESAddr::setClientAddress(int address, bool force) {
  if (force || address == address_) {
    address_ = address;
    return;
  }
  ShowEepDiagnostic("VSettingAddr::setClientAddress: adresa se v druhem pruchodu lisi");
}

void VESAddrWordLH::write(VConfigByteArray& image, int& position, bool measuring) {
  if (!measuring) {
    image.setShowingByte(position, static_cast<uint8_t>(address_ & 0xFF));
    image.setShowingByte(position + 1, static_cast<uint8_t>((address_ >> 8) & 0xFF));
  }
  position += 2;
  changed_ = false;
}

int VESAddrWordLH::measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) {
  if (usable(image, mask, position) && usable(image, mask, position + 1)) {
    address_ = readByte(image, mask, position) + 256 * readByte(image, mask, position + 1);
  } else {
    error = true;
  }
  return 2;
}

bool VESAddrWordLH::read(VConfigByteArray& image, int& position, int /*length*/) {
  address_ = image.getShowingByte(position) + 256 * image.getShowingByte(position + 1);
  position += 2;
  markChanged(this, false);
  return false;
}
