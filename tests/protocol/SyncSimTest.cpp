// Reading and writing a unit's configuration memory against the simulated unit on a real
// pseudo-terminal, with a small layout of its own (header with address words, fixed bytes, used
// length and checksum; relocatable groups with texts).

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "base/Cp1250.h"
#include "common/TestLoop.h"
#include "eeprom/EepTestSupport.h"
#include "eeprom/VConfigByteArray.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "protocol/VUniModule.h"
#include "serial/TQlsComm32.h"
#include "sim/PtyUnit.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Timer.h"

namespace {

using Kind = sim::TrafficEntry::Kind;

// The bytes a layout lays out, as a unit would hold them.
std::vector<uint8_t> LaidOut(const std::string& s0, const std::string& s2) {
  TestLoop quiet(ui::HeadlessLoop::Clock::Virtual);
  VConfigByteArray image;
  image.setSizeCode(6);
  SmallLayout layout(image, s0, s2);
  EXPECT_TRUE(image.writeSettings(true, false));
  return ShowingBytes(image);
}

struct Sync : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Real};
  sim::PtyUnit unit;
  ui::Application app;
  ui::Form* form = new ui::Form(&app, "FormMain");
  ui::Form* progress = new ui::Form(&app, "FormProgress");
  ui::Gauge* gauge = new ui::Gauge(progress, "GaugeProg");
  TQlsComm32 comm;
  std::unique_ptr<VUniModule> module;
  std::unique_ptr<SmallLayout> layout;
  bool verify = true;
  int maxGauge = 0;

  void SetUp() override {
    gauge->SetParent(progress);
    ASSERT_TRUE(unit.start());
    comm.SetAutoReconnect(false);
    comm.SetCommPort(unit.slavePath());
    comm.Loaded();
    comm.OnReceiveData = [this](const uint8_t* data, uint16_t n) {
      for (uint16_t i = 0; i < n; ++i) module->FeedByte(data[i]);
    };
    module = std::make_unique<VUniModule>(comm, form);
    module->SetProgressWindow(progress);
    module->Image().verifyReads = [this] { return verify; };
    layout = std::make_unique<SmallLayout>(module->Image(), "", "");
    auto* timer = new ui::Timer(form, "Timer1");
    timer->SetInterval(10);
    timer->SetOnTimer([this](ui::Timer&) {
      module->Poll();
      maxGauge = std::max(maxGauge, gauge->Progress());
    });
    module->Init();
    loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall& call) {
      return (call.flags & ui::MB_ICONMASK) == ui::MB_ICONINFORMATION ? ui::IDOK : 0;
    });
    ASSERT_TRUE(module->ConnectScript().StartConnect(nullptr));
    ASSERT_TRUE(loop.RunUntil([&] { return module->LinkState() == LinkIdle; }, 5000));
    unit.clearTraffic();
  }
  void TearDown() override {
    comm.StopComm();
    module.reset();
    layout.reset();
    unit.stop();
  }
  bool RunSync() {
    return loop.RunUntil([&] { return !module->SyncScript().IsRunning(); }, 20000) &&
           loop.RunUntil([&] { return module->LinkState() == LinkIdle; }, 1000);
  }
  // Commands the unit received with the given code, in order, with their addresses.
  std::vector<int> Addresses(uint8_t code) {
    std::vector<int> out;
    for (const auto& t : unit.traffic())
      if (t.kind == Kind::Received && t.bytes.size() >= 7 && t.bytes[0] == code)
        out.push_back(sim::DecodeHexWord(t.bytes.data() + 1));
    return out;
  }
  std::string LastBox() { return loop.Boxes().empty() ? "" : loop.Boxes().back().text; }
};

