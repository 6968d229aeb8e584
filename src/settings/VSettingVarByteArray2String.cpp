#include "settings/VSettingVarByteArray2String.h"

namespace {

void CopyBuffer(TInputBuffer& to, const TInputBuffer& from) {
  to.Clear();
  if (from.Length() > 0) to.AddData(from.Data(), static_cast<int>(from.Length()));
}

}  // namespace

VSettingVarByteArray2String::VSettingVarByteArray2String(VSettingVarByteArray* parent)
    : VSettingVarByteArrayDependant(parent) {}

bool VSettingVarByteArray2String::commitValue() {
  if (accepted_.EqualsBuffer(value_)) return false;
  CopyBuffer(accepted_, value_);
  return true;
}

bool VSettingVarByteArray2String::restoreValue() {
  if (value_.EqualsBuffer(accepted_)) return false;
  CopyBuffer(value_, accepted_);
  return true;
}

bool VSettingVarByteArray2String::setBytes(const uint8_t* data, int length) {
  if (value_.EqualsData(data, length < 0 ? 0 : length)) return false;
  value_.Clear();
  if (length > 0) value_.AddData(data, length);
  return true;
}

std::string VSettingVarByteArray2String::bytesToText(const uint8_t* data, int length) {
  return length > 0 ? std::string(reinterpret_cast<const char*>(data), length) : std::string();
}

void VSettingVarByteArray2String::textToBytes(const std::string& text, bool& error) {
  error = false;
  setParsed(text);
}

void VSettingVarByteArray2String::setParsed(const std::string& bytes) {
  parsed_.Clear();
  parsed_.AddData(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

bool VSettingVarByteArray2String::textDiffers(const std::string& text) {
  bool e = false;
  textToBytes(text, e);
  return e || !parsedEqualsValue();
}

bool VSettingVarByteArray2String::takeText(const std::string& text) {
  const bool old = error_;
  textToBytes(text, error_);
  if (error_ != old) markDirty();
  if (parsedEqualsValue()) return error_ != old;
  CopyBuffer(value_, parsed_);
  return true;
}
