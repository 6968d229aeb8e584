#pragma once
// The program's windows (on a virtual clock unless a unit is on the line) with the KX2 description
// built by the main window's start-up, and the ways a user edits it: type into a control and press
// Enter, click a box.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "common/TestLoop.h"
#include "device/KXADCdect.h"
#include "eeprom/VConfigByteArray.h"
#include "settings/VSetting.h"
#include "ui/Controls.h"

template <ui::HeadlessLoop::Clock kClock>
class Kx2FixtureOn : public ::testing::Test {
 public:
  void SetUp() override {
    ProgramEnv env = TestEnv();
    env.loadLastFile = false;  // start from the built-in configuration
    program = std::make_unique<Program>(env);
    program->Start();
    ASSERT_TRUE(loop.RunUntil([&] { return Main().startedUp; }, 5000));
    ASSERT_NE(dynamic_cast<KXADCdect*>(Main().uniModule.get()), nullptr);
  }
  void TearDown() override {
    if (program && !Main().closeDone) {
      Main().configSaved = true;  // the edits of a test are not worth keeping
      Main().Close();
      loop.RunUntil([&] { return Main().closeDone; }, 10000);
    }
    program.reset();
    EXPECT_EQ(loop.UnexpectedBoxes(), 0);
  }

  TFormMain& Main() { return program->Main(); }
  KXADCdect& Module() { return static_cast<KXADCdect&>(*Main().uniModule); }
  VConfigByteArray& Image() { return Module().Image(); }

  template <class T = ui::Control>
  T* Control(const std::string& name) {
    T* c = Main().template FindDeepAs<T>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }

  // One poll's worth of settling.
  void Settle() { Module().Settings().update(); }
  // The user replaces the text of an edit and presses Enter.
  void Type(const std::string& name, const std::string& text) {
    if (auto* edit = Control<ui::Edit>(name)) {
      edit->UserReplace(text);
      edit->UserKey('\r');
    }
    Settle();
  }
  // The user clicks a box or button and moves on to a control bound to nothing.
  void Click(const std::string& name) {
    if (auto* c = Control(name)) c->UserClick();
    Main().ComboComm->UserFocus();
    Settle();
  }
  bool Checked(const std::string& name) {
    auto* box = Control<ui::CheckBox>(name);
    return box != nullptr && box->Checked();
  }
  std::string TextOf(const std::string& name) {
    auto* c = Control(name);
    return c != nullptr ? c->Text() : std::string();
  }

  // The configuration as it would go to the unit.
  std::vector<uint8_t> Bytes() {
    EXPECT_TRUE(Image().writeSettings(true, false));
    std::vector<uint8_t> out;
    for (int i = 0; i < Image().usedLength(); ++i) out.push_back(Image().getShowingByte(i));
    return out;
  }
  static int Word(const std::vector<uint8_t>& b, int at) { return b.at(at) + 256 * b.at(at + 1); }
  static uint8_t HeaderSum(const std::vector<uint8_t>& b) {
    unsigned sum = 1;
    for (int i = 0; i < 28; ++i) sum += b.at(i);
    return static_cast<uint8_t>(sum);
  }

  TestLoop loop{kClock};
  std::unique_ptr<Program> program;
};

using Kx2Fixture = Kx2FixtureOn<ui::HeadlessLoop::Clock::Virtual>;
