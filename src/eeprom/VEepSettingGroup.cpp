#include "eeprom/VEepSettingGroup.h"

#include "eeprom/Diagnostic.h"
#include "eeprom/VConfigByteArray.h"

VEepSettingGroup::~VEepSettingGroup() {
  // Only the list is emptied; the children belong to others and merely forget their parent.
  for (VEepSetting* child : children_) child->parent_ = nullptr;
  children_.Clear();
}

bool VEepSettingGroup::clearPending() {
  bool result = false;
  if (updatePending_) {
    for (VEepSetting* child : children_) result = child->clearPending() || result;
    updatePending_ = false;
  }
  return result;
}

void VEepSettingGroup::write(VConfigByteArray& image, int& position, bool measuring) {
  for (VEepSetting* child : children_) child->write(image, position, measuring);
  changed_ = false;
}

int VEepSettingGroup::measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) {
  int sum = 0;
  for (VEepSetting* child : children_) sum += child->measure(image, position + sum, error, mask);
  return sum;
}

bool VEepSettingGroup::read(VConfigByteArray& image, int& position, int /*length*/) {
  bool failed = false;
  for (VEepSetting* child : children_) {
    bool error = false;
    int n = child->measure(image, position, error, VConfigByteArray::ShowingDefined);
    failed = error || child->read(image, position, n);
    if (failed) break;
  }
  markChanged(this, true);
  return failed;
}

void VEepSettingGroup::addVVC(VEepSetting* child) {
  if (child == nullptr) return;
  if (child->parent_ != nullptr) {
    ShowEepDiagnostic("VSetting::addVVC: to je divny, pridavat ho do dvou, ne?");
    // The child moves; staying listed in the old group would lay its bytes out twice.
    child->parent_->children_.Remove(child);
  }
  children_.Add(child);
  child->parent_ = this;
}

void VEepSettingGroup::invalidate() {
  changed_ = true;
  updatePending_ = true;
}
