#include "sim/Wire.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

TEST(Wire, FramesAndChecksums) {
  EXPECT_EQ(EncodeFrame(kLinkTest), (Bytes{0x01, 0x02, 0x0D}));
  EXPECT_EQ(EncodeFrame(kIdentify), (Bytes{0x02, 0x03, 0x0D}));
  EXPECT_EQ(ResetCommand(), (Bytes{0x06, 0xAA, 0x55, 0x06, 0x0D}));
  EXPECT_EQ(ReadCommand(0x0020), (Bytes{0x04, '0', '2', '0', '0', 0xC7, 0x0D}));
  const Bytes write = WriteCommand(0x0100, Bytes{1, 2, 3, 4, 5, 6, 7, 0xFF});
  ASSERT_EQ(write.size(), 23u);
  EXPECT_EQ(Bytes(write.begin() + 1, write.begin() + 9), Text("00101020"));

  const Bytes identification = EncodeFrame(0x82, Text("20AD108010"));
  EXPECT_EQ(identification[11], 0x94);
  EXPECT_EQ(identification.size(), ReplyLength(0x82));
  EXPECT_EQ(ReplyByte(identification, 1), 0xDA);

  // 1 + 0x84 + 0x88 is CR in arithmetic: sent as 0x0C, and such a frame is intact.
  const Bytes reply = EncodeFrame(0x84, Bytes{0x44, 0x44});
  EXPECT_EQ(reply[3], 0x0C);
  EXPECT_TRUE(FrameIntact(reply));
  Bytes broken = reply;
  broken[3] = 0x0D;
  EXPECT_FALSE(FrameIntact(broken));
  EXPECT_FALSE(FrameIntact(Bytes{0x0D}));
  EXPECT_EQ(Checksum(Bytes{0xFF, 0x01}), 0x01);  // modulo 256
}

TEST(Wire, HexDigitsLowNibbleFirst) {
  Bytes out;
  AppendHexWord(out, 0x1234);
  AppendHexByte(out, 0xA5);
  EXPECT_EQ(out, Text("43215A"));
  EXPECT_EQ(DecodeHexWord(out.data()), 0x1234);
  EXPECT_EQ(DecodeHexByte(out.data() + 4), 0xA5);
  EXPECT_EQ(HexDigit(16), '?');
  EXPECT_EQ(HexValue('G'), -1);
  // The program's reading: lower case accepted, anything else counts as 0.
  const Bytes lower = Text("bc"), odd = Text("x7");
  EXPECT_EQ(DecodeHexByte(lower.data()), 0xCB);
  EXPECT_EQ(DecodeHexByte(odd.data()), 0x70);
}

}  // namespace
}  // namespace sim
