// The device module against the simulated unit on a real pseudo-terminal, through the serial
// component and its threads. Time is virtual: before the clock moves, the rig waits until the
// unit has dealt with every frame sent and the module has received every byte the unit wrote,
// so time-outs and retries run deterministically.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "base/TerminalSink.h"
#include "common/TestLoop.h"
#include "eeprom/VConfigByteArray.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptReadVorLine.h"
#include "protocol/VScriptReset.h"
#include "protocol/VUniModule.h"
#include "serial/TQlsComm32.h"
#include "sim/PtyUnit.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Timer.h"

namespace {

struct TerminalLine {
  int type;
  std::string hex;
  uint32_t tick;
};

class RecordingTerminal : public TerminalSink {
 public:
  void AddBytes(const uint8_t* data, int count, int lineType) override {
    lines.push_back(
        {lineType, sim::FormatHex(sim::Bytes(data, data + count)), ui::Loop().TickCount()});
  }
  std::vector<TerminalLine> Sent() const {
    std::vector<TerminalLine> out;
    for (const auto& l : lines)
      if (l.type == VQelTerminal_ltOutBin) out.push_back(l);
    return out;
  }
  std::vector<TerminalLine> lines;
};

// The main window as far as connecting goes: the port, the poll timer, received bytes shown and
// then fed to the module, the connect button.
class Rig {
 public:
  explicit Rig(const sim::UnitConfig& config = {}) : unit_(config) {
    std::string error;
    if (!unit_.start(&error)) throw std::runtime_error(error);
    comm.SetAutoReconnect(false);
    comm.SetCommPort(unit_.slavePath());
    comm.SetEventChar('\r');  // as the main window has the unit's link
    comm.Loaded();
    comm.OnReceiveData = [this](const uint8_t* data, uint16_t count) {
      terminal.AddBytes(data, count, VQelTerminal_ltInBin);
      delivered_ += count;
      for (uint16_t i = 0; i < count; ++i) module->FeedByte(data[i]);
    };
    module = std::make_unique<VUniModule>(comm, &form);
    module->terminal = &terminal;
    auto* timer = new ui::Timer(&form, "Timer1");
    timer->SetInterval(10);
    timer->SetOnTimer([this](ui::Timer&) { module->Poll(); });
    module->Init();
  }
  ~Rig() {
    comm.StopComm();
    module.reset();
    unit_.stop();
  }

  // The connect button.
  void ClickConnect() {
    if (module->IsDisconnected()) {
      if (module->ConnectScript().IsRunning())
        module->ConnectScript().RequestAbort();
      else
        module->ConnectScript().StartConnect(nullptr);
    } else if (module->ResetScript().IsRunning()) {
      module->ResetScript().RequestAbort();
    } else {
      module->ResetScript().StartReset(nullptr);
    }
    // The caption and the busy state follow at once.
    module->Refresh();
  }

