#include "sim/Kx2Simulator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace sim {
namespace {

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// The reply to one whole command.
Bytes Answer(Kx2Simulator& unit, const Bytes& command) {
  const auto exchanges = unit.receive(command);
  return exchanges.size() == 1 ? exchanges[0].reply : Bytes{0xEE};
}

const Bytes kLinkOk = {0x81, 0x82, 0x0D};
const Bytes kWriteOk = {0x85, 0x86, 0x0D};

TEST(Kx2Simulator, IdentityAndMemoryFollowTheConfiguration) {
  UnitConfig config;
  config.identity = {0x02, 0xDA, 0x05, 2, 0};  // C, B, A, major, minor
  config.sizeCode = 9;
  config.memExtra = 0x3C;
  Kx2Simulator unit(config);
  EXPECT_EQ(Answer(unit, EncodeFrame(kIdentify)), EncodeFrame(0x82, Text("50AD200020")));
  EXPECT_EQ(Answer(unit, EncodeFrame(kMemoryInfo)), EncodeFrame(0x83, Text("90C3")));
  EXPECT_EQ(unit.memorySize(), 65536u);
  // Lower-case digits address as well as upper-case ones; the top block is the last one.
  unit.setBytes(0xFFF8, {0x5A});
  EXPECT_EQ(Answer(unit, EncodeFrame(kReadBlock, Text("8fff"))),
            EncodeFrame(0x84, Text("A5FFFFFFFFFFFFFF")));

  config.sizeCode = 0;
  EXPECT_EQ(Kx2Simulator(config).memorySize(), 128u);
  config.sizeCode = 10;  // no such memory: it all reads erased, writes are acknowledged
  Kx2Simulator none(config);
  EXPECT_EQ(none.memorySize(), 0u);
  EXPECT_EQ(Answer(none, WriteCommand(0, Bytes(8, 0))), kWriteOk);
  EXPECT_EQ(Answer(none, ReadCommand(0)), EncodeFrame(0x84, Text("FFFFFFFFFFFFFFFF")));
}

TEST(Kx2Simulator, FramingResynchronisesAndRefusesBadFrames) {
  Kx2Simulator unit;
  // Garbage with its own CR costs one refused frame; the command after it is answered.
  auto ex = unit.receive(Concat({Text("xyz\r"), EncodeFrame(kLinkTest)}));
  ASSERT_EQ(ex.size(), 2u);
  EXPECT_TRUE(ex[0].reply.empty());
  EXPECT_FALSE(ex[0].command);
  EXPECT_EQ(ex[1].reply, kLinkOk);

  // A command split over several reads is assembled.
  const Bytes read = ReadCommand(0x40);
  EXPECT_TRUE(unit.receive(Bytes(read.begin(), read.begin() + 3)).empty());
  ex = unit.receive(Bytes(read.begin() + 3, read.end()));
  ASSERT_EQ(ex.size(), 1u);
  EXPECT_EQ(ex[0].reply.size(), 19u);

  Bytes badSum = EncodeFrame(kLinkTest);
  badSum[1] ^= 0x40;
  const Bytes refused[] = {
      badSum,
      Bytes{0x0D},
      EncodeFrame(0x07),
      EncodeFrame(0x81),                          // a reply is no command
      EncodeFrame(kReset, {0xAA, 0x56}),          // wrong reset key
      EncodeFrame(kReadBlock, Text("020")),       // address too short
      EncodeFrame(kWriteBlock, Text("0000G0")),   // no hex digit
      EncodeFrame(kWriteBlock, Text("0000123")),  // half a byte
  };
  for (const Bytes& frame : refused) {
    ex = unit.receive(frame);
    ASSERT_EQ(ex.size(), 1u) << FormatHex(frame);
    EXPECT_TRUE(ex[0].reply.empty()) << FormatHex(frame);
    EXPECT_FALSE(ex[0].note.empty()) << FormatHex(frame);
  }
  EXPECT_EQ(unit.framesRejected(), 1 + std::size(refused));
  EXPECT_EQ(unit.byteAt(0), 0xFF);

  // A long run without CR is dropped up to the next CR, and the unit carries on.
  ex = unit.receive(Concat({Bytes(1000, 'x'), Text("\r"), EncodeFrame(kLinkTest)}));
  ASSERT_EQ(ex.size(), 2u);
  EXPECT_EQ(ex[0].note, "frame too long");
  EXPECT_EQ(ex[1].reply, kLinkOk);
}

TEST(Kx2Simulator, FaultsCountCommands) {
  const Bytes link = EncodeFrame(kLinkTest);
  UnitConfig config;
  config.faults.ignoreFirst = 1;
  config.faults.silentAfter = 2;
  Kx2Simulator unit(config);
  EXPECT_TRUE(Answer(unit, WriteCommand(0, Bytes(8, 0))).empty());  // nor carried out
  EXPECT_EQ(unit.byteAt(0), 0xFF);
  EXPECT_EQ(Answer(unit, link), kLinkOk);
  EXPECT_TRUE(Answer(unit, link).empty());
  unit.setFaults({});  // and it speaks again
  EXPECT_EQ(Answer(unit, link), kLinkOk);
  EXPECT_EQ(unit.commandsReceived(), 4u);

  // A checksum that is CR in arithmetic (sent as 0x0C) must not turn into a CR when corrupted.
  Bytes block;
  for (unsigned pattern = 0; pattern <= 0xFFFF && block.empty(); ++pattern) {
    Bytes candidate(8, uint8_t(pattern >> 8));
    candidate[0] = uint8_t(pattern);
    unsigned sum = 1 + 0x84;
    for (uint8_t digit : HexBytes(candidate)) sum += digit;
    if ((sum & 0xFF) == 0x0D) block = candidate;
  }
  ASSERT_FALSE(block.empty());
  config = {};
  config.faults.corruptEvery = 2;
  Kx2Simulator corrupt(config);
  corrupt.setBytes(0, block);
  EXPECT_EQ(Answer(corrupt, ReadCommand(0))[17], 0x0C);
  const Bytes bad = Answer(corrupt, ReadCommand(0));
  EXPECT_FALSE(FrameIntact(bad));
  EXPECT_EQ(std::count(bad.begin(), bad.end(), 0x0D), 1);

  config = {};
  config.faults.closeAfter = 2;
  Kx2Simulator closing(config);
  auto ex = closing.receive(Concat({link, link, link}));
  ASSERT_EQ(ex.size(), 2u);
  EXPECT_FALSE(ex[0].hangUp);
  EXPECT_TRUE(ex[1].hangUp);
  EXPECT_EQ(ex[1].reply, kLinkOk);
  EXPECT_TRUE(closing.receive(link).empty());
}

TEST(Kx2Simulator, MemoryImages) {
  const std::string dir = ::testing::TempDir() + "kx2sim_" + std::to_string(getpid()) + "_";
  const std::string image = dir + "image.bin";
  const std::string saved = dir + "saved.bin";
  std::ofstream(image, std::ios::binary) << "ABCDEF";
  std::ofstream(saved, std::ios::binary) << "old";

  Kx2Simulator unit;
  unit.setByte(100, 0);
  ASSERT_TRUE(unit.loadImage(image));
  EXPECT_EQ(unit.bytes(0, 7), (Bytes{'A', 'B', 'C', 'D', 'E', 'F', 0xFF}));
  EXPECT_EQ(unit.byteAt(100), 0xFF);  // erased, not left over
  unit.setBytes(8190, Bytes{1, 2});
  ASSERT_TRUE(unit.saveImage(saved));
  std::ifstream in(saved, std::ios::binary);
  EXPECT_EQ(Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
            unit.memory());

  UnitConfig small;
  small.sizeCode = 0;
  Kx2Simulator tiny(small);
  std::string error;
  EXPECT_FALSE(tiny.loadImage(saved, &error));  // 8192 bytes do not fit 128
  EXPECT_NE(error.find("8192"), std::string::npos);
  EXPECT_FALSE(tiny.loadImage(dir + "missing.bin", &error));
  EXPECT_FALSE(unit.saveImage(dir + "/no/such/folder.bin", &error));
  std::remove(image.c_str());
  std::remove(saved.c_str());
}

}  // namespace
}  // namespace sim
