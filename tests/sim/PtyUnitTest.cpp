#include "sim/PtyUnit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "RawPort.h"

namespace sim {
namespace {

using simtest::RawPort;

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

const Bytes kLinkOk = {0x81, 0x82, 0x0D};

// Entries of one kind, in order.
std::vector<TrafficEntry> OfKind(const std::vector<TrafficEntry>& all, TrafficEntry::Kind kind) {
  std::vector<TrafficEntry> out;
  std::copy_if(all.begin(), all.end(), std::back_inserter(out),
               [kind](const TrafficEntry& e) { return e.kind == kind; });
  return out;
}

size_t CountNote(const std::vector<TrafficEntry>& all, const std::string& note) {
  return std::count_if(all.begin(), all.end(),
                       [&](const TrafficEntry& e) { return e.note == note; });
}

TEST(PtyUnit, AnswersOverThePseudoTerminal) {
  PtyUnit unit;
  std::string error;
  ASSERT_TRUE(unit.start(&error)) << error;
  RawPort port(unit.slavePath());
  ASSERT_TRUE(port.isOpen());

  EXPECT_EQ(port.exchange(EncodeFrame(kLinkTest)), kLinkOk);
  EXPECT_EQ(port.exchange(EncodeFrame(kIdentify)),
            (Bytes{0x82, '2', '0', 'A', 'D', '1', '0', '8', '0', '1', '0', 0x94, 0x0D}));
  EXPECT_EQ(port.exchange(EncodeFrame(kMemoryInfo)), EncodeFrame(0x83, Text("6000")));

  unit.setBytes(0x20, {0x02, 0xDA, 0x01});
  EXPECT_EQ(port.exchange(ReadCommand(0x0020)), EncodeFrame(0x84, Text("20AD10FFFFFFFFFF")));
  EXPECT_EQ(port.exchange(WriteCommand(0x1FFC, {1, 2, 3, 4, 5, 6, 7, 8})),
            (Bytes{0x85, 0x86, 0x0D}));
  EXPECT_EQ(unit.bytes(0x1FFC, 8), (Bytes{1, 2, 3, 4, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(unit.memory().size(), 8192u);
  EXPECT_EQ(port.exchange(ReadCommand(0x2000)), EncodeFrame(0x84, Text("FFFFFFFFFFFFFFFF")));

  // Refused frames get no answer; the unit stays in step for the next command.
  Bytes badSum = EncodeFrame(kIdentify);
  badSum[1] = 0x02;
  ASSERT_TRUE(port.send(badSum));
  ASSERT_TRUE(port.send(Text("noise\r")));
  ASSERT_TRUE(unit.waitForFrames(8, 5000));
  EXPECT_TRUE(port.readPending().empty());
  EXPECT_EQ(unit.framesRejected(), 2u);
  EXPECT_EQ(port.exchange(ResetCommand()), (Bytes{0x86, 0x87, 0x0D}));
  EXPECT_EQ(unit.commandsReceived(), 7u);

  ASSERT_TRUE(unit.waitForFrames(9, 5000));
  const auto traffic = unit.traffic();
  const auto received = OfKind(traffic, TrafficEntry::Kind::Received);
  const auto sent = OfKind(traffic, TrafficEntry::Kind::Sent);
  ASSERT_EQ(received.size(), 9u);
  ASSERT_EQ(sent.size(), 7u);
  EXPECT_EQ(received[0].bytes, EncodeFrame(kLinkTest));
  EXPECT_EQ(sent[0].bytes, kLinkOk);
  EXPECT_EQ(received[6].note, "bad checksum");
  EXPECT_EQ(received[8].bytes, ResetCommand());
  EXPECT_TRUE(std::is_sorted(traffic.begin(), traffic.end(),
                             [](const auto& a, const auto& b) { return a.ms < b.ms; }));
  EXPECT_EQ(FormatTraffic(sent[0]).substr(11), "> 81 82 0D");
  EXPECT_EQ(FormatTraffic(received[6]).substr(11), "< 02 02 0D  bad checksum");

  unit.stop();
  EXPECT_FALSE(unit.running());
}

TEST(PtyUnit, ServesThePortOpenedAgainAndDropsRepliesNobodyHears) {
  UnitConfig config;
  config.latencyMs = 1000;
  PtyUnit unit(config);
  ASSERT_TRUE(unit.start());
  const std::string path = unit.slavePath();
  const auto closedCount = [](size_t n) {
    return [n](const std::vector<TrafficEntry>& t) { return CountNote(t, "port closed") >= n; };
  };

  // The program closes the port while the unit is still thinking about its answer: the answer
  // is lost, as on a real line, instead of waiting in the terminal for the next session.
  {
    RawPort port(path);
    ASSERT_TRUE(port.send(EncodeFrame(kLinkTest)));
    ASSERT_TRUE(unit.waitForTraffic(
        [](const auto& t) { return !OfKind(t, TrafficEntry::Kind::Received).empty(); }, 5000));
  }
  ASSERT_TRUE(unit.waitForFrames(1, 5000));
  EXPECT_EQ(CountNote(unit.traffic(), "reply lost: port closed"), 1u);
  ASSERT_TRUE(unit.waitForTraffic(closedCount(1), 5000));

  unit.withUnit([](Kx2Simulator& u) { u.setLatencyMs(0); });
  for (size_t session = 1; session <= 3; ++session) {
    RawPort port(path);
    ASSERT_TRUE(port.isOpen());
    EXPECT_TRUE(port.readPending().empty()) << "stale bytes in session " << session;
    EXPECT_EQ(port.exchange(EncodeFrame(kLinkTest)), kLinkOk);
    port.close();
    EXPECT_TRUE(unit.waitForTraffic(closedCount(session + 1), 5000));
  }
  EXPECT_TRUE(unit.running());

  // A stopped unit can be started again on a fresh terminal, with its memory kept.
  unit.setBytes(0, {0x42});
  unit.stop();
  ASSERT_TRUE(unit.start());
  RawPort again(unit.slavePath());
  EXPECT_EQ(again.exchange(ReadCommand(0)), EncodeFrame(0x84, Text("24FFFFFFFFFFFFFF")));
}

TEST(PtyUnit, NoiseAndCorruptionOnTheWire) {
  UnitConfig config;
  config.faults.noise = 5;
  config.faults.corruptEvery = 2;
  PtyUnit unit(config);
  ASSERT_TRUE(unit.start());
  RawPort port(unit.slavePath());

  for (int i = 1; i <= 2; ++i) {
    ASSERT_TRUE(port.send(EncodeFrame(kIdentify)));
    const Bytes got = port.readBytes(5 + 13);
    ASSERT_EQ(got.size(), 18u);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(ReplyLength(got[k]), 0u) << FormatHex(got);
    const Bytes reply(got.begin() + 5, got.end());
    EXPECT_EQ(reply[0], 0x82);
    EXPECT_EQ(FrameIntact(reply), i == 1) << FormatHex(reply);
  }
  ASSERT_TRUE(unit.waitForFrames(2, 5000));
  EXPECT_EQ(CountNote(unit.traffic(), "corrupt checksum"), 1u);
  EXPECT_TRUE(port.readPending().empty());
}

TEST(PtyUnit, WritesChunksAndPacesAndStopsPromptlyInBetween) {
  // Between two pieces a minute passes: stopping must not wait for it, and what was not
  // written by then never arrives.
  UnitConfig config;
  config.faults.chunk = 4;
  config.chunkGapMs = 60'000;
  PtyUnit chunked(config);
  ASSERT_TRUE(chunked.start());
  RawPort port(chunked.slavePath());
  ASSERT_TRUE(port.send(EncodeFrame(kIdentify)));
  EXPECT_EQ(port.readBytes(4), (Bytes{0x82, '2', '0', 'A'}));
  chunked.stop();
  EXPECT_TRUE(port.readPending().empty());
  const auto sent = OfKind(chunked.traffic(), TrafficEntry::Kind::Sent);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].bytes.size(), 13u);

  // At 50 baud a byte takes 200 ms on the wire; the bytes of a reply go out one by one.
  config = {};
  config.baud = 50;
  PtyUnit paced(config);
  ASSERT_TRUE(paced.start());
  port.open(paced.slavePath());
  ASSERT_TRUE(port.send(EncodeFrame(kLinkTest)));
  EXPECT_EQ(port.readBytes(1), Bytes{0x81});
  paced.stop();
  EXPECT_TRUE(port.readPending().empty());
}

TEST(PtyUnit, HangsUpAfterTheCloseFault) {
  UnitConfig config;
  config.faults.closeAfter = 2;
  PtyUnit unit(config);
  ASSERT_TRUE(unit.start());
  RawPort port(unit.slavePath());

  EXPECT_EQ(port.exchange(EncodeFrame(kLinkTest)), kLinkOk);
  // The last reply still reaches the program before the line drops.
  EXPECT_EQ(port.exchange(ReadCommand(0)), EncodeFrame(0x84, Text("FFFFFFFFFFFFFFFF")));
  EXPECT_TRUE(port.waitHangUp());
  ASSERT_TRUE(unit.waitForFrames(2, 5000));
  EXPECT_TRUE(unit.hungUp());
  EXPECT_EQ(CountNote(unit.traffic(), "line hung up"), 1u);
  port.send(EncodeFrame(kLinkTest));
  EXPECT_TRUE(port.readPending().empty());
  unit.stop();
  EXPECT_FALSE(unit.running());

  // Started again, the unit serves a fresh line, which hangs up after two commands as well.
  ASSERT_TRUE(unit.start());
  port.open(unit.slavePath());
  EXPECT_EQ(port.exchange(EncodeFrame(kLinkTest)), kLinkOk);
  EXPECT_EQ(port.exchange(EncodeFrame(kLinkTest)), kLinkOk);
  EXPECT_TRUE(port.waitHangUp());
}

}  // namespace
}  // namespace sim