  // Waits (in real time) until the wire is quiet: every frame the module sent has been handled
  // by the unit, and every byte the unit wrote has reached the module.
  void Settle() {
    const size_t frames = terminal.Sent().size();
    ASSERT_TRUE(unit_.waitForFrames(frames, 10000)) << "unit did not handle frame " << frames;
    size_t written = 0;
    for (const auto& e : unit_.traffic())
      if (e.kind == sim::TrafficEntry::Kind::Sent) written += e.bytes.size();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (true) {
      loop.RunPending();
      if (delivered_ >= written) break;
      ASSERT_LT(std::chrono::steady_clock::now(), limit) << "replies did not arrive";
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  // Runs the program in steps of one poll until pred holds or ms of virtual time passed.
  bool RunUntil(const std::function<bool()>& pred, uint32_t ms) {
    for (uint32_t t = 0; t <= ms; t += 10) {
      Settle();
      if (pred()) return true;
      loop.Advance(10);
    }
    return pred();
  }
  void RunFor(uint32_t ms) {
    RunUntil([] { return false; }, ms);
  }
  bool Connected() {
    return RunUntil([&] { return !module->IsDisconnected() && !module->AnyScriptRunning(); },
                    60000);
  }
  bool Ended(VGeneralScript& script, uint32_t ms = 60000) {
    return RunUntil([&] { return script.State() == ScriptIdle; }, ms);
  }

  // The frames the unit received, as hex.
  std::vector<std::string> Frames() const {
    std::vector<std::string> out;
    for (const auto& e : unit_.traffic())
      if (e.kind == sim::TrafficEntry::Kind::Received) out.push_back(sim::FormatHex(e.bytes));
    return out;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> out;
    for (const auto& b : loop.Boxes()) out.push_back(b.text);
    return out;
  }
  ui::Color Status() const { return shape->BrushColor(); }

  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  ui::Form form{nullptr, "FormMain"};
  ui::Button* connect = new ui::Button(&form, "BtnConnect");
  ui::Label* id = new ui::Label(&form, "LabelID");
  ui::Label* version = new ui::Label(&form, "LabelVersion");
  ui::Shape* shape = new ui::Shape(&form, "ShapeProgress");
  TQlsComm32 comm;
  RecordingTerminal terminal;
  std::unique_ptr<VUniModule> module;

 private:
  sim::PtyUnit unit_;
  size_t delivered_ = 0;
};

const std::string kLinkTest = "01 02 0D";
const std::string kIdentify = "02 03 0D";
const std::string kMemory = "03 04 0D";
const std::string kReset = "06 AA 55 06 0D";
const std::string kDeviceDead =
    "Za\xF8\xEDzen\xED p\xF8"
    "estalo komunikovat. Ov\xEC\xF8te propojen\xED a nap\xE1jen\xED.";

sim::UnitConfig Unit(sim::Identity identity = {}, sim::Faults faults = {}) {
  sim::UnitConfig config;
  config.identity = identity;
  config.faults = faults;
  return config;
}

}  // namespace

TEST(ModuleWithUnit, ConnectIdentifyDisconnectOnTheWire) {
  sim::UnitConfig config = Unit();
  config.sizeCode = 6;
  config.memExtra = 0x5A;
  Rig rig(config);
  EXPECT_EQ(rig.connect->Text(), "P\xF8ipojit");

  // The caption follows the click at once; the reply may already be in by the next poll.
  rig.ClickConnect();
  EXPECT_TRUE(rig.comm.Connected());
  EXPECT_EQ(rig.connect->Text(),
            "P\xF8"
            "eru\x9Ait");
  rig.loop.Advance(10);
  ASSERT_TRUE(rig.Connected());
  EXPECT_EQ(rig.Frames(), (std::vector<std::string>{kLinkTest, kIdentify, kMemory}));
  EXPECT_EQ(rig.module->LinkState(), LinkIdle);
  EXPECT_EQ(rig.Status(), ui::RGB(0, 255, 0));
  EXPECT_EQ(rig.id->Text(), "KX2 Ericsson GM2x");
  EXPECT_EQ(rig.version->Text(), "1.8");
  EXPECT_EQ(rig.connect->Text(), "Odpojit");
  const VConfigByteArray::EEPROMid& stored = rig.module->Image().id();
  EXPECT_EQ((std::vector<int>{stored.identity1, stored.identity2, stored.identity3}),
            (std::vector<int>{1, 0xDA, 2}));
  EXPECT_EQ(rig.module->Image().capacity(), 8192);
  EXPECT_EQ(rig.module->memExtra, 0x5A);
  EXPECT_TRUE(rig.loop.Boxes().empty());
  // Sent bytes are shown in the terminal as sent.
  EXPECT_EQ(rig.terminal.lines[0].type, VQelTerminal_ltOutBin);
  EXPECT_EQ(rig.terminal.lines[0].hex, kLinkTest);

  // Disconnect: the reset, its answer, the port closed, everything back to the start.
  rig.ClickConnect();
  EXPECT_EQ(rig.connect->Text(), "Rozpojit");
  rig.loop.Advance(10);
  ASSERT_TRUE(rig.Ended(rig.module->ResetScript()));
  EXPECT_EQ(rig.Frames().back(), kReset);
  EXPECT_FALSE(rig.comm.Connected());
  EXPECT_TRUE(rig.module->IsDisconnected());
  EXPECT_EQ(rig.Status(), ui::RGB(0, 0, 0));
  EXPECT_EQ(rig.id->Text(), "-");
  EXPECT_TRUE(rig.loop.Boxes().empty());

  // A command's data is limited to what one frame holds: beyond it nothing goes out.
  ASSERT_TRUE(rig.comm.StartComm());
  const std::vector<uint8_t> data(VGeneralCommScript::MaxData + 1, '0');
  const size_t before = rig.terminal.lines.size();
  EXPECT_FALSE(
      rig.module->LineReader().SendCommand(0x05, data.data(), VGeneralCommScript::MaxData + 1));
  EXPECT_EQ(rig.terminal.lines.size(), before);
  EXPECT_TRUE(rig.module->LineReader().SendCommand(0x05, data.data(), VGeneralCommScript::MaxData));
  ASSERT_EQ(rig.terminal.lines.size(), before + 1);
  EXPECT_EQ(rig.terminal.lines.back().hex.size(), 3u * VGeneralCommScript::MaxFrame - 1);
}

TEST(ModuleWithUnit, TypeAndVersionChecks) {
  struct Case {
    const char* what;
    sim::Identity identity;
    std::vector<int> answers;        // to the boxes, in order
    std::vector<unsigned> boxFlags;  // the boxes expected
    const char* textHas;             // in the last box
    bool connects;
  };
  const unsigned question = ui::MB_YESNO | ui::MB_ICONWARNING;
  const unsigned warning = ui::MB_OK | ui::MB_ICONWARNING;
  const Case cases[] = {
      {"1.8 silently", {1, 0xDA, 1, 1, 8}, {}, {}, "", true},
      {"1.255 silently", {1, 0xDA, 3, 1, 255}, {}, {}, "", true},
      {"1.7 refused", {1, 0xDA, 2, 1, 7}, {ui::IDOK}, {warning}, "(1.7) je ni\x9E\x9A\xED", false},
      {"0.9 refused", {1, 0xDA, 2, 0, 9}, {ui::IDOK}, {warning}, "(0.9)", false},
      {"2.0 yes", {1, 0xDA, 2, 2, 0}, {ui::IDYES}, {question}, "(2.0) je vy\x9A\x9A\xED", true},
      {"2.0 no", {1, 0xDA, 2, 2, 0}, {ui::IDNO}, {question}, "(1.8),\n", false},
      {"foreign no", {1, 0xDA, 4, 1, 8}, {ui::IDNO}, {question}, "XKX2, ", false},
      // Its identification has the checksum 0x0D, sent as 0x0C; both questions are asked.
      {"foreign yes",
       {0xAA, 0xAA, 0xAA, 0xAA, 0xAA},
       {ui::IDYES, ui::IDYES},
       {question, question},
       "(170.170)",
       true},
      {"foreign yes, old",
       {2, 0xDA, 2, 1, 7},
       {ui::IDYES, ui::IDOK},
       {question, warning},
       "(1.7)",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig(Unit(c.identity));
    for (int answer : c.answers) rig.loop.AnswerNextBox(answer);
    rig.ClickConnect();
    ASSERT_TRUE(rig.Ended(rig.module->ConnectScript()));
    ASSERT_EQ(rig.loop.Boxes().size(), c.boxFlags.size());
    for (size_t i = 0; i < c.boxFlags.size(); ++i) {
      EXPECT_EQ(rig.loop.Boxes()[i].caption, "KX2 Init");
      EXPECT_EQ(rig.loop.Boxes()[i].flags, c.boxFlags[i]);
    }
    if (!c.boxFlags.empty()) {
      EXPECT_NE(rig.loop.Boxes().back().text.find(c.textHas), std::string::npos);
    }
    EXPECT_EQ(rig.module->IsDisconnected(), !c.connects);
    EXPECT_EQ(rig.comm.Connected(), c.connects);
    const std::vector<std::string> identified = {kLinkTest, kIdentify, kMemory};
    const std::vector<std::string> refused = {kLinkTest, kIdentify};
    EXPECT_EQ(rig.Frames(), c.connects ? identified : refused);
    if (c.connects) {
      EXPECT_EQ(rig.id->Text(), VUniModule::TypeName(c.identity.c, c.identity.b, c.identity.a));
    }
  }
}

TEST(ModuleWithUnit, LinkTestRepeatsUntilAnsweredOrAborted) {
  {
    Rig rig(Unit({}, {.ignoreFirst = 3}));
    rig.ClickConnect();
    ASSERT_TRUE(rig.Connected());
    EXPECT_EQ(rig.Frames(), (std::vector<std::string>{kLinkTest, kLinkTest, kLinkTest, kLinkTest,
                                                      kIdentify, kMemory}));
    // Each unanswered link test waits its 500 ms before the next goes out.
    const auto sent = rig.terminal.Sent();
    for (size_t i = 1; i < 4; ++i) {
      const uint32_t gap = sent[i].tick - sent[i - 1].tick;
      EXPECT_GT(gap, 500u);
      EXPECT_LE(gap, 530u);
    }
  }
  {
    // Nobody answers: the link test goes out until the connect button is pressed again, then
    // the script ends aborted at the pending time-out and the port closes, without a message.
    Rig rig(Unit({}, {.silentAfter = 0}));
    rig.ClickConnect();
    rig.RunFor(3000);
    EXPECT_GE(rig.Frames().size(), 5u);
    EXPECT_TRUE(rig.module->ConnectScript().IsRunning());
    EXPECT_EQ(rig.connect->Text(),
              "P\xF8"
              "eru\x9Ait");
    rig.ClickConnect();
    ASSERT_TRUE(rig.Ended(rig.module->ConnectScript(), 600));
    EXPECT_FALSE(rig.comm.Connected());
    EXPECT_TRUE(rig.loop.Boxes().empty());
    EXPECT_EQ(rig.connect->Text(), "P\xF8ipojit");
  }
}

TEST(ModuleWithUnit, SilentUnitEndsInDeviceDeadAndThePortCloses) {
  {
    // The unit stops answering after the link test: three identification requests 2000 ms
    // apart, then "DeviceDead".
    Rig rig(Unit({}, {.silentAfter = 1}));
    rig.loop.AnswerNextBox(ui::IDOK);
    rig.ClickConnect();
    ASSERT_TRUE(rig.Ended(rig.module->ConnectScript()));
    EXPECT_EQ(rig.Frames(), (std::vector<std::string>{kLinkTest, kIdentify, kIdentify, kIdentify}));
    const auto sent = rig.terminal.Sent();
    EXPECT_GT(sent[2].tick - sent[1].tick, 2000u);
    EXPECT_EQ(rig.BoxTexts(), std::vector<std::string>{kDeviceDead});
    EXPECT_EQ(rig.loop.Boxes()[0].flags, unsigned{ui::MB_OK | ui::MB_ICONERROR});
    EXPECT_FALSE(rig.comm.Connected());
    EXPECT_TRUE(rig.module->IsDisconnected());
  }
  {
    // The reset closes the port also when the unit never answers it: four sends, then
    // "DeviceDead".
    Rig rig(Unit({}, {.silentAfter = 3}));
    rig.ClickConnect();
    ASSERT_TRUE(rig.Connected());
    rig.loop.AnswerNextBox(ui::IDOK);
    rig.ClickConnect();
    ASSERT_TRUE(rig.Ended(rig.module->ResetScript()));
    EXPECT_EQ(rig.Frames(), (std::vector<std::string>{kLinkTest, kIdentify, kMemory, kReset, kReset,
                                                      kReset, kReset}));
    EXPECT_EQ(rig.BoxTexts(), std::vector<std::string>{kDeviceDead});
    EXPECT_FALSE(rig.comm.Connected());
    EXPECT_TRUE(rig.module->IsDisconnected());
    EXPECT_EQ(rig.Status(), ui::RGB(0, 0, 0));
  }
  {
    // Closing the program: the same reset, with the same message, then the unit is let go.
    Rig rig(Unit({}, {.silentAfter = 3}));
    rig.ClickConnect();
    ASSERT_TRUE(rig.Connected());
    rig.loop.AnswerNextBox(ui::IDOK);
    EXPECT_FALSE(rig.module->RequestDisconnect());
    ASSERT_TRUE(rig.RunUntil([&] { return rig.module->RequestDisconnect(); }, 60000));
    EXPECT_EQ(rig.Frames().size(), 7u);
    EXPECT_EQ(rig.BoxTexts(), std::vector<std::string>{kDeviceDead});
    EXPECT_FALSE(rig.comm.Connected());
    EXPECT_EQ(rig.Status(), ui::RGB(255, 255, 0));
  }
}

TEST(ModuleWithUnit, DamagedRepliesAreIgnoredAndSplitOnesAssembled) {
  {
    // Every second reply has a wrong checksum: ignored, asked again after 2000 ms.
    Rig rig(Unit({}, {.corruptEvery = 2}));
    rig.ClickConnect();
    ASSERT_TRUE(rig.Connected());
    EXPECT_EQ(rig.Frames(),
              (std::vector<std::string>{kLinkTest, kIdentify, kIdentify, kMemory, kMemory}));
    const auto sent = rig.terminal.Sent();
    EXPECT_GT(sent[2].tick - sent[1].tick, 2000u);
    EXPECT_TRUE(rig.loop.Boxes().empty());
  }
  {
    // Noise before every reply, and replies written in pieces.
    Rig rig(Unit({}, {.noise = 5, .chunk = 2}));
    rig.ClickConnect();
    ASSERT_TRUE(rig.Connected());
    EXPECT_EQ(rig.Frames(), (std::vector<std::string>{kLinkTest, kIdentify, kMemory}));
    EXPECT_EQ(rig.version->Text(), "1.8");
    EXPECT_TRUE(rig.loop.Boxes().empty());
  }
}
