#include "settings/VSVBA_TelNumPDU.h"

#include "eeprom/VConfigByteArray.h"
#include "settings/PhoneNumber.h"

VSVBA_TelNumPDU::VSVBA_TelNumPDU(VSetting* parent) : VSettingVarByteArray(parent) {
  setDescriptor(std::make_unique<Me2Eep>(*this));
  const uint8_t empty = 0;
  setBytes(&empty, 1);
  commitValue();
}

void VSVBA_TelNumPDU::Me2Eep::write(VConfigByteArray& image, int& position, bool measuring) {
  writeZeroTerminated(image, position, measuring);
}

int VSVBA_TelNumPDU::Me2Eep::measure(VConfigByteArray& image, int position, bool& error,
                                     uint8_t mask) {
  return measureZeroTerminated(image, position, error, mask);
}

std::string VSVBA_TelNumPDU2TEdit::bytesToText(const uint8_t* data, int length) {
  return phone::toText(length > 0 ? std::string(reinterpret_cast<const char*>(data), length)
                                  : std::string());
}

void VSVBA_TelNumPDU2TEdit::textToBytes(const std::string& text, bool& error) {
  setParsed(phone::packText(text, error));
}
