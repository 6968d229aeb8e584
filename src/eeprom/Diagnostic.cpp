#include "eeprom/Diagnostic.h"

#include <cstdio>

#include "ui/EventLoop.h"

void ShowEepDiagnostic(const std::string& text) {
  if (ui::EventLoop* loop = ui::LoopOrNull()) {
    loop->MessageBox("Error", text, ui::MB_OK | ui::MB_ICONERROR);
    return;
  }
  // No loop yet (a tool running without windows): the diagnostic still must not get lost.
  std::fprintf(stderr, "Error: %s\n", text.c_str());
}
