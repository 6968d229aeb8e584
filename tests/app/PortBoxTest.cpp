#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "base/Cp1250.h"
#include "base/SettingsStore.h"
#include "common/TempDir.h"
#include "common/TestLoop.h"
#include "lang/VQelLanguage.h"
#include "protocol/VUniModule.h"
#include "serial/TQlsComm32.h"
#include "sim/PtyUnit.h"

namespace {

namespace fs = std::filesystem;

// A machine's device folder in miniature: two USB adapters, one UART slot with a chip behind it
// and one without, and a by-id link naming one of the adapters.
struct PortBox : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  TempDir dir;
  std::string dev = dir / "dev";
  std::string sys = dir / "sys";

  void SetUp() override {
    fs::create_directories(dev + "/serial/by-id");
    for (const char* name : {"ttyUSB0", "ttyACM1", "ttyS0", "ttyS1", "null"})
      Touch(dev + "/" + name);
    fs::create_symlink("../../ttyUSB0", dev + "/serial/by-id/usb-Maker_Cable-if00-port0");
    fs::create_directories(sys + "/ttyS0");
    fs::create_directories(sys + "/ttyS1");
    std::ofstream(sys + "/ttyS0/type") << "4\n";
    std::ofstream(sys + "/ttyS1/type") << "0\n";
  }
  static void Touch(const std::string& path) { std::ofstream{path}; }

  ProgramEnv Env(SettingsStore* store) {
    ProgramEnv env = TestEnv();
    env.devDir = dev;
    env.sysTtyDir = sys;
    env.store = store;
    return env;
  }
  static void Started(Program& program, TestLoop& loop) {
    program.Start();
    loop.Advance(50);
    ASSERT_TRUE(program.Main().startedUp);
  }
  std::vector<std::string> Expected() const {
    return {dev + "/ttyACM1", dev + "/ttyS0", dev + "/ttyUSB0"};
  }
};

TEST_F(PortBox, ListsThePortsFoundAndPreselectsTheFirstWithoutStoredOptions) {
  Program program{Env(nullptr)};
  Started(program, loop);
  TFormMain& m = program.Main();
  EXPECT_EQ(m.ComboComm->Items(), Expected());
  // The by-id link names the adapter behind its port; the box itself holds the path.
  EXPECT_EQ(m.ComboComm->ItemDescriptions(),
            (std::vector<std::string>{"", "", "usb-Maker_Cable-if00-port0"}));
  EXPECT_EQ(m.ComboComm->Text(), Expected().front());
  EXPECT_EQ(m.QlsComm321->CommPort(), Expected().front());
  program.Main().Close();
  loop.Advance(50);
}

TEST_F(PortBox, TheListIsFoundAfreshWhenItDropsDownAndTheTypedNameStays) {
  Program program{Env(nullptr)};
  Started(program, loop);
  TFormMain& m = program.Main();
  m.ComboComm->UserReplace("/dev/pts/7");
  Touch(dev + "/ttyUSB1");  // an adapter plugged in meanwhile
  fs::remove(dev + "/ttyACM1");
  m.ComboComm->UserDropDown();
  std::vector<std::string> now = Expected();
  now.erase(now.begin());
  now.push_back(dev + "/ttyUSB1");
  EXPECT_EQ(m.ComboComm->Items(), now);
  EXPECT_EQ(m.ComboComm->ItemDescriptions(),
            (std::vector<std::string>{"", "usb-Maker_Cable-if00-port0", ""}));
  EXPECT_EQ(m.ComboComm->Text(), "/dev/pts/7");
  EXPECT_EQ(m.QlsComm321->CommPort(), "/dev/pts/7");
  m.ComboComm->UserSelect(2);
  EXPECT_EQ(m.QlsComm321->CommPort(), dev + "/ttyUSB1");
  program.Main().Close();
  loop.Advance(50);
}

