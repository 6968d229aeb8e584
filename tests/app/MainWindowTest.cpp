#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "base/Cp1250.h"
#include "base/SettingsStore.h"
#include "common/TempDir.h"
#include "common/TestLoop.h"
#include "components/VQelTerminal.h"
#include "components/VQelTerminalView.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "protocol/VUniModule.h"
#include "serial/TQlsComm32.h"
#include "sim/PtyUnit.h"
#include "ui/EndSignals.h"

namespace {

// The program as the desktop runs it, on the real clock, with a simulated unit on a
// pseudo-terminal.
struct MainWindow : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Real};
  sim::PtyUnit unit;
  std::unique_ptr<Program> program;

  void SetUp() override {
    ASSERT_TRUE(unit.start());
    program = StartProgram(loop);
    ASSERT_TRUE(Main().startedUp);
  }
  void TearDown() override {
    CloseProgram(loop, program);
    unit.stop();
    EXPECT_EQ(loop.UnexpectedBoxes(), 0);
  }
  TFormMain& Main() { return program->Main(); }
  VUniModule& Module() { return *Main().uniModule; }
  std::string Label(ui::Control* c) { return Cp1250ToUtf8(c->Text()); }

  void Connect() {
    Main().ComboComm->UserReplace(unit.slavePath());
    Main().BtnConnect->UserClick();
    ASSERT_TRUE(loop.RunUntil([&] { return !Module().IsDisconnected(); }, 5000));
  }
};

TEST_F(MainWindow, ConnectShowsTheUnitAndDisconnectResetsAndClosesThePort) {
  TFormMain& m = Main();
  EXPECT_EQ(Label(m.LabelID), "-");
  EXPECT_EQ(Label(m.BtnConnect), "Připojit");
  EXPECT_FALSE(m.ReadEEPROM->Enabled());

  m.ComboComm->UserReplace(unit.slavePath());
  EXPECT_EQ(m.QlsComm321->CommPort(), unit.slavePath());
  m.BtnConnect->UserClick();
  ASSERT_TRUE(m.QlsComm321->Connected());
  loop.RunPending();
  EXPECT_FALSE(m.ComboComm->Enabled());  // the port cannot change while it is open
  ASSERT_TRUE(loop.RunUntil([&] { return !Module().IsDisconnected(); }, 5000));
  loop.RunPending();
  EXPECT_EQ(Label(m.LabelComm), "Připojeno");
  EXPECT_EQ(m.LabelComm->FontColor(), ui::RGB(0, 0, 255));
  EXPECT_EQ(Label(m.LabelID), "KX2 Ericsson GM2x");
  EXPECT_EQ(Label(m.LabelVersion), "1.8");
  EXPECT_EQ(Label(m.BtnConnect), "Odpojit");
  EXPECT_EQ(m.ShapeProgress->BrushColor(), ui::RGB(0, 255, 0));
  EXPECT_TRUE(m.ReadEEPROM->Enabled());
  EXPECT_TRUE(m.WriteEEPROM->Enabled());

  // Received bytes reach the terminal: the identification's replies are there.
  bool sawReply = false;
  for (const auto& line : m.VQelTerminal1->RichEdit()->Lines())
    if (line.Text().rfind("+ # 82", 0) == 0) sawReply = true;
  EXPECT_TRUE(sawReply);

  m.BtnConnect->UserClick();  // Disconnect: reset, then the port closes
  ASSERT_TRUE(loop.RunUntil([&] { return !m.QlsComm321->Connected(); }, 5000));
  loop.RunPending();
  EXPECT_TRUE(Module().IsDisconnected());
  EXPECT_EQ(Label(m.LabelComm), "Port uvolněn");
  EXPECT_EQ(Label(m.LabelID), "-");
  EXPECT_TRUE(m.ComboComm->Enabled());
  EXPECT_FALSE(m.ReadEEPROM->Enabled());
  const auto traffic = unit.traffic();
  bool sawReset = false;
  for (const auto& t : traffic)
    if (t.kind == sim::TrafficEntry::Kind::Received &&
        t.bytes == sim::Bytes{0x06, 0xAA, 0x55, 0x06, 0x0D})
      sawReset = true;
  EXPECT_TRUE(sawReset);
}

