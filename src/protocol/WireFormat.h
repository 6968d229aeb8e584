#pragma once
// The unit's wire format, both directions: a code byte, data bytes, a checksum byte and CR.
// Numbers in the data travel as ASCII hex digits, least significant nibble first. Commands are
// codes 1 to 6; the unit answers with the command code plus 0x80.

#include <cstddef>
#include <cstdint>

class TInputBuffer;

namespace wire {

enum : uint8_t {
  CmdLinkTest = 0x01,
  CmdIdentify = 0x02,
  CmdMemoryInfo = 0x03,
  CmdReadBlock = 0x04,
  CmdWriteBlock = 0x05,
  CmdReset = 0x06,
  ReplyFlag = 0x80,
  FrameEnd = 0x0D,
};

// Length of a whole reply (code, hex data, checksum, CR) by its code byte; NoReply for a byte
// that cannot start a reply.
constexpr int NoReply = 255;
int ReplyLengthOf(uint8_t code);

// 1 plus the sum of the bytes, modulo 256; a result of CR is sent as 0x0C so that the checksum
// can never end a frame early.
uint8_t Checksum(const uint8_t* bytes, size_t count);

// "0"-"9", "A"-"F"; "?" for a value that is no nibble.
char HexDigit(unsigned nibble);
// Upper and lower case digits; any other character counts as 0.
uint8_t HexValue(uint8_t digit);

// Two digits for a byte, four for an address, low nibble first.
void EncodeByte(uint8_t value, uint8_t out[2]);
void EncodeAddress(uint16_t address, uint8_t out[4]);

// Data byte k (from 1) of a reply: the digits at positions 2k-1 (low) and 2k (high); position 0
// is the reply code.
uint8_t ReplyByte(const TInputBuffer& reply, int k);

// True when the reply ends in CR and its checksum byte matches the bytes before it.
bool ReplyIntact(const TInputBuffer& reply);

}  // namespace wire
