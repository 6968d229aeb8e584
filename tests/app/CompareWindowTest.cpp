// The File menu's compare window: the window's settings against the unit as last read, on the
// real clock against a simulated unit.

#include <gtest/gtest.h>

#include "app/FormCompare.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "base/Cp1250.h"
#include "common/TestLoop.h"
#include "lang/VQelLanguage.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "protocol/VUniModule.h"
#include "sim/PtyUnit.h"

namespace {

struct CompareWindow : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Real};
  sim::PtyUnit unit;
  std::unique_ptr<Program> program;
  std::vector<std::string> infos;

  void SetUp() override {
    ASSERT_TRUE(unit.start());
    // The transfers end with an information box; anything else is unexpected.
    loop.SetBoxHandler([this](const ui::HeadlessLoop::BoxCall& call) -> int {
      if ((call.flags & ui::MB_ICONMASK) != ui::MB_ICONINFORMATION) return 0;
      infos.push_back(Cp1250ToUtf8(call.text));
      return ui::IDOK;
    });
    program = StartProgram(loop);
    ASSERT_TRUE(Main().startedUp);
    Main().ComboComm->UserReplace(unit.slavePath());
    Main().BtnConnect->UserClick();
    ASSERT_TRUE(loop.RunUntil([&] { return !Main().uniModule->IsDisconnected(); }, 5000));
  }
  void TearDown() override {
    Main().configSaved = true;
    CloseProgram(loop, program);
    EXPECT_EQ(loop.UnexpectedBoxes(), 0);
    EXPECT_EQ(loop.UnexpectedModals(), 0);
  }
  TFormMain& Main() { return program->Main(); }
  void Transfer(ui::Button* button) {
    const size_t before = infos.size();
    button->UserClick();
    ASSERT_TRUE(loop.RunUntil(
        [&] { return infos.size() > before && !Main().uniModule->SyncScript().IsRunning(); },
        60000));
    loop.Advance(50);  // a few polls: the window settles
  }
  void Type(ui::Edit* edit, const std::string& text) {
    edit->UserReplace(Utf8ToCp1250(text));
    Main().SetActiveControl(nullptr);
    loop.Advance(30);
  }
  // Opens the window as the menu does and returns its lines (UTF-8).
  std::vector<std::string> Compare() {
    std::vector<std::string> lines;
    loop.OnNextModal([&](ui::Form& f) {
      EXPECT_EQ(&f, &program->FormCompare());
      for (const std::string& line : program->FormCompare().MemoCompare->Lines())
        lines.push_back(Cp1250ToUtf8(line));
      program->FormCompare().BtnClose->UserClick();
    });
    Main().MenuCompareUnit->UserClick();
    return lines;
  }
};

TEST_F(CompareWindow, ListsWhatTheWindowChangedSinceTheLastReadAndWaitsForARead) {
  TFormMain& m = Main();
  EXPECT_EQ(Cp1250ToUtf8(m.MenuCompareUnit->Caption()), "Porovnat s jednotkou");
  EXPECT_FALSE(m.MenuCompareUnit->Enabled());
  Type(m.EditStationName, "Studna");
  Transfer(m.WriteEEPROM);
  EXPECT_FALSE(m.MenuCompareUnit->Enabled()) << "a write is not a read";

  Transfer(m.ReadEEPROM);
  ASSERT_TRUE(m.MenuCompareUnit->Enabled());
  EXPECT_EQ(Compare(), std::vector<std::string>{"Žádné rozdíly"});

  Type(m.EditStationName, "Vrt č. 2");
  auto* box = m.FindDeepAs<ui::CheckBox>("CheckDinMessLH1");
  ASSERT_NE(box, nullptr);
  box->UserClick();
  loop.Advance(30);
  const auto lines = Compare();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Jméno stanice [EditStationName]: Studna -> Vrt č. 2");
  EXPECT_NE(lines[1].find("[CheckDinLHAll]: 0 -> mixed"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("[CheckDinMessLH1]: 0 -> 1"), std::string::npos) << lines[2];

  // The texts follow the language.
  m.VQelLanguage1->SetCurrLanguage("English");
  loop.RunPending();
  EXPECT_EQ(m.MenuCompareUnit->Caption(), "Compare with unit");
  EXPECT_EQ(program->FormCompare().Text(), "Compare with unit");
  EXPECT_EQ(program->FormCompare().BtnClose->Text(), "Close");
  // A new read takes the unit's values afresh: the window is read over, nothing differs.
  Transfer(m.ReadEEPROM);
  EXPECT_EQ(Compare(), std::vector<std::string>{"No differences"});
}

TEST_F(CompareWindow, AWriteRenewsWhatTheUnitHoldsAndAnotherConnectionForgetsIt) {
  TFormMain& m = Main();
  Transfer(m.WriteEEPROM);  // the simulated unit starts erased
  Transfer(m.ReadEEPROM);
  ASSERT_TRUE(m.MenuCompareUnit->Enabled());
  Type(m.EditStationName, "Studna");
  ASSERT_EQ(Compare().size(), 1u);
  // After the verified write the unit holds the window's values: nothing differs any more.
  Transfer(m.WriteEEPROM);
  EXPECT_EQ(Compare(), std::vector<std::string>{"Žádné rozdíly"});

  // The unit let go and a unit connected again (it may be another one): nothing is known of it.
  m.BtnConnect->UserClick();
  ASSERT_TRUE(loop.RunUntil([&] { return m.uniModule->IsDisconnected(); }, 10000));
  EXPECT_TRUE(m.MenuCompareUnit->Enabled()) << "what was read stays until a unit connects";
  m.BtnConnect->UserClick();
  ASSERT_TRUE(loop.RunUntil([&] { return !m.uniModule->IsDisconnected(); }, 5000));
  loop.Advance(30);
  EXPECT_FALSE(m.MenuCompareUnit->Enabled());
  EXPECT_TRUE(m.unitValues.empty());
}

}  // namespace