TEST_F(MainWindow, APortThatCannotBeOpenedIsShownBlockedAndNothingStarts) {
  TFormMain& m = Main();
  m.ComboComm->UserReplace("/dev/kx2-no-such-port");
  m.BtnConnect->UserClick();
  loop.RunPending();
  EXPECT_EQ(Label(m.LabelComm), "Port blokován");
  EXPECT_EQ(m.LabelComm->Hint(), "No such file or directory");  // the system's reason
  EXPECT_EQ(m.LabelComm->FontColor(), ui::RGB(255, 0, 0));
  EXPECT_FALSE(Module().ConnectScript().IsRunning());
  EXPECT_TRUE(m.ComboComm->Enabled());
  // Something that is no terminal says so; a port that opens forgets the reason.
  m.ComboComm->UserReplace("/dev/null");
  m.BtnConnect->UserClick();
  loop.RunPending();
  EXPECT_EQ(m.LabelComm->Hint(), "Inappropriate ioctl for device");
  m.ComboComm->UserReplace(unit.slavePath());
  m.BtnConnect->UserClick();
  loop.RunPending();
  EXPECT_TRUE(m.QlsComm321->Connected());
  EXPECT_EQ(m.LabelComm->Hint(), "");
}

TEST_F(MainWindow, PressingConnectTwiceAbortsTheConnectAndClosesThePort) {
  unit.withUnit([](sim::Kx2Simulator& u) {
    u.setFaults(sim::Faults{.silentAfter = 0});
  });  // the unit never answers
  TFormMain& m = Main();
  m.ComboComm->UserReplace(unit.slavePath());
  m.BtnConnect->UserClick();
  loop.RunPending();
  EXPECT_EQ(Label(m.LabelComm), "Není odpověď");
  loop.Advance(1100);  // a few link tests go out meanwhile
  // The caption follows the module's refresh, which comes with the first unanswered test.
  EXPECT_EQ(Label(m.BtnConnect), "Přerušit");
  m.BtnConnect->UserClick();
  ASSERT_TRUE(loop.RunUntil([&] { return !m.QlsComm321->Connected(); }, 3000));
  loop.RunPending();
  EXPECT_EQ(Label(m.BtnConnect), "Připojit");
  EXPECT_TRUE(Module().IsDisconnected());
  int linkTests = 0;
  for (const auto& t : unit.traffic())
    if (t.kind == sim::TrafficEntry::Kind::Received && t.bytes == sim::Bytes{0x01, 0x02, 0x0D})
      ++linkTests;
  EXPECT_GE(linkTests, 2);
}

TEST_F(MainWindow, ClosingWhileConnectedResetsTheUnitBeforeTheWindowGoes) {
  Connect();
  TFormMain& m = Main();
  m.Close();
  EXPECT_FALSE(m.closeDone);  // the window waits for the unit
  EXPECT_TRUE(m.Visible());
  ASSERT_TRUE(loop.RunUntil([&] { return m.closeDone; }, 5000));
  EXPECT_FALSE(m.QlsComm321->Connected());
  EXPECT_TRUE(m.FreeRequested());
  EXPECT_TRUE(program->App().Terminated());
  EXPECT_TRUE(unit.waitForTraffic(
      [](const std::vector<sim::TrafficEntry>& all) {
        for (const auto& t : all)
          if (t.kind == sim::TrafficEntry::Kind::Received && !t.bytes.empty() && t.bytes[0] == 0x06)
            return true;
        return false;
      },
      1000));
}

TEST(MainWindowStart, ACloseDuringStartUpClosesRightAfterItAndAnUnansweredResetStillCloses) {
  TestLoop loop(ui::HeadlessLoop::Clock::Real);
  Program program(TestEnv());
  program.Start();
  program.Main().Close();  // before the first-run event
  EXPECT_TRUE(program.Main().closeRequested);
  EXPECT_FALSE(program.Main().startedUp);
  ASSERT_TRUE(loop.RunUntil([&] { return program.Main().closeDone; }, 5000));
  EXPECT_TRUE(program.Main().startedUp);
}

TEST_F(MainWindow, TheResetClosesThePortAlsoWhenTheUnitNeverAnswers) {
  Connect();
  unit.withUnit([](sim::Kx2Simulator& u) { u.setFaults(sim::Faults{.silentAfter = 0}); });
  loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall& call) {
    return call.text.find(Win1250("Zařízení přestalo")) != std::string::npos ? ui::IDOK : 0;
  });
  TFormMain& m = Main();
  m.BtnConnect->UserClick();
  loop.Advance(2100);
  EXPECT_EQ(Label(m.BtnConnect), "Rozpojit");
  ASSERT_TRUE(loop.RunUntil([&] { return !m.QlsComm321->Connected(); }, 15000));
  ASSERT_EQ(loop.Boxes().size(), 1u);  // "DeviceDead" after four sends
  EXPECT_EQ(loop.Boxes()[0].flags & ui::MB_ICONMASK, ui::MB_ICONERROR);
  EXPECT_TRUE(Module().IsDisconnected());
}

}  // namespace

