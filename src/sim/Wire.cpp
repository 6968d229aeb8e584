#include "sim/Wire.h"

namespace sim {

uint8_t Checksum(const uint8_t* bytes, size_t count) {
  unsigned sum = 1;
  for (size_t i = 0; i < count; ++i) sum += bytes[i];
  const auto result = static_cast<uint8_t>(sum);
  return result == kFrameEnd ? 0x0C : result;
}

char HexDigit(unsigned nibble) {
  if (nibble < 10) return static_cast<char>('0' + nibble);
  if (nibble < 16) return static_cast<char>('A' + nibble - 10);
  return '?';
}

int HexValue(uint8_t digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return -1;
}

void AppendHexByte(Bytes& out, uint8_t value) {
  out.push_back(static_cast<uint8_t>(HexDigit(value & 0x0F)));
  out.push_back(static_cast<uint8_t>(HexDigit(value >> 4)));
}

void AppendHexWord(Bytes& out, uint16_t value) {
  AppendHexByte(out, static_cast<uint8_t>(value & 0xFF));
  AppendHexByte(out, static_cast<uint8_t>(value >> 8));
}

Bytes HexBytes(const uint8_t* bytes, size_t count) {
  Bytes out;
  out.reserve(2 * count);
  for (size_t i = 0; i < count; ++i) AppendHexByte(out, bytes[i]);
  return out;
}

namespace {
unsigned Lenient(uint8_t digit) {
  const int v = HexValue(digit);
  return v < 0 ? 0u : static_cast<unsigned>(v);
}
}  // namespace

uint8_t DecodeHexByte(const uint8_t* digits) {
  return static_cast<uint8_t>(Lenient(digits[0]) | Lenient(digits[1]) << 4);
}

uint16_t DecodeHexWord(const uint8_t* digits) {
  return static_cast<uint16_t>(DecodeHexByte(digits) | DecodeHexByte(digits + 2) << 8);
}

Bytes EncodeFrame(uint8_t code, const Bytes& data) {
  Bytes frame;
  frame.reserve(data.size() + 3);
  frame.push_back(code);
  frame.insert(frame.end(), data.begin(), data.end());
  frame.push_back(Checksum(frame));
  frame.push_back(kFrameEnd);
  return frame;
}

Bytes ReadCommand(uint16_t address) {
  Bytes data;
  AppendHexWord(data, address);
  return EncodeFrame(kReadBlock, data);
}

Bytes WriteCommand(uint16_t address, const Bytes& values) {
  Bytes data;
  AppendHexWord(data, address);
  const Bytes digits = HexBytes(values);
  data.insert(data.end(), digits.begin(), digits.end());
  return EncodeFrame(kWriteBlock, data);
}

Bytes ResetCommand() {
  return EncodeFrame(kReset, {0xAA, 0x55});
}

size_t ReplyLength(uint8_t code) {
  switch (code) {
    case kReplyFlag | kLinkTest:
    case kReplyFlag | kWriteBlock:
    case kReplyFlag | kReset:
      return 3;
    case kReplyFlag | kIdentify:
      return 13;
    case kReplyFlag | kMemoryInfo:
      return 7;
    case kReplyFlag | kReadBlock:
      return 3 + 2 * kBlockSize;
    default:
      return 0;
  }
}

bool FrameIntact(const Bytes& frame) {
  const size_t n = frame.size();
  return n >= 3 && frame[n - 1] == kFrameEnd && frame[n - 2] == Checksum(frame.data(), n - 2);
}

uint8_t ReplyByte(const Bytes& reply, size_t k) {
  const size_t at = 1 + 2 * k;
  return at + 1 < reply.size() ? DecodeHexByte(reply.data() + at) : 0;
}

std::string FormatHex(const Bytes& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

}  // namespace sim
