#pragma once
// The surroundings of the program under test (no stored options, the shipped system files), and
// starting and closing it as the desktop does.

#include <memory>
#include <utility>

#include "app/FormMain.h"
#include "app/Program.h"
#include "app/ProgramEnv.h"
#include "ui/HeadlessLoop.h"

inline ProgramEnv TestEnv() {
  ProgramEnv env;
  env.sysConfDir = KX2_SOURCE_DIR "/etc/";
  env.userLanguageId = 0x0405;  // the program's own language, whatever the machine's locale
  return env;
}

// The program started, the loop run until its deferred start-up is over (check
// Main().startedUp).
inline std::unique_ptr<Program> StartProgram(ui::HeadlessLoop& loop, ProgramEnv env = TestEnv()) {
  auto program = std::make_unique<Program>(std::move(env));
  program->Start();
  loop.RunUntil([&] { return program->Main().startedUp; }, 5000);
  return program;
}

// Closes the program as the user does (a connected unit is let go first), unless it closed
// already, and destroys it.
inline void CloseProgram(ui::HeadlessLoop& loop, std::unique_ptr<Program>& program) {
  if (program && !program->Main().closeDone) {
    program->Main().Close();
    loop.RunUntil([&] { return program->Main().closeDone; }, 10000);
  }
  program.reset();
}