namespace {

TEST_F(MainWindow, TheSessionEndingClosesTheWindowAfterTheUnitIsLetGo) {
  Connect();
  int answer = -1;
  EXPECT_FALSE(Main().shutdownHook(TFormMain::SessionMessage::Other, answer));
  EXPECT_TRUE(Main().shutdownHook(TFormMain::SessionMessage::QueryEnd, answer));
  EXPECT_EQ(answer, 1);
  EXPECT_TRUE(Main().closeDone);
  EXPECT_FALSE(Main().QlsComm321->Connected());
}

}  // namespace

namespace {

// The unit vanishes in the middle of a read (its line hangs up, as when an adapter is pulled):
// the window notices at once instead of waiting through the retries, tells the user once, and
// frees the port.
TEST_F(MainWindow, ADeadLineEndsTheReadAtOnceAndFreesThePort) {
  Connect();
  TFormMain& m = Main();
  unit.withUnit([](sim::Kx2Simulator& u) { u.setLatencyMs(200); });
  loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall& call) {
    return call.text.find(Win1250("Zařízení přestalo")) != std::string::npos ? ui::IDOK : 0;
  });
  const size_t before = unit.commandsReceived();
  m.ReadEEPROM->UserClick();
  ASSERT_TRUE(loop.RunUntil([&] { return unit.commandsReceived() > before; }, 3000));
  ASSERT_TRUE(Module().SyncScript().IsRunning());
  unit.stop();
  ASSERT_TRUE(loop.RunUntil([&] { return !m.QlsComm321->Connected(); }, 1000));
  loop.Advance(300);  // repeated hang-up requests and polls change nothing more
  EXPECT_FALSE(Module().AnyScriptRunning());
  EXPECT_TRUE(Module().IsDisconnected());
  EXPECT_EQ(Label(m.LabelComm), "Port uvolněn");
  EXPECT_EQ(Label(m.BtnConnect), "Připojit");
  EXPECT_FALSE(m.ReadEEPROM->Enabled());
  EXPECT_TRUE(m.ComboComm->Enabled());
  ASSERT_EQ(loop.Boxes().size(), 1u);
  EXPECT_EQ(loop.Boxes()[0].flags & ui::MB_ICONMASK, ui::MB_ICONERROR);
  EXPECT_FALSE(m.FormProgress->Visible());
  // The line can be taken up again once the unit is back.
  ASSERT_TRUE(unit.start());
  Connect();
}

// A dead line while the window closes: the reset cannot reach the unit, and the window still
// goes at once, without a message.
TEST_F(MainWindow, ADeadLineDuringTheCloseLetsTheWindowGo) {
  Connect();
  TFormMain& m = Main();
  unit.withUnit([](sim::Kx2Simulator& u) { u.setFaults(sim::Faults{.silentAfter = 0}); });
  m.Close();
  EXPECT_FALSE(m.closeDone);
  unit.stop();
  ASSERT_TRUE(loop.RunUntil([&] { return m.closeDone; }, 1000));
  EXPECT_FALSE(m.QlsComm321->Connected());
  EXPECT_TRUE(loop.Boxes().empty());
}

}  // namespace

namespace {

// The program is ended by SIGTERM (a service manager, `kill`) while a unit is connected: the
// close sequence runs as for the end of the session, so the unit is reset, the port freed, and
// options and window positions are in the store.
TEST(MainWindowSignals, SigtermLetsTheUnitGoAndSavesTheOptions) {
  TestLoop loop{ui::HeadlessLoop::Clock::Real};
  sim::PtyUnit unit;
  ASSERT_TRUE(unit.start());
  TempDir dir;
  const std::string file = dir / "KX2 Init.ini";
  {
    SettingsStore store(file);
    store.WriteString("Software\\Qel\\KX2 Init\\Options", "FirstTime", "0");
    ProgramEnv env = TestEnv();
    env.store = &store;
    Program program{env};
    program.Start();
    ASSERT_TRUE(loop.RunUntil([&] { return program.Main().startedUp; }, 5000));
    const auto watch = program.WatchEndSignals();
    ASSERT_TRUE(watch->Active());
    TFormMain& m = program.Main();
    m.ComboComm->UserReplace(unit.slavePath());
    m.BtnConnect->UserClick();
    ASSERT_TRUE(loop.RunUntil([&] { return !m.uniModule->IsDisconnected(); }, 5000));

    std::raise(SIGTERM);
    ASSERT_TRUE(loop.RunUntil([&] { return m.closeDone; }, 5000));
    EXPECT_FALSE(m.QlsComm321->Connected());
    EXPECT_TRUE(program.App().Terminated());
    EXPECT_EQ(loop.UnexpectedBoxes(), 0);
  }
  bool sawReset = false;
  for (const auto& t : unit.traffic())
    if (t.kind == sim::TrafficEntry::Kind::Received && !t.bytes.empty() && t.bytes[0] == 0x06)
      sawReset = true;
  EXPECT_TRUE(sawReset);
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("CommPort=s:" + unit.slavePath()), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("ZOrder="), std::string::npos) << text.str();
  unit.stop();
}

}  // namespace

