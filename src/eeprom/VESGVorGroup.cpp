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
  // The distance from the position to the group's end. A group that lies before the position
  // gives a negative distance, which brings the sum of lengths back to where its bytes end: the
  // lengths of the whole layout still add up to the end of its last element.
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
