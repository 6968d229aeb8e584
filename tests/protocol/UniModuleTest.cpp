// The device module without a unit (the port stays closed): framing of the byte stream, the line
// reader's time-out and the link states on the main window. Exchanges: ModuleSimTest.cpp.

#include "protocol/VUniModule.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/TestLoop.h"
#include "eeprom/EepTestSupport.h"
#include "eeprom/VConfigByteArray.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptReadVorLine.h"
#include "protocol/VScriptReset.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "serial/PtyPair.h"
#include "serial/TQlsComm32.h"
#include "sim/Wire.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Timer.h"

namespace {

// Records what every poll is offered.
class ProbeModule : public VUniModule {
 public:
  using VUniModule::VUniModule;
  struct Offer {
    bool complete;
    std::string bytes;
  };
  void Poll() override {
    TInputBuffer& rx = RxBuffer();
    offers.push_back({LineComplete(), std::string(reinterpret_cast<const char*>(rx.Data()),
                                                  rx.Data() != nullptr ? rx.Length() : 0)});
    if (onPoll) onPoll();
    VUniModule::Poll();
  }
  void StatusColorChanged() override { ++colorChanges; }
  void Feed(const std::string& bytes) {
    for (char c : bytes) FeedByte(static_cast<uint8_t>(c));
  }

  std::vector<Offer> offers;
  std::function<void()> onPoll;
  int colorChanges = 0;
};

// The main window's bottom row, as far as the module looks at it.
struct MainWindow {
  ui::Form form{nullptr, "FormMain"};
  ui::Button* connect = new ui::Button(&form, "BtnConnect");
  ui::Button* abort = new ui::Button(&form, "BtnPrerusit");
  ui::Button* read = new ui::Button(&form, "ReadEEPROM");
  ui::Button* write = new ui::Button(&form, "WriteEEPROM");
  ui::Label* id = new ui::Label(&form, "LabelID");
  ui::Label* version = new ui::Label(&form, "LabelVersion");
  ui::Shape* shape = new ui::Shape(&form, "ShapeProgress");
};

const std::string kConnect = "P\xF8ipojit";
const std::string kCancel =
    "P\xF8"
    "eru\x9Ait";

}  // namespace

TEST(UniModule, FramesRepliesOutOfTheByteStream) {
  TestLoop loop(ui::HeadlessLoop::Clock::Virtual);
  TQlsComm32 comm;
  ProbeModule m(comm, nullptr);

  // Bytes that cannot start a reply are ignored between replies, also a lone CR.
  m.Feed(std::string("\x00\x41\x7F\x80\x87\xFF\r", 7));
  EXPECT_TRUE(m.offers.empty());
  // A reply is offered exactly when its last byte arrives, however it was split.
  m.Feed(
      "\x84"
      "0123");
  m.Feed("456789ABCDEF");
  EXPECT_TRUE(m.offers.empty());
  m.Feed("\x21\r");
  ASSERT_EQ(m.offers.size(), 1u);
  EXPECT_TRUE(m.offers[0].complete);
  EXPECT_EQ(m.offers[0].bytes,
            "\x84"
            "0123456789ABCDEF\x21\r");
  // A read reply that ends after 10 bytes is dropped at its early CR, without a line.
  m.Feed(
      "\x84"
      "01234567\r");
  ASSERT_EQ(m.offers.size(), 2u);
  EXPECT_FALSE(m.offers[1].complete);
  // Bytes after a complete reply start the next one.
  m.Feed("\x81\x82\r\x86\x87\r");
  ASSERT_EQ(m.offers.size(), 4u);
  EXPECT_EQ(m.offers[2].bytes, "\x81\x82\r");
  EXPECT_EQ(m.offers[3].bytes, "\x86\x87\r");
  EXPECT_TRUE(m.RxBuffer().IsEmpty());

  // Bytes that arrive while a reply is being handed over (a script's message box lets the
  // receive event run) are framed after it, not mixed into it.
  m.offers.clear();
  m.onPoll = [&] {
    if (m.offers.size() == 1) m.Feed("\x85\x86\r");
  };
  m.Feed("\x81\x82\r");
  ASSERT_EQ(m.offers.size(), 2u);
  EXPECT_EQ(m.offers[0].bytes, "\x81\x82\r");
  EXPECT_EQ(m.offers[1].bytes, "\x85\x86\r");
  EXPECT_TRUE(m.offers[1].complete);

  // The line reader's time-out drops a reply that was under way; a line without its final CR
  // is never taken.
  m.onPoll = nullptr;
  ASSERT_TRUE(m.LineReader().StartRead(nullptr, 100));
  m.Feed("\x81\x82\n\x84\x31");
  EXPECT_EQ(m.LineReader().State(), 1);
  loop.Advance(101);
  m.Poll();
  EXPECT_EQ(m.LineReader().State(), ScriptFailed);
  EXPECT_TRUE(m.RxBuffer().IsEmpty());
}

