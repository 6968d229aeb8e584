#pragma once
// The unit's side of the serial wire format, shared by the simulated unit and by tests that talk
// to it: a frame is a code byte, data bytes, a checksum byte and CR (0x0D). Numbers travel as
// ASCII hex digits, least significant nibble first. Commands are 0x01 to 0x06; a reply carries
// the command code plus 0x80.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<uint8_t>;

enum : uint8_t {
  kLinkTest = 0x01,
  kIdentify = 0x02,
  kMemoryInfo = 0x03,
  kReadBlock = 0x04,
  kWriteBlock = 0x05,
  kReset = 0x06,
  kReplyFlag = 0x80,
  kFrameEnd = 0x0D,
};

// Bytes carried by one read reply.
constexpr size_t kBlockSize = 8;

// 1 plus the sum of the bytes, modulo 256; a result of CR is sent as 0x0C so that the checksum
// can never end a frame early.
uint8_t Checksum(const uint8_t* bytes, size_t count);
inline uint8_t Checksum(const Bytes& bytes) {
  return Checksum(bytes.data(), bytes.size());
}

// "0"-"9", "A"-"F"; "?" for a value that is no nibble.
char HexDigit(unsigned nibble);
// 0-15 for "0"-"9", "A"-"F" and "a"-"f"; -1 for any other character.
int HexValue(uint8_t digit);

// Two digits for a byte, four for an address, low nibble first.
void AppendHexByte(Bytes& out, uint8_t value);
void AppendHexWord(Bytes& out, uint16_t value);
Bytes HexBytes(const uint8_t* bytes, size_t count);
inline Bytes HexBytes(const Bytes& bytes) {
  return HexBytes(bytes.data(), bytes.size());
}

// Decoding as the program does it: a character that is no hex digit counts as 0.
uint8_t DecodeHexByte(const uint8_t* digits);
uint16_t DecodeHexWord(const uint8_t* digits);

// code, data, checksum, CR. The data are sent as given (already hex where the command wants it).
Bytes EncodeFrame(uint8_t code, const Bytes& data = {});

// Whole commands as the program sends them.
Bytes ReadCommand(uint16_t address);
Bytes WriteCommand(uint16_t address, const Bytes& values);
Bytes ResetCommand();

// Length of the whole reply that starts with this code (code, digits, checksum, CR); 0 for a
// byte that cannot start a reply.
size_t ReplyLength(uint8_t code);

// True when the frame ends in CR and its checksum byte matches the bytes before it.
bool FrameIntact(const Bytes& frame);

// Data byte k (from 0) of a reply: the two digits after the code at 1 + 2k.
uint8_t ReplyByte(const Bytes& reply, size_t k);

// "01 02 0D": bytes as upper-case hex pairs separated by spaces, for logs and test messages.
std::string FormatHex(const Bytes& bytes);

}  // namespace sim
