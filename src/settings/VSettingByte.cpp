#include "settings/VSettingByte.h"

#include "eeprom/VConfigByteArray.h"

// ---- VSettingByte ----

VSettingByte::VSettingByte(VSetting* parent)
    : VSetting(parent), descriptor_(std::make_unique<VSettingByte2Eep>(*this)) {}

VSettingByte::~VSettingByte() {
  // While this object is whole: the dependants unregister from it as they go.
  dependants_.Clear();
}

void VSettingByte::childChanged(VSetting* from) {
  auto* dependant = dynamic_cast<VSettingByteDependant*>(from);
  if (dependant == nullptr) return;
  const uint8_t v = dependant->getValue();
  if (v == value_) return;
  value_ = v;
  VSetting::childChanged(from);
}

bool VSettingByte::doAction(int action) {
  bool result = VSetting::doAction(action);
  for (VSettingByteDependant* d : dependants_)
    if (d->wantsAction(action)) result = d->doAction(action) || result;
  return result;
}

void VSettingByte::update() {
  for (VSettingByteDependant* d : dependants_) {
    d->setValue(value_);
    d->update();
  }
  VSetting::update();
  markChanged(descriptor_.get(), false);
}

bool VSettingByte::commitValue() {
  if (accepted_ == value_) return false;
  accepted_ = value_;
  return true;
}

bool VSettingByte::restoreValue() {
  if (value_ == accepted_) return false;
  value_ = accepted_;
  return true;
}

void VSettingByte::addDependant(VSettingByteDependant* dependant) {
  dependants_.Add(dependant);
}

void VSettingByte::removeDependant(VSettingByteDependant* dependant) {
  dependants_.Remove(dependant);
}

bool VSettingByte::setValue(uint8_t value) {
  if (value == value_) return false;
  value_ = value;
  return true;
}

void VSettingByte::loadValue(uint8_t value) {
  setValue(value);
  presented_ = false;
  markDirty();
}

VSettingByteDependant::VSettingByteDependant(VSettingByte* parent)
    : VSetting(parent), byte_(parent) {
  if (byte_ != nullptr) byte_->addDependant(this);
}

VSettingByteDependant::~VSettingByteDependant() {
  if (byte_ != nullptr) byte_->removeDependant(this);
}

// ---- VSettingByte2Eep ----

void VSettingByte2Eep::write(VConfigByteArray& image, int& position, bool measuring) {
  if (!measuring) image.setShowingByte(position, owner_.getValue());
  position += 1;
}

int VSettingByte2Eep::measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) {
  if (!usable(image, mask, position)) error = true;
  return 1;
}

bool VSettingByte2Eep::read(VConfigByteArray& image, int& position, int /*length*/) {
  owner_.loadValue(image.getShowingByte(position));
  position += 1;
  return false;
}

// ---- VSettingBit ----

VSettingBit::VSettingBit(VSetting* parent) : VSetting(parent) {}

VSettingBit::~VSettingBit() {
  dependants_.Clear();
}

void VSettingBit::childChanged(VSetting* from) {
  auto* dependant = dynamic_cast<VSettingBitDependant*>(from);
  if (dependant == nullptr) return;
  const uint8_t v = dependant->getValue() != 0 ? 1 : 0;
  if (v == value_) return;
  value_ = v;
  VSetting::childChanged(from);
}

bool VSettingBit::doAction(int action) {
  bool result = VSetting::doAction(action);
  for (VSettingBitDependant* d : dependants_)
    if (d->wantsAction(action)) result = d->doAction(action) || result;
  return result;
}

void VSettingBit::update() {
  for (VSettingBitDependant* d : dependants_) {
    d->setValue(value_);
    d->update();
  }
  VSetting::update();
}

bool VSettingBit::commitValue() {
  if (accepted_ == value_) return false;
  accepted_ = value_;
  return true;
}

bool VSettingBit::restoreValue() {
  if (value_ == accepted_) return false;
  value_ = accepted_;
  return true;
}

void VSettingBit::addDependant(VSettingBitDependant* dependant) {
  dependants_.Add(dependant);
}

void VSettingBit::removeDependant(VSettingBitDependant* dependant) {
  dependants_.Remove(dependant);
}

bool VSettingBit::setValue(uint8_t value) {
  const uint8_t v = value != 0 ? 1 : 0;
  if (v == value_) return false;
  value_ = v;
  return true;
}

void VSettingBit::loadValue(uint8_t value) {
  setValue(value);
  presented_ = false;
  markDirty();
}

VSettingBitDependant::VSettingBitDependant(VSettingBit* parent) : VSetting(parent), bit_(parent) {
  if (bit_ != nullptr) bit_->addDependant(this);
}

VSettingBitDependant::~VSettingBitDependant() {
  if (bit_ != nullptr) bit_->removeDependant(this);
}

// ---- VSettingBitByte ----

VSettingBitByte::VSettingBitByte(VSettingByte* parent) : VSettingByteDependant(parent) {
  for (auto& b : bits_) b = std::make_unique<VSettingBit>(this);
}

VSettingBitByte::~VSettingBitByte() = default;

void VSettingBitByte::childChanged(VSetting* /*from*/) {
  uint8_t b = 0;
  for (int i = 0; i < 8; ++i)
    if (bits_[i]->getValue() != 0) b = static_cast<uint8_t>(b | (1u << i));
  if (b == value_) return;
  value_ = b;
  VSetting::childChanged(this);
}

bool VSettingBitByte::doAction(int action) {
  bool result = VSetting::doAction(action);
  for (auto& b : bits_)
    if (b->wantsAction(action)) result = b->doAction(action) || result;
  return result;
}

void VSettingBitByte::update() {
  for (int i = 0; i < 8; ++i) {
    bits_[i]->setValue(static_cast<uint8_t>((value_ >> i) & 1u));
    bits_[i]->update();
  }
  VSetting::update();
}

bool VSettingBitByte::commitValue() {
  if (accepted_ == value_) return false;
  accepted_ = value_;
  return true;
}

bool VSettingBitByte::restoreValue() {
  if (value_ == accepted_) return false;
  value_ = accepted_;
  return true;
}

bool VSettingBitByte::setValue(uint8_t value) {
  if (value == value_) return false;
  value_ = value;
  return true;
}

VSettingBit* VSettingBitByte::bit(int index) const {
  return index >= 0 && index < 8 ? bits_[index].get() : nullptr;
}