TEST(UniModule, AHandlerThatThrowsDoesNotStopTheFraming) {
  TestLoop loop(ui::HeadlessLoop::Clock::Virtual);
  TQlsComm32 comm;
  ProbeModule m(comm, nullptr);
  m.onPoll = [&] {
    if (m.offers.size() == 1) throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(m.Feed("\x81\x82\r"), std::runtime_error);
  EXPECT_FALSE(m.LineComplete());
  EXPECT_TRUE(m.RxBuffer().IsEmpty());
  // The next reply is framed on its own and offered as complete.
  m.Feed("\x86\x87\r");
  ASSERT_EQ(m.offers.size(), 2u);
  EXPECT_EQ(m.offers[1].bytes, "\x86\x87\r");
  EXPECT_TRUE(m.offers[1].complete);
}

TEST(UniModule, LinkStatesOnTheMainWindow) {
  TestLoop loop(ui::HeadlessLoop::Clock::Virtual);
  TQlsComm32 comm;
  MainWindow w;
  ProbeModule m(comm, &w.form);
  int hooks = 0;
  bool portGone = false;
  m.onRefreshLinkState = [&] {
    ++hooks;
    // The window's state handler forgets the unit once the port is gone: it calls back into
    // the module from inside Refresh, which must not recurse.
    if (portGone) m.SetDisconnected();
  };

  m.Init();
  EXPECT_EQ(hooks, 1);
  EXPECT_EQ(w.connect->Text(), kConnect);
  EXPECT_EQ(w.id->Text(), "-");
  EXPECT_EQ(w.version->Text(), "-");
  EXPECT_FALSE(w.read->Enabled());
  EXPECT_FALSE(w.write->Enabled());
  EXPECT_FALSE(w.abort->Enabled());
  EXPECT_EQ(w.shape->BrushColor(), ui::RGB(0, 0, 0));
  EXPECT_EQ(m.colorChanges, 1);
  m.Refresh();
  EXPECT_EQ(m.colorChanges, 1);  // only a change of colour is reported

  // Identified: green, type and version shown, Read and Write available.
  m.devTypeC = 1, m.devTypeB = 0xDA, m.devTypeA = 2, m.verMajor = 1, m.verMinor = 8;
  m.SetIdentified();
  EXPECT_EQ(m.LinkState(), LinkIdle);
  EXPECT_EQ(w.shape->BrushColor(), ui::RGB(0, 255, 0));
  EXPECT_EQ(w.version->Text(), "1.8");
  EXPECT_TRUE(w.read->Enabled());
  EXPECT_TRUE(w.write->Enabled());

  // A running script makes the link busy.
  ASSERT_TRUE(m.ResetScript().StartReset(nullptr));
  m.Refresh();
  EXPECT_EQ(m.LinkState(), LinkBusy);
  EXPECT_EQ(w.shape->BrushColor(), ui::RGB(255, 0, 0));
  EXPECT_EQ(w.connect->Text(), "Rozpojit");
  EXPECT_TRUE(w.abort->Enabled());
  EXPECT_FALSE(w.read->Enabled());

  // Abort reaches the line reader that the reset waits on; the reset then ends aborted, the
  // port closes and the unit is forgotten, without "DeviceDead".
  m.Poll();
  ASSERT_TRUE(m.ResetScript().IsWaiting());
  m.Abort();
  EXPECT_TRUE(m.LineReader().AbortRequested());
  EXPECT_FALSE(m.ResetScript().AbortRequested());
  portGone = true;
  loop.Advance(2001);
  m.Poll();
  EXPECT_EQ(m.ResetScript().State(), ScriptIdle);
  EXPECT_EQ(m.LinkState(), LinkDisconnected);
  EXPECT_EQ(w.connect->Text(), kConnect);
  EXPECT_FALSE(w.abort->Enabled());
  EXPECT_TRUE(loop.Boxes().empty());

  // Abort with nothing running touches nobody.
  bool requested[3];
  for (int slot = 0; slot < 3; ++slot) requested[slot] = m.Script(slot)->AbortRequested();
  m.Abort();
  for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(m.Script(slot)->AbortRequested(), requested[slot]);
  EXPECT_FALSE(m.ConnectScript().AbortRequested());
  EXPECT_FALSE(m.SyncScript().AbortRequested());

  // Closing the program without a unit lets it go at once, for good.
  EXPECT_TRUE(m.RequestDisconnect());
  EXPECT_EQ(w.shape->BrushColor(), ui::RGB(255, 255, 0));
  m.SetIdentified();
  EXPECT_EQ(m.LinkState(), LinkReleased);
}

TEST(UniModule, ControlsTheWindowDestroysAreForgottenAndTheRestKeepShowing) {
  TestLoop loop(ui::HeadlessLoop::Clock::Virtual);
  TQlsComm32 comm;
  auto w = std::make_unique<MainWindow>();
  ProbeModule m(comm, &w->form);
  m.Init();
  EXPECT_EQ(m.Shown(MainControl::Connect), w->connect);
  EXPECT_EQ(m.Shown(MainControl::MemTotal), nullptr);  // this window has no memory labels

  delete w->version;
  EXPECT_EQ(m.Shown(MainControl::Version), nullptr);
  m.devTypeC = 1, m.devTypeB = 0xDA, m.devTypeA = 2, m.verMajor = 1, m.verMinor = 8;
  m.SetIdentified();
  m.Image().setEEPROMid(1, 0xDA, 2, 1, 8);  // the image held the version label too
  EXPECT_EQ(w->id->Text(), "KX2 Ericsson GM2x");
  EXPECT_TRUE(w->read->Enabled());

  w.reset();
  EXPECT_EQ(m.MainWindow(), nullptr);
  EXPECT_EQ(m.Shown(MainControl::Connect), nullptr);
  m.SetDisconnected();
  m.Poll();
  EXPECT_EQ(m.LinkState(), LinkDisconnected);
}

TEST(UniModule, TypeNames) {
  EXPECT_EQ(VUniModule::TypeName(1, 0xDA, 1), "KX0 Siemens M1");
  EXPECT_EQ(VUniModule::TypeName(1, 0xDA, 2), "KX2 Ericsson GM2x");
  EXPECT_EQ(VUniModule::TypeName(1, 0xDA, 3), "KX1 Siemens A1, TC35");
  EXPECT_EQ(VUniModule::TypeName(0xFF, 0xFF, 0xFF), "-");
  EXPECT_EQ(VUniModule::TypeName(2, 0xDA, 2), "(02-DA-02)");
  EXPECT_EQ(VUniModule::TypeName(1, 0xDA, 5), "(01-DA-05)");
}

TEST(UniModule, AScriptSendsItsNextCommandWithTheReplyNotAtTheNextTick) {
  TestLoop loop(ui::HeadlessLoop::Clock::Virtual);
  PtyPair pty;  // the test plays the unit on the master side
  TQlsComm32 comm;
  comm.SetAutoReconnect(false);
  comm.SetCommPort(pty.SlavePath());
  comm.Loaded();
  ASSERT_TRUE(comm.StartComm());
  ProbeModule m(comm, nullptr);
  m.Image().setSizeCode(6);
  m.Image().verifyReads = [] { return true; };
  SmallLayout layout(m.Image());
  ui::Component owner(nullptr);
  auto* timer = new ui::Timer(&owner, "Timer1");
  timer->SetInterval(10);
  timer->SetOnTimer([&](ui::Timer&) { m.Poll(); });
  m.SetIdentified();
  ASSERT_TRUE(m.ReadEEPROM());

  auto asText = [](const sim::Bytes& b) { return std::string(b.begin(), b.end()); };
  auto replyOf = [&](const sim::Bytes& block) {
    return asText(sim::EncodeFrame(0x84, sim::HexBytes(block)));
  };
  // The transfer starts on a tick.
  loop.Advance(10);
  ASSERT_EQ(pty.Receive(7), asText(sim::ReadCommand(0)));
  const uint64_t ticks = loop.TimerFirings();

  // Each reply sends the next command from inside the call that completes it: the verifying
  // second read of the block, then the next block. No timer ticks in between.
  const sim::Bytes block(8, 0);
  m.Feed(replyOf(block));
  EXPECT_EQ(pty.Receive(7), asText(sim::ReadCommand(0)));
  m.Feed(replyOf(block));
  EXPECT_EQ(pty.Receive(7), asText(sim::ReadCommand(8)));
  EXPECT_EQ(loop.TimerFirings(), ticks);

  // A reply nobody waits for (a stray one) sends nothing, and a damaged one neither: the read
  // stays in flight until its time-out, as before.
  m.Feed("\x81\x82\r");
  std::string reply = replyOf(block);
  reply[reply.size() - 2] ^= 1;
  m.Feed(reply);
  EXPECT_EQ(pty.Receive(1, 100), "");
  EXPECT_TRUE(m.SyncScript().IsRunning());
  m.SyncScript().RequestAbort();
  loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall&) { return ui::IDOK; });
  loop.Advance(3000);
  EXPECT_FALSE(m.SyncScript().IsRunning());
  comm.StopComm();
}
