#include "protocol/WireFormat.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/TInputBuffer.h"

TEST(WireFormat, FramesAndDigitsAsTheUnitUsesThem) {
  // Reading address 0x0020: 04, "0200", C7, CR.
  uint8_t frame[6] = {wire::CmdReadBlock};
  wire::EncodeAddress(0x0020, frame + 1);
  EXPECT_EQ(std::string(frame + 1, frame + 5), "0200");
  EXPECT_EQ(wire::Checksum(frame, 5), 0xC7);
  uint8_t digits[2];
  wire::EncodeByte(0xDA, digits);
  EXPECT_EQ(std::string(digits, digits + 2), "AD");
  EXPECT_EQ(wire::HexDigit(16), '?');
  const uint8_t carriageReturn[] = {0x0C};
  EXPECT_EQ(wire::Checksum(carriageReturn, 1), 0x0C);  // 0x0D is never a checksum

  // Received digits may be lower case; anything else reads as 0.
  TInputBuffer reply;
  reply.AddText(
      "\x82"
      "20aD1080xG");
  EXPECT_EQ(wire::ReplyByte(reply, 2), 0xDA);
  EXPECT_EQ(wire::ReplyByte(reply, 4), 8);
  EXPECT_EQ(wire::ReplyByte(reply, 5), 0);
}