TEST_F(Sync, AVerifiedReadReadsEveryBlockTwiceAndInterpretsTheConfiguration) {
  const auto bytes = LaidOut("hello", "world");
  unit.setBytes(0, bytes);
  ASSERT_TRUE(module->ReadEEPROM());
  EXPECT_TRUE(progress->Visible());
  ASSERT_TRUE(RunSync());
  EXPECT_FALSE(progress->Visible());
  EXPECT_EQ(LastBox(), Win1250("Nastavení zařízení bylo načteno"));
  EXPECT_EQ(layout->t0.loaded, "hello");
  EXPECT_EQ(layout->t2.loaded, "world");
  layout->t0.set(layout->t0.loaded);  // the test texts keep what they read apart
  layout->t2.set(layout->t2.loaded);
  loop.Advance(30);  // the next polls measure the configuration anew
  EXPECT_EQ(module->Image().usedLength(), static_cast<int>(bytes.size()));
  const auto reads = Addresses(0x04);
  // Every block of the configuration, each twice; nothing beyond the last block.
  for (int a = 0; a < static_cast<int>(bytes.size()); a += 8)
    EXPECT_EQ(std::count(reads.begin(), reads.end(), std::min<int>(a, bytes.size())), 2) << a;
  EXPECT_GT(maxGauge, 0);
}

TEST_F(Sync, WithoutVerificationEachBlockIsReadOnce) {
  verify = false;
  const auto bytes = LaidOut("abc", "x");
  unit.setBytes(0, bytes);
  ASSERT_TRUE(module->ReadEEPROM());
  ASSERT_TRUE(RunSync());
  EXPECT_EQ(layout->t0.loaded, "abc");
  const auto reads = Addresses(0x04);
  for (int a : reads) EXPECT_EQ(std::count(reads.begin(), reads.end(), a), 1) << a;
}

TEST_F(Sync, AWriteSendsTheBodyWithAZeroHeaderThenTheHeaderAndReadsItAllBack) {
  unit.setBytes(0, LaidOut("old", "text"));
  ASSERT_TRUE(module->ReadEEPROM());
  ASSERT_TRUE(RunSync());
  unit.clearTraffic();
  layout->t2.set(layout->t2.loaded);  // the test texts keep what they read apart
  layout->t0.set("newer");
  ASSERT_TRUE(module->WriteEEPROM());
  ASSERT_TRUE(RunSync());
  EXPECT_EQ(LastBox(), Win1250("Zařízení bylo úspěšně naprogramováno"));
  const auto expected = LaidOut("newer", "text");
  EXPECT_EQ(unit.bytes(0, expected.size()), expected);
  // The header goes out twice: zeroed first, then for real, as the last writes.
  const int h = module->Image().headerLength();
  const auto writes = Addresses(0x05);
  ASSERT_GE(writes.size(), 3u);
  EXPECT_EQ(writes.front(), 0);
  EXPECT_LT(writes.back(), h);
  EXPECT_GE(std::count_if(writes.begin(), writes.end(), [h](int a) { return a < h; }), 3);
  // The second pass over the header comes last and covers it from its first byte to its last.
  size_t tail = writes.size();
  while (tail > 0 && writes[tail - 1] < h) --tail;
  ASSERT_GT(tail, 0u) << "the body was not written between the two header passes";
  const auto [lowest, highest] = std::minmax_element(writes.begin() + tail, writes.end());
  EXPECT_EQ(*lowest, 0);
  EXPECT_GE(*highest + 8, h);
  // Everything written was read back.
  const auto reads = Addresses(0x04);
  for (int a : writes) EXPECT_NE(std::find(reads.begin(), reads.end(), a), reads.end()) << a;
}

TEST_F(Sync, AnUnchangedConfigurationWritesOnlyTheHeader) {
  unit.setBytes(0, LaidOut("same", "same"));
  ASSERT_TRUE(module->ReadEEPROM());
  ASSERT_TRUE(RunSync());
  unit.clearTraffic();
  ASSERT_TRUE(module->WriteEEPROM());
  ASSERT_TRUE(RunSync());
  for (int a : Addresses(0x05)) EXPECT_LT(a, module->Image().headerLength());
}

