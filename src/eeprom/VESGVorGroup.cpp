#include "eeprom/VESGVorGroup.h"

#include "eeprom/VConfigByteArray.h"

VESGVorGroup::VESGVorGroup() : addressWord_(std::make_unique<VESAddrWordLH>()) {}

VESGVorGroup::~VESGVorGroup() = default;

void VESGVorGroup::write(VConfigByteArray& image, int& position, bool measuring) {
  addressWord_->setClientAddress(position, measuring);
  VEepSettingGroup::write(image, position, measuring);
}

int VESGVorGroup::measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) {
  const int a = addressWord_->clientAddress();
  if (a == VESAddr::NoAddress) return 0;
  if (a < position) {
    // The group would overlap what lies before it (a damaged or foreign header). Lengths would turn
    // negative and bytes would be read twice: the data cannot be interpreted.
    error = true;
    return 0;
  }
  return a + VEepSettingGroup::measure(image, a, error, mask) - position;
}

bool VESGVorGroup::read(VConfigByteArray& image, int& position, int length) {
  const int a = addressWord_->clientAddress();
  if (a == VESAddr::NoAddress) return false;
  position = a;
  return VEepSettingGroup::read(image, position, length);
}

void VESGVorGroup::setAddress(int address) {
  addressWord_->setClientAddress(address, true);
}
