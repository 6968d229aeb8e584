#include "settings/VSettingVarByteArray.h"

#include <cstring>

#include "eeprom/VConfigByteArray.h"

namespace {

bool SameBytes(const TInputBuffer& buffer, const uint8_t* data, int length) {
  if (length < 0) length = 0;
  return buffer.Length() == static_cast<uint32_t>(length) &&
         (length == 0 || std::memcmp(buffer.Data(), data, static_cast<size_t>(length)) == 0);
}

void CopyBytes(TInputBuffer& buffer, const uint8_t* data, int length) {
  buffer.Clear();
  if (length > 0) buffer.AddData(data, length);
}

}  // namespace

// ---- VSettingVarByteArray ----

VSettingVarByteArray::VSettingVarByteArray(VSetting* parent) : VSetting(parent) {}

VSettingVarByteArray::~VSettingVarByteArray() {
  dependants_.Clear();
}

void VSettingVarByteArray::setDescriptor(std::unique_ptr<VSettingVarByteArray2Eep> descriptor) {
  descriptor_ = std::move(descriptor);
}

void VSettingVarByteArray::childChanged(VSetting* from) {
  auto* dependant = dynamic_cast<VSettingVarByteArrayDependant*>(from);
  if (dependant == nullptr) return;
  const TInputBuffer& b = dependant->getBytes();
  if (SameBytes(value_, b.Data(), static_cast<int>(b.Length()))) return;
  CopyBytes(value_, b.Data(), static_cast<int>(b.Length()));
  VSetting::childChanged(from);
}

bool VSettingVarByteArray::doAction(int action) {
  bool result = VSetting::doAction(action);
  for (VSettingVarByteArrayDependant* d : dependants_)
    if (d->wantsAction(action)) result = d->doAction(action) || result;
  return result;
}

void VSettingVarByteArray::update() {
  for (VSettingVarByteArrayDependant* d : dependants_) {
    d->setBytes(value_.Data(), static_cast<int>(value_.Length()));
    d->update();
  }
  VSetting::update();
  if (descriptor_) markChanged(descriptor_.get(), true);
}

bool VSettingVarByteArray::commitValue() {
  if (accepted_.EqualsBuffer(value_)) return false;
  CopyBytes(accepted_, value_.Data(), static_cast<int>(value_.Length()));
  return true;
}

bool VSettingVarByteArray::restoreValue() {
  if (value_.EqualsBuffer(accepted_)) return false;
  CopyBytes(value_, accepted_.Data(), static_cast<int>(accepted_.Length()));
  return true;
}

void VSettingVarByteArray::addDependant(VSettingVarByteArrayDependant* dependant) {
  dependants_.Add(dependant);
}

void VSettingVarByteArray::removeDependant(VSettingVarByteArrayDependant* dependant) {
  dependants_.Remove(dependant);
}

bool VSettingVarByteArray::setBytes(const uint8_t* data, int length) {
  if (SameBytes(value_, data, length)) return false;
  CopyBytes(value_, data, length);
  return true;
}

void VSettingVarByteArray::loadBytes(const uint8_t* data, int length) {
  setBytes(data, length);
  presented_ = false;
  markDirty();
}

bool VSettingVarByteArray::setBytes(const std::string& bytes) {
  return setBytes(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

void VSettingVarByteArray::loadBytes(const std::string& bytes) {
  loadBytes(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

std::string VSettingVarByteArray::bytes() {
  const TInputBuffer& b = getBytes();
  return std::string(reinterpret_cast<const char*>(b.Data()), b.Length());
}

std::string VSettingVarByteArray::acceptedBytes() const {
  return std::string(reinterpret_cast<const char*>(accepted_.Data()), accepted_.Length());
}

VSettingVarByteArrayDependant::VSettingVarByteArrayDependant(VSettingVarByteArray* parent)
    : VSetting(parent), array_(parent) {
  if (array_ != nullptr) array_->addDependant(this);
}

VSettingVarByteArrayDependant::~VSettingVarByteArrayDependant() {
  if (array_ != nullptr) array_->removeDependant(this);
}

// ---- descriptors ----

void VSettingVarByteArray2Eep::write(VConfigByteArray& image, int& position, bool measuring) {
  const TInputBuffer& b = owner_.getBytes();
  const int n = static_cast<int>(b.Length());
  if (!measuring)
    for (int i = 0; i < n; ++i) image.setShowingByte(position + i, b.Data()[i]);
  position += n;
}

bool VSettingVarByteArray2Eep::read(VConfigByteArray& image, int& position, int length) {
  std::string bytes;
  for (int i = 0; i < length; ++i) bytes += static_cast<char>(image.getShowingByte(position + i));
  owner_.loadBytes(bytes);
  position += length > 0 ? length : 0;
  return false;
}

int VSettingVarByteArray2Eep::measureZeroTerminated(VConfigByteArray& image, int position,
                                                    bool& error, uint8_t mask) {
  for (int count = 0;; ++count) {
    // No element reaches beyond the largest memory, whatever a mask lets through.
    if (position + count >= VConfigByteArray::MaxSize || !usable(image, mask, position + count)) {
      error = true;
      return count;
    }
    if (readByte(image, mask, position + count) == 0) return count + 1;
  }
}

void VSettingVarByteArray2Eep::writeZeroTerminated(VConfigByteArray& image, int& position,
                                                   bool measuring) {
  const TInputBuffer& b = owner_.getBytes();
  const uint8_t* data = b.Data();
  const int total = static_cast<int>(b.Length());
  int n = 0;
  while (n < total && data[n] != 0) ++n;
  if (!measuring) {
    for (int i = 0; i < n; ++i) image.setShowingByte(position + i, data[i]);
    image.setShowingByte(position + n, 0);
  }
  position += n + 1;
}

VSVBA_VorString::VSVBA_VorString(VSetting* parent) : VSettingVarByteArray(parent) {
  setDescriptor(std::make_unique<Me2Eep>(*this));
}

void VSVBA_VorString::Me2Eep::write(VConfigByteArray& image, int& position, bool measuring) {
  writeZeroTerminated(image, position, measuring);
}

int VSVBA_VorString::Me2Eep::measure(VConfigByteArray& image, int position, bool& error,
                                     uint8_t mask) {
  return measureZeroTerminated(image, position, error, mask);
}

bool VSVBA_VorString::Me2Eep::read(VConfigByteArray& image, int& position, int length) {
  VSettingVarByteArray2Eep::read(image, position, length - 1);
  position += 1;
  return false;
}
