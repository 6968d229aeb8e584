// Configuration files of the image. The form, all numbers little-endian:
//   0  2  record length L (12 when written; a longer record from a later version is skipped)
//   2  1  size code of the capacity
//   3  1  identity byte 3, 4: identity byte 2, 5: identity byte 1
//   6  1  firmware minor, 7: firmware major
//   8  2  0
//   10 4  N, the used length
//   2+L   N showing bytes

#include <fstream>
#include <istream>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "eeprom/VConfigByteArray.h"

namespace {

bool ReadExact(std::istream& in, uint8_t* data, size_t size) {
  if (size == 0) return true;
  in.read(reinterpret_cast<char*>(data), static_cast<std::streamsize>(size));
  return in.gcount() == static_cast<std::streamsize>(size);
}

bool Skip(std::istream& in, size_t size) {
  if (size == 0) return true;
  in.ignore(static_cast<std::streamsize>(size));
  return in.gcount() == static_cast<std::streamsize>(size);
}

}  // namespace

std::vector<uint8_t> VConfigByteArray::fileImage() {
  const int n = usedLength_;
  id_.setSize(capacity_);
  id_.usedLength = static_cast<uint32_t>(n);
  std::vector<uint8_t> bytes;
  bytes.reserve(14 + static_cast<size_t>(n));
  bytes.push_back(EEPROMid::RecordLength);
  bytes.push_back(0);
  bytes.push_back(id_.sizeCode);
  bytes.push_back(id_.identity3);
  bytes.push_back(id_.identity2);
  bytes.push_back(id_.identity1);
  bytes.push_back(id_.firmwareMinor);
  bytes.push_back(id_.firmwareMajor);
  bytes.push_back(0);
  bytes.push_back(0);
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<uint8_t>((id_.usedLength >> shift) & 0xFF));
  // The buffer as it stands: a byte the layout left undefined goes out as the buffer holds it.
  for (int i = 0; i < n; ++i)
    bytes.push_back(isAllocated(i) ? showing_[static_cast<size_t>(i)] : uint8_t{0xFF});
  return bytes;
}

bool VConfigByteArray::saveToFile(const std::string& path) {
  writeSettings(true, false);
  // Without a configuration there is nothing a file could give back; one longer than any memory
  // could not be loaded again.
  if (usedLength_ <= 0 || usedLength_ > MaxSize) return false;
  const std::vector<uint8_t> bytes = fileImage();
  return WriteFileAtomically(
             path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
      .ok();
}

bool VConfigByteArray::loadFromFile(std::istream& in) {
  uint8_t head[2];
  if (!ReadExact(in, head, 2)) return false;
  const unsigned recordLength = head[0] | (head[1] << 8);
  if (recordLength < EEPROMid::RecordLength) return false;
  uint8_t record[EEPROMid::RecordLength];
  if (!ReadExact(in, record, sizeof record)) return false;
  if (!Skip(in, recordLength - EEPROMid::RecordLength)) return false;
  // The file's size code, type and version are informative only: the connected unit's stay.
  const uint32_t n = static_cast<uint32_t>(record[8]) | (static_cast<uint32_t>(record[9]) << 8) |
                     (static_cast<uint32_t>(record[10]) << 16) |
                     (static_cast<uint32_t>(record[11]) << 24);
  // No unit holds more; a larger figure is a damaged or foreign file, not a reason to allocate.
  if (n > static_cast<uint32_t>(MaxSize)) return false;
  // Read everything before touching the image, so a short file leaves it as it was.
  std::vector<uint8_t> data(n);
  if (!ReadExact(in, data.data(), data.size())) return false;

  resize(static_cast<int>(n));
  clearShowingStates();
  usedLength_ = allocated();
  // The mirror stays: the bytes that differ from the unit are what a following write sends.
  for (uint32_t i = 0; i < n; ++i) setShowingByte(static_cast<int>(i), data[i]);
  return readSettings() == static_cast<int>(n);
}

bool VConfigByteArray::loadFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return false;
  return loadFromFile(static_cast<std::istream&>(in));
}