namespace {

// With nothing in flight the window polls seldom; work that starts brings the 10 ms poll back
// at once, so nothing waits for the slow beat.
TEST(MainWindowPoll, AnIdleWindowPollsSeldomAndAnEditIsCheckedAtTheNextFastPoll) {
  TestLoop loop;
  Program program(TestEnv());
  program.Start();
  loop.Advance(50);
  TFormMain& m = program.Main();
  ASSERT_TRUE(m.startedUp);
  loop.Advance(300);
  EXPECT_EQ(m.Timer1->Interval(), TFormMain::kIdlePollMs);
  const uint64_t before = loop.TimerFirings();
  loop.Advance(1000);
  EXPECT_LE(loop.TimerFirings() - before, 1000 / TFormMain::kIdlePollMs + 1);

  auto* edit = m.FindDeepAs<ui::Edit>("EditPhoneNumber0");
  ASSERT_NE(edit, nullptr);
  edit->UserReplace("+420 603/123");
  EXPECT_EQ(m.Timer1->Interval(), TFormMain::kPollMs);
  loop.Advance(TFormMain::kPollMs);
  EXPECT_EQ(edit->FontColor(), ui::clRed);
  edit->UserReplace("");
  loop.Advance(300);
  EXPECT_EQ(m.Timer1->Interval(), TFormMain::kIdlePollMs);

  // A file loaded while idle: its memory figures follow at the next fast poll.
  TempDir dir;
  m.EditStationName->UserReplace("Vrt 7 u hlavni silnice");
  m.SetActiveControl(nullptr);
  loop.Advance(300);
  const std::string longName = m.LabelMemLenCfg->Text();
  loop.AnswerNextFileDialog(dir / "vrt7.eep");
  m.MenuFileSaveBrCfg->UserClick();
  m.EditStationName->UserReplace("V");
  m.SetActiveControl(nullptr);
  loop.Advance(300);
  ASSERT_NE(m.LabelMemLenCfg->Text(), longName);
  EXPECT_EQ(m.Timer1->Interval(), TFormMain::kIdlePollMs);
  loop.AnswerNextBox(ui::IDNO);  // the edit is given up
  ASSERT_TRUE(m.LoadConfigFile(dir / "vrt7.eep", true));
  loop.Advance(TFormMain::kPollMs);
  EXPECT_EQ(m.LabelMemLenCfg->Text(), longName);
}

TEST_F(MainWindow, AReadStartsOnTheFastPollAndTheWindowGoesQuietAfterIt) {
  TFormMain& m = Main();
  ASSERT_TRUE(unit.loadImage(KX2_SOURCE_DIR "/etc/sample-unit.bin"));
  Connect();
  ASSERT_TRUE(loop.RunUntil([&] { return m.Timer1->Interval() == TFormMain::kIdlePollMs; }, 2000));
  m.ReadEEPROM->UserClick();
  EXPECT_EQ(m.Timer1->Interval(), TFormMain::kPollMs);
  loop.AnswerNextBox(ui::IDOK);  // "read successfully"
  ASSERT_TRUE(loop.RunUntil([&] { return !Module().SyncScript().IsRunning(); }, 10000));
  EXPECT_EQ(Module().SyncScript().LastEndState(), ScriptDone);
  EXPECT_TRUE(loop.RunUntil([&] { return m.Timer1->Interval() == TFormMain::kIdlePollMs; }, 2000));
  // Closing needs the polls again: the unit is let go first.
  m.Close();
  EXPECT_EQ(m.Timer1->Interval(), TFormMain::kPollMs);
  EXPECT_TRUE(loop.RunUntil([&] { return m.closeDone; }, 10000));
}

}  // namespace
