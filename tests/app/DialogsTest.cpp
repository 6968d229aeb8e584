#include <gtest/gtest.h>

#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "ui/HeadlessLoop.h"

namespace {

struct Dialogs : ::testing::Test {
  ui::HeadlessLoop loop{ui::HeadlessLoop::Clock::Virtual};
  Program program{TestEnv()};
  void SetUp() override {
    program.Start();
    loop.Advance(20);
    ASSERT_TRUE(program.Main().startedUp);
  }
};

TEST_F(Dialogs, ProgressRestoresExactlyTheEnabledStatesItFound) {
  TFormMain& m = program.Main();
  TFormProgress& p = program.FormProgress();
  ASSERT_FALSE(m.WriteEEPROM->Enabled());  // disabled before: must stay so
  ASSERT_TRUE(m.ComboComm->Enabled());
  p.Show();
  EXPECT_FALSE(m.Enabled());
  EXPECT_FALSE(m.ComboComm->Enabled());
  EXPECT_FALSE(m.PageControl1->Enabled());
  // Centred over the main window.
  EXPECT_EQ(p.Left() + p.Width() / 2, m.Left() + m.Width() / 2);
  p.Hide();
  EXPECT_TRUE(m.Enabled());
  EXPECT_TRUE(m.ComboComm->Enabled());
  EXPECT_TRUE(m.PageControl1->Enabled());
  EXPECT_FALSE(m.WriteEEPROM->Enabled());
  EXPECT_FALSE(m.BtnPrerusit->Enabled());
}

TEST_F(Dialogs, OptionsActAtOnceAndCancelReturnsToTheSnapshot) {
  TFormOptions& o = program.FormOptions();
  std::vector<int> levels;
  o.onLevelsChanged = [&](int level, bool) { levels.push_back(level); };
  EXPECT_FALSE(o.CheckSpoilCRC->Visible());
  EXPECT_FALSE(o.RGroupTerminal->Visible());
  EXPECT_TRUE(o.VerifyReads());

  loop.OnNextModal([&](ui::Form&) {
    o.RGroupExpLevel->UserSelect(2);  // Expert
    EXPECT_TRUE(o.CheckSpoilCRC->Visible());
    EXPECT_TRUE(o.RGroupTerminal->Visible());
    o.CheckCheckEEREAD->UserClick();  // verification off, honoured above Basic
    EXPECT_FALSE(o.VerifyReads());
    o.BtnCancel->UserClick();
  });
  EXPECT_EQ(o.ShowModal(), ui::mrCancel);
  EXPECT_EQ(o.Level(), 0);
  EXPECT_FALSE(o.CheckSpoilCRC->Visible());
  EXPECT_TRUE(o.CheckCheckEEREAD->Checked());
  EXPECT_EQ(levels, (std::vector<int>{2, 0}));

  loop.OnNextModal([&](ui::Form&) {
    o.RGroupExpLevel->UserSelect(1);
    o.CheckCheckEEREAD->UserClick();
    o.BtnOK->UserClick();
  });
  EXPECT_EQ(o.ShowModal(), ui::mrOk);
  EXPECT_EQ(o.Level(), 1);
  EXPECT_FALSE(o.VerifyReads());
  o.RGroupExpLevel->SetItemIndex(0);
  EXPECT_TRUE(o.VerifyReads());  // Basic always verifies
}

}  // namespace
