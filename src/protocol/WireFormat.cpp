#include "protocol/WireFormat.h"

#include "protocol/TInputBuffer.h"

namespace wire {

int ReplyLengthOf(uint8_t code) {
  switch (code) {
    case ReplyFlag | CmdLinkTest:
    case ReplyFlag | CmdWriteBlock:
    case ReplyFlag | CmdReset:
      return 3;
    case ReplyFlag | CmdIdentify:
      return 13;
    case ReplyFlag | CmdMemoryInfo:
      return 7;
    case ReplyFlag | CmdReadBlock:
      return 19;
    default:
      return NoReply;
  }
}

uint8_t Checksum(const uint8_t* bytes, size_t count) {
  unsigned sum = 1;
  for (size_t i = 0; i < count; ++i) sum += bytes[i];
  const uint8_t result = static_cast<uint8_t>(sum);
  return result == FrameEnd ? 0x0C : result;
}

char HexDigit(unsigned nibble) {
  if (nibble < 10) return static_cast<char>('0' + nibble);
  if (nibble < 16) return static_cast<char>('A' + nibble - 10);
  return '?';
}

uint8_t HexValue(uint8_t digit) {
  if (digit >= '0' && digit <= '9') return static_cast<uint8_t>(digit - '0');
  if (digit >= 'A' && digit <= 'F') return static_cast<uint8_t>(digit - 'A' + 10);
  if (digit >= 'a' && digit <= 'f') return static_cast<uint8_t>(digit - 'a' + 10);
  return 0;
}

void EncodeByte(uint8_t value, uint8_t out[2]) {
  out[0] = static_cast<uint8_t>(HexDigit(value & 0x0F));
  out[1] = static_cast<uint8_t>(HexDigit(value >> 4));
}

void EncodeAddress(uint16_t address, uint8_t out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(HexDigit((address >> (4 * i)) & 0x0F));
}

uint8_t ReplyByte(const TInputBuffer& reply, int k) {
  const uint32_t low = static_cast<uint32_t>(2 * k - 1);
  return static_cast<uint8_t>(HexValue(reply.GetAt(low)) | (HexValue(reply.GetAt(low + 1)) << 4));
}

bool ReplyIntact(const TInputBuffer& reply) {
  const uint32_t n = reply.Length();
  if (n < 2) return false;
  const uint8_t* bytes = reply.Data();
  return bytes[n - 1] == FrameEnd && bytes[n - 2] == Checksum(bytes, n - 2);
}

}  // namespace wire