TEST_F(Sync, AConfigurationThatDoesNotFitIsRefusedBeforeAnythingIsSent) {
  unit.withUnit([](sim::Kx2Simulator&) {});
  module->Image().setSizeCode(0);  // 128 bytes
  layout->t0.set(std::string(200, 'x'));
  loop.AnswerNextBox(ui::IDOK);
  EXPECT_FALSE(module->WriteEEPROM());
  ASSERT_EQ(loop.Boxes().size(), 1u);
  EXPECT_EQ(loop.Boxes()[0].text, Win1250("Nastavení se nevejde do paměti zařízení!"));
  EXPECT_FALSE(progress->Visible());
  loop.Advance(100);
  EXPECT_TRUE(Addresses(0x05).empty());
}

TEST_F(Sync, AConfigurationShorterThanABlockIsWrittenFromAddressZero) {
  // Five constant bytes, the first two of them the header: the block that ends after them would
  // start before the memory does.
  layout.reset();
  VConfigByteArray& image = module->Image();
  image.setHeaderLength(2);
  std::vector<std::unique_ptr<VESFixedByte>> bytes;
  for (uint8_t b : {0x12, 0x34, 0x56, 0x78, 0x9A}) {
    bytes.push_back(std::make_unique<VESFixedByte>(b));
    image.root().addVVC(bytes.back().get());
  }
  loop.AnswerNextBox(ui::IDOK);  // "EepWriteOK"
  ASSERT_TRUE(module->WriteEEPROM());
  ASSERT_TRUE(RunSync());
  EXPECT_EQ(module->SyncScript().LastEndState(), ScriptDone);
  EXPECT_EQ(LastBox(), Win1250("Zařízení bylo úspěšně naprogramováno"));
  EXPECT_EQ(unit.bytes(0, 5), (sim::Bytes{0x12, 0x34, 0x56, 0x78, 0x9A}));
  const auto writes = Addresses(0x05);
  ASSERT_FALSE(writes.empty());
  for (int a : writes) EXPECT_EQ(a, 0);
}

TEST_F(Sync, CancelAndASilentUnitEndTheTransferWithTheirMessages) {
  unit.setBytes(0, LaidOut("abc", "def"));
  ASSERT_TRUE(module->ReadEEPROM());
  ASSERT_TRUE(unit.waitForFrames(2, 2000));
  module->Abort();  // the progress window's cancel
  ASSERT_TRUE(RunSync());
  EXPECT_EQ(LastBox(), Win1250("Čtení nastavení zařízení bylo přerušeno"));
  EXPECT_FALSE(progress->Visible());

  loop.ClearBoxes();
  unit.withUnit([](sim::Kx2Simulator& u) { u.setFaults(sim::Faults{.silentAfter = 0}); });
  loop.AnswerNextBox(ui::IDOK);
  ASSERT_TRUE(module->WriteEEPROM());
  ASSERT_TRUE(loop.RunUntil([&] { return !module->SyncScript().IsRunning(); }, 20000));
  ASSERT_EQ(loop.Boxes().size(), 1u);  // DeviceDead after four sends; no end message
  EXPECT_EQ(loop.Boxes()[0].flags & ui::MB_ICONMASK, ui::MB_ICONERROR);
  EXPECT_EQ(Addresses(0x05).size(), 4u);
}

}  // namespace

namespace {

TEST_F(Sync, AReadThatCannotBeInterpretedEndsFailed) {
  auto bytes = LaidOut("abc", "def");
  bytes[6] = 0x00;  // a fixed byte of the header that must be 0x3F
  unit.setBytes(0, bytes);
  loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall&) { return ui::IDOK; });
  ASSERT_TRUE(module->ReadEEPROM());
  ASSERT_TRUE(RunSync());
  EXPECT_EQ(module->SyncScript().LastEndState(), ScriptFailed);
  ASSERT_FALSE(loop.Boxes().empty());
  EXPECT_EQ(loop.Boxes().back().text, Win1250("Chyba při interpretaci nastavení zařízení"));
  for (const auto& box : loop.Boxes())
    EXPECT_NE(box.text, Win1250("Nastavení zařízení bylo načteno"));
}

}  // namespace