TEST_F(PortBox, TheStoredPortIsPreselectedAlsoWhenItIsNotInTheList) {
  const std::string file = dir / "KX2 Init.ini";
  for (const std::string& stored : {dev + "/ttyS0", std::string("COM3")}) {
    {
      SettingsStore store(file);
      store.WriteString("Software\\Qel\\KX2 Init\\Options", "FirstTime", "0");
      store.WriteString("Software\\Qel\\KX2 Init\\Options\\General", "CommPort", stored);
    }
    SettingsStore store(file);
    Program program{Env(&store)};
    Started(program, loop);
    TFormMain& m = program.Main();
    EXPECT_EQ(m.ComboComm->Text(), stored);
    EXPECT_EQ(m.ComboComm->ItemIndex(), stored == "COM3" ? -1 : 1);
    EXPECT_EQ(m.QlsComm321->CommPort(), stored);
    m.ComboComm->UserDropDown();  // the refreshed list keeps the stored name too
    EXPECT_EQ(m.ComboComm->Text(), stored);
    program.Main().Close();
    loop.Advance(50);
    ASSERT_TRUE(m.closeDone);
  }
}

}  // namespace

namespace {

// kx2init --simulate: the simulated unit's port is in the box and the caption says the unit is
// simulated, in the language shown; the unit reads as hardware does, and the user's own port
// stays stored for the next start.
TEST_F(PortBox, ASimulatedUnitReadsTheShippedSampleAndItsPortIsNeverStored) {
  TestLoop real{ui::HeadlessLoop::Clock::Real};
  sim::PtyUnit unit;
  ASSERT_TRUE(unit.loadImage(KX2_SOURCE_DIR "/etc/sample-unit.bin"));
  ASSERT_TRUE(unit.start());
  const std::string file = dir / "KX2 Init.ini";
  {
    SettingsStore store(file);
    store.WriteString("Software\\Qel\\KX2 Init\\Options", "FirstTime", "0");
    store.WriteString("Software\\Qel\\KX2 Init\\Options\\General", "CommPort", "COM3");
  }
  SettingsStore store(file);
  ProgramEnv env = Env(&store);
  env.simulatedPort = unit.slavePath();
  Program program{env};
  program.Start();
  ASSERT_TRUE(real.RunUntil([&] { return program.Main().startedUp; }, 5000));
  TFormMain& m = program.Main();
  EXPECT_EQ(m.ComboComm->Text(), unit.slavePath());
  const std::string czech = Win1250(" (simulovaná jednotka)");
  ASSERT_GE(m.Text().size(), czech.size());
  EXPECT_EQ(m.Text().substr(m.Text().size() - czech.size()), czech);
  m.VQelLanguage1->SetCurrLanguage("English");
  const std::string english = " (simulated unit)";
  ASSERT_GE(m.Text().size(), english.size());
  EXPECT_EQ(m.Text().substr(m.Text().size() - english.size()), english);
  EXPECT_EQ(m.Text().find("simulovan"), std::string::npos);
  EXPECT_EQ(m.Text().find(english), m.Text().rfind(english));  // once

  m.BtnConnect->UserClick();
  ASSERT_TRUE(real.RunUntil([&] { return !m.uniModule->IsDisconnected(); }, 5000));
  // The shipped sample configuration reads as any unit's.
  real.AnswerNextBox(ui::IDOK);  // "read"
  m.ReadEEPROM->UserClick();
  ASSERT_TRUE(real.RunUntil([&] { return !m.uniModule->AnyScriptRunning(); }, 20000));
  ASSERT_EQ(real.Boxes().size(), 1u);
  EXPECT_EQ(real.Boxes()[0].flags & ui::MB_ICONMASK, ui::MB_ICONINFORMATION);
  EXPECT_EQ(m.EditStationName->Text(), Win1250("Čerpací stanice 3"));
  m.Close();
  ASSERT_TRUE(real.RunUntil([&] { return m.closeDone; }, 5000));
  EXPECT_EQ(store.ReadString("Software\\Qel\\KX2 Init\\Options\\General", "CommPort", ""), "COM3");
  unit.stop();
}

}  // namespace
