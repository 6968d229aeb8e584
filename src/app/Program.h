#pragma once
// The program's windows, created in the order the program has always created them: main window,
// progress, analog input, options, about. The front end owns the event loop and shows the main
// window; everything else follows from the main window's first show.

#include <memory>

#include "app/ProgramEnv.h"
#include "ui/Form.h"

class TFormMain;

class Program {
 public:
  explicit Program(ProgramEnv env);
  ~Program();

  ui::Application& App() { return *app_; }
  TFormMain& Main() { return *main_; }
  ui::Form& FormProgress() { return *progress_; }
  ui::Form& FormAnaIn() { return *anaIn_; }
  ui::Form& FormOptions() { return *options_; }
  ui::Form& FormAbout() { return *about_; }

  // Shows the main window (which restores positions and starts the first-run timer).
  void Start();

 private:
  std::unique_ptr<ui::Application> app_;
  TFormMain* main_ = nullptr;
  ui::Form* progress_ = nullptr;
  ui::Form* anaIn_ = nullptr;
  ui::Form* options_ = nullptr;
  ui::Form* about_ = nullptr;
};
