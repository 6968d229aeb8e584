// The serial component against a pseudo-terminal that plays the device.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PtyPair.h"
#include "common/TestLoop.h"
#include "serial/TQlsComm32.h"

namespace {

class CommTest : public ::testing::Test {
 protected:
  // A component as the main window has it: AutoReconnect off, a port name, a state handler.
  std::unique_ptr<TQlsComm32> MakeComm(const std::string& port) {
    auto comm = std::make_unique<TQlsComm32>();
    comm->SetAutoReconnect(false);
    comm->SetCommPort(port);
    comm->OnStateChange = [this](TCommState state) { states.push_back(state); };
    comm->OnRequestHangup = [this](TQlsComm32&) { ++hangups; };
    comm->Loaded();
    loop.RunPending();
    return comm;
  }

  bool RunUntil(const std::function<bool()>& pred, uint32_t timeoutMs = 5000) {
    return loop.RunUntil(pred, timeoutMs);
  }
  // Waits for what the serial threads do on their own, without running the loop.
  static bool WaitWithoutLoop(const std::function<bool()>& pred, int timeoutMs = 5000) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
      if (std::chrono::steady_clock::now() > limit) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  TestLoop loop{ui::HeadlessLoop::Clock::Real};
  PtyPair pty;
  std::vector<TCommState> states;
  int hangups = 0;
};

TEST_F(CommTest, StatesAreReportedWhenHandled) {
  auto comm = MakeComm("/nonexistent/kx2-port");
  EXPECT_EQ(states, std::vector<TCommState>{CommStateDisconnected});

  // A missing port fails, and closing turns the failure into "disconnected".
  EXPECT_FALSE(comm->StartComm());
  EXPECT_EQ(comm->ConnectionState(), CommStateFailed);
  EXPECT_FALSE(comm->Connected());
  EXPECT_FALSE(comm->WriteCommData("x", 1));
  loop.RunPending();
  comm->StopComm();
  EXPECT_EQ(comm->ConnectionState(), CommStateDisconnected);
  loop.RunPending();
  EXPECT_EQ(states, (std::vector<TCommState>{CommStateDisconnected, CommStateFailed,
                                             CommStateDisconnected}));

  // Something that is no terminal is no port.
  char file[] = "/tmp/kx2-serial-XXXXXX";
  const int fd = mkstemp(file);
  ASSERT_GE(fd, 0);
  close(fd);
  comm->SetCommPort(file);
  EXPECT_FALSE(comm->StartComm());
  EXPECT_EQ(comm->ConnectionState(), CommStateFailed);
  unlink(file);

  // Open, reopen, close. Reopening an open port reports nothing in between, and the new
  // threads carry data.
  states.clear();
  comm->SetCommPort(pty.SlavePath());
  ASSERT_TRUE(comm->StartComm());
  ASSERT_TRUE(comm->StartComm());
  loop.RunPending();
  EXPECT_EQ(states, std::vector<TCommState>{CommStateConnected});
  ASSERT_TRUE(comm->WriteCommData("ok", 2));
  EXPECT_EQ(pty.Receive(2), "ok");
  comm->StopComm();
  loop.RunPending();
  EXPECT_EQ(states, (std::vector<TCommState>{CommStateConnected, CommStateDisconnected}));

  // The port can be opened again after a close (its exclusive flag was cleared).
  ASSERT_TRUE(comm->StartComm());
  comm->StopComm();

  // The first handler learns the current state once, even without a change.
  TQlsComm32 fresh;
  fresh.SetAutoReconnect(false);
  fresh.Loaded();
  loop.RunPending();
  std::vector<TCommState> seen;
  fresh.OnStateChange = [&](TCommState state) { seen.push_back(state); };
  loop.RunPending();
  fresh.OnStateChange = [&](TCommState state) { seen.push_back(state); };
  loop.RunPending();
  EXPECT_EQ(seen, std::vector<TCommState>{CommStateDisconnected});
}

TEST_F(CommTest, PropertiesFollowTheirRules) {
  auto comm = MakeComm(pty.SlavePath());
  PtyPair other;

  // Closed, AutoReconnect off: a new name is only stored.
  comm->SetCommPort(other.SlavePath());
  EXPECT_EQ(comm->CommPort(), other.SlavePath());
  EXPECT_FALSE(comm->Connected());
  comm->SetBaudRate(TBaudRate::_9600);
  EXPECT_FALSE(comm->Connected());

  // Turning AutoReconnect on opens the port at once; a new name reopens under that name.
  comm->SetAutoReconnect(true);
  ASSERT_TRUE(comm->Connected());
  comm->SetCommPort(pty.SlavePath());
  ASSERT_TRUE(comm->Connected());
  pty.Send("A");
  std::string got;
  comm->OnReceiveData = [&](const uint8_t* b, uint16_t n) { got.append(b, b + n); };
  EXPECT_TRUE(RunUntil([&] { return got == "A"; }));

  // Line settings reprogram the open port without closing it.
  termios tio{};
  ASSERT_EQ(tcgetattr(pty.Master(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B9600);
  loop.RunPending();
  states.clear();
  comm->SetBaudRate(TBaudRate::_57600);
  comm->SetStopBits(TStopBits::_2);
  ASSERT_EQ(tcgetattr(pty.Master(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B57600);
  EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
  comm->SetBaudRate(TBaudRate::_14400);  // no constant for it: set as a free rate
  EXPECT_TRUE(comm->UpdateDCB());
  comm->SetDataBits(TDataBits::_4);  // no line carries 4-bit characters: port keeps its mode
  EXPECT_FALSE(comm->UpdateDCB());
  EXPECT_TRUE(comm->Connected());
  loop.RunPending();
  EXPECT_TRUE(states.empty());

  // Modem lines: a pseudo-terminal has none; the word stays as it was.
  EXPECT_EQ(comm->GetModemState(), 0u);
  comm->SetDTR(false);
  comm->SetRTS(true);
  EXPECT_FALSE(comm->GetCTS());
}

TEST_F(CommTest, BurstArrivesInOrderInPiecesOfAtMost2048Bytes) {
  auto comm = MakeComm(pty.SlavePath());
  ASSERT_TRUE(comm->StartComm());
  std::vector<std::string> pieces;
  size_t total = 0;
  int rxChars = 0;
  comm->OnReceiveData = [&](const uint8_t* buffer, uint16_t length) {
    EXPECT_LE(length, 2048);
    EXPECT_EQ(buffer[length], 0);  // the copy carries a terminating zero
    pieces.emplace_back(buffer, buffer + length);
    total += length;
  };
  comm->OnRxChar = [&](TQlsComm32&) { ++rxChars; };

  std::string burst(5000, '\0');
  for (size_t i = 0; i < burst.size(); ++i) burst[i] = static_cast<char>(i * 7 % 251);
  pty.Send(burst);
  ASSERT_TRUE(RunUntil([&] { return total >= burst.size(); }));
  std::string joined;
  for (const auto& piece : pieces) joined += piece;
  EXPECT_EQ(joined, burst);
  EXPECT_GE(pieces.size(), 3u);
  EXPECT_GE(rxChars, 1);
  EXPECT_EQ(hangups, 0);
}

TEST_F(CommTest, APieceEndingWithTheEventCharacterIsHandedOverWithoutWaitingForQuiet) {
  auto comm = MakeComm(pty.SlavePath());
  EXPECT_FALSE(comm->EventChar().has_value());
  comm->SetEventChar('\r');
  ASSERT_TRUE(comm->StartComm());
  std::vector<std::string> pieces;
  int rxFlags = 0;
  comm->OnReceiveData = [&](const uint8_t* buffer, uint16_t length) {
    pieces.emplace_back(buffer, buffer + length);
  };
  comm->OnRxFlag = [&](TQlsComm32&) { ++rxFlags; };

  // The reply, then a CR every millisecond: the line never falls quiet, so only the event
  // character can end the piece while the device is still sending. (A reader that is late
  // gathers some of those CRs too; its piece still ends with the event character.)
  const std::string reply = "\x81\x82\r";
  pty.Send(reply);
  int trailing = 0;
  while (comm->ReceivedPieceCount() == 0 && trailing < 1000) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    pty.Send("\r");
    ++trailing;
  }
  ASSERT_GE(comm->ReceivedPieceCount(), 1u) << "no piece while the line stayed busy";
  ASSERT_TRUE(RunUntil([&] { return !pieces.empty(); }));
  ASSERT_GE(pieces[0].size(), reply.size());
  EXPECT_EQ(pieces[0].substr(0, reply.size()), reply);
  EXPECT_EQ(pieces[0].find_first_not_of('\r', reply.size()), std::string::npos) << pieces[0];
  EXPECT_TRUE(RunUntil([&] { return rxFlags > 0; }));

  // Without the event character at its end a burst is still one piece after the quiet time,
  // even with the event character inside it and written in parts (none of which ends with it,
  // so wherever the reader happens to look, what it has gathered does not end with it either).
  RunUntil([] { return false; }, 50);
  pieces.clear();
  pty.Send(
      "\x84"
      "0");
  pty.Send("1\r2");
  pty.Send("34567");
  ASSERT_TRUE(RunUntil([&] { return !pieces.empty(); }));
  RunUntil([] { return false; }, 50);
  EXPECT_EQ(pieces, std::vector<std::string>{"\x84"
                                             "01\r234567"});

  // Switched off on the open port: a CR at the end waits for the quiet time like any byte, so
  // the two writes come as one piece.
  comm->SetEventChar(std::nullopt);
  pieces.clear();
  pty.Send("\x81\x82\r");
  pty.Send("\x81");
  ASSERT_TRUE(RunUntil([&] { return !pieces.empty(); }));
  RunUntil([] { return false; }, 50);
  EXPECT_EQ(pieces, std::vector<std::string>{"\x81\x82\r\x81"});
  EXPECT_EQ(hangups, 0);
}

TEST_F(CommTest, WritesGoOutInQueueOrderNormalOrSlow) {
  auto comm = MakeComm(pty.SlavePath());
  ASSERT_TRUE(comm->StartComm());
  int txEmpty = 0;
  comm->OnTxEmpty = [&](TQlsComm32&) { ++txEmpty; };

  ASSERT_TRUE(comm->WriteCommData("hello", 5));
  EXPECT_EQ(pty.Receive(5), "hello");
  EXPECT_TRUE(RunUntil([&] { return comm->WriteCallCount() == 1; }));
  EXPECT_TRUE(RunUntil([&] { return txEmpty > 0; }));
  EXPECT_TRUE(comm->WriteCommData(nullptr, 0));  // an empty block is queued and writes nothing

  // The slow form makes one write per byte; the normal form one write for the block.
  const uint32_t before = comm->WriteCallCount();
  ASSERT_TRUE(comm->WriteCommDataSlow("0123456789", 10));
  EXPECT_EQ(pty.Receive(10), "0123456789");
  EXPECT_TRUE(RunUntil([&] { return comm->WriteCallCount() >= before + 10; }));
  EXPECT_EQ(comm->WriteCallCount(), before + 10);

  ASSERT_TRUE(comm->WriteCommData("A", 1));
  ASSERT_TRUE(comm->WriteCommDataSlow("BC", 2));
  ASSERT_TRUE(comm->WriteCommData("DE", 2));
  EXPECT_EQ(pty.Receive(5), "ABCDE");

  comm->StopComm();
  EXPECT_FALSE(comm->WriteCommData("x", 1));
  EXPECT_FALSE(comm->WriteCommDataSlow("x", 1));
  EXPECT_EQ(hangups, 0);
}

TEST_F(CommTest, ClosingWhileAWriteIsPendingEndsTheWriter) {
  auto comm = MakeComm(pty.SlavePath());
  ASSERT_TRUE(comm->StartComm());
  // Far more than the pseudo-terminal buffers: nobody reads the master, so the writer waits.
  const std::string big(65535, 'x');
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(comm->WriteCommData(big.data(), 65535));
  ASSERT_TRUE(comm->WriteCommDataSlow("y", 1));
  ASSERT_TRUE(RunUntil([&] { return comm->WriteCallCount() > 0; }));

  comm->StopComm();
  loop.RunPending();
  EXPECT_EQ(comm->ConnectionState(), CommStateDisconnected);
  EXPECT_EQ(hangups, 0);
  EXPECT_LT(pty.Receive(8 * 65535 + 1, 200).size(), 8u * 65535);
}

TEST_F(CommTest, OtherSideClosingRequestsHangupWithoutSpinning) {
  auto comm = MakeComm(pty.SlavePath());
  ASSERT_TRUE(comm->StartComm());
  pty.CloseMaster();

  ASSERT_TRUE(RunUntil([&] { return hangups >= 2; }));
  const int hangupsBefore = hangups;
  const uint32_t start = loop.TickCount();
  loop.RunUntil([] { return false; }, 1000);
  const uint32_t elapsed = loop.TickCount() - start;
  // A reader that retried a dead line at once would request a hang-up on every pass; waiting
  // 100 ms between tries allows about ten a second (bench_dead_line measures its CPU time).
  EXPECT_GT(hangups, hangupsBefore);
  EXPECT_LE(hangups - hangupsBefore, static_cast<int>(elapsed / 100) + 3)
      << "hang-up requests in " << elapsed << " ms";
  // Fatal errors leave the port open; the owner decides.
  EXPECT_EQ(comm->ConnectionState(), CommStateConnected);

  // A write to the dead line fails, ends the writer, and later blocks are refused.
  EXPECT_TRUE(RunUntil([&] { return !comm->WriteCommData("x", 1); }));

  comm->StopComm();
  loop.RunPending();
  EXPECT_EQ(states.back(), CommStateDisconnected);
}

TEST_F(CommTest, WhatAClosedPortQueuedNeverReachesTheNextOpen) {
  auto comm = MakeComm(pty.SlavePath());
  std::string received;
  comm->OnReceiveData = [&](const uint8_t* data, uint16_t count) {
    received.append(reinterpret_cast<const char*>(data), count);
  };
  ASSERT_TRUE(comm->StartComm());
  // The old line delivers bytes and then drops, while the loop does not run.
  pty.Send("old");
  ASSERT_TRUE(WaitWithoutLoop([&] { return comm->ReceivedPieceCount() >= 1; }));
  const size_t queued = loop.PendingPosts();
  pty.CloseMaster();
  ASSERT_TRUE(WaitWithoutLoop([&] { return loop.PendingPosts() > queued; }));

  // The user closes and opens another port before the loop gets to any of it.
  comm->StopComm();
  PtyPair other;
  comm->SetCommPort(other.SlavePath());
  ASSERT_TRUE(comm->StartComm());
  loop.RunPending();
  EXPECT_EQ(hangups, 0);
  EXPECT_EQ(received, "");
  EXPECT_EQ(comm->ConnectionState(), CommStateConnected);

  // The new line is heard as usual.
  other.Send("new");
  ASSERT_TRUE(RunUntil([&] { return received == "new"; }));
  EXPECT_EQ(hangups, 0);
  comm->StopComm();
}

TEST_F(CommTest, NotificationsOutliveTheComponentHarmlessly) {
  bool called = false;
  {
    auto comm = MakeComm(pty.SlavePath());
    ASSERT_TRUE(comm->StartComm());
    comm->OnReceiveData = [&](const uint8_t*, uint16_t) { called = true; };
    comm->OnStateChange = [&](TCommState) { called = true; };
    pty.Send("data");
    // Let the reader post the data while the loop does not run.
    ASSERT_TRUE(WaitWithoutLoop([&] { return comm->ReceivedPieceCount() >= 1; }));
    EXPECT_GT(loop.PendingPosts(), 0u);
  }
  loop.RunPending();
  EXPECT_FALSE(called);

  // A handler that destroys the component while more notifications are queued.
  PtyPair second;
  auto comm = MakeComm(second.SlavePath());
  ASSERT_TRUE(comm->StartComm());
  int pieces = 0;
  comm->OnReceiveData = [&](const uint8_t*, uint16_t) {
    ++pieces;
    comm.reset();
  };
  TQlsComm32* const raw = comm.get();
  second.Send("one");
  ASSERT_TRUE(WaitWithoutLoop([&] { return raw->ReceivedPieceCount() >= 1; }));
  second.Send("two");
  ASSERT_TRUE(WaitWithoutLoop([&] { return raw->ReceivedPieceCount() >= 2; }));
  loop.RunPending();
  EXPECT_EQ(comm, nullptr);
  EXPECT_EQ(pieces, 1);
}

}  // namespace
