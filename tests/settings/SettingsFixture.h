#pragma once
// A shown main window with a settings root, for driving editors the way a user does: type into a
// control, then leave it (focus another control) or press Enter / Escape.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/TestLoop.h"
#include "settings/VSetting.h"
#include "ui/Controls.h"
#include "ui/Form.h"

class SettingsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    form->Show();  // people only act on windows they see
    top->onModified = [this] {
      configSaved = false;
      ++modified;
    };
    elsewhere = Place<ui::Edit>("EditElsewhere");
  }

  template <class T>
  T* Place(const std::string& name) {
    auto* control = new T(form, name);
    control->SetParent(form);
    return control;
  }

  // The user moves on to a control bound to nothing.
  void Leave() { elsewhere->UserFocus(); }
  // One poll of the device module.
  void Poll() { top->update(); }
  // The user replaces the text of an edit and leaves it.
  void TypeAndLeave(ui::Edit* edit, const std::string& text) {
    edit->UserReplace(text);
    Leave();
  }

  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  ui::Application app;
  ui::Form* form = new ui::Form(&app, "FormMain");
  // Declared after the window: the tree (and the controls its editors own) goes first.
  std::unique_ptr<VSettingTop> top = std::make_unique<VSettingTop>();
  ui::Edit* elsewhere = nullptr;
  // What the main window keeps: cleared by every change through a control.
  bool configSaved = true;
  int modified = 0;
};
