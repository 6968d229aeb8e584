#include "eeprom/VEepSetting.h"

#include "eeprom/VConfigByteArray.h"
#include "eeprom/VEepSettingGroup.h"

VEepSetting::~VEepSetting() {
  // Descriptors of settings die with their settings, possibly before the group that lists them:
  // leave no dangling entry behind.
  if (parent_ != nullptr) parent_->children_.Remove(this);
}

bool VEepSetting::usable(const VConfigByteArray& image, uint8_t mask, int position) {
  return (image.byteState(position) & mask) != 0;
}

uint8_t VEepSetting::readByte(const VConfigByteArray& image, uint8_t mask, int position) {
  return mask == VConfigByteArray::MirrorValid ? image.getMirrorByte(position)
                                               : image.getShowingByte(position);
}

void markChanged(VEepSetting* descriptor, bool layoutChanged) {
  while (descriptor != nullptr) {
    if (layoutChanged) descriptor->changed_ = true;
    VEepSettingGroup* parent = descriptor->parent_;
    if (parent == nullptr) return;
    // Climb only as far as something new has to be recorded; above that point the path is
    // already marked.
    if (parent->updatePending_ && !(layoutChanged && !parent->changed_)) return;
    parent->updatePending_ = true;
    descriptor = parent;
  }
}
