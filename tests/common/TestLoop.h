#pragma once
// The headless loop of every test fixture: strict, so a message box, file dialog or modal form
// that the test did not script fails the test that caused it, saying what was shown, instead of
// being answered with its safe button unnoticed. A test that expects one scripts its answer.

#include <gtest/gtest.h>

#include <string>

#include "ui/HeadlessLoop.h"

class TestLoop : public ui::HeadlessLoop {
 public:
  explicit TestLoop(Clock clock = Clock::Virtual) : ui::HeadlessLoop(clock) {
    SetStrict([](const std::string& what) { ADD_FAILURE() << "unexpected " << what; });
  }
};
