#pragma once
// The program's windows, created in the order the program has always created them: main window,
// progress, analog input, options, about. The front end owns the event loop and shows the main
// window; everything else follows from the main window's first show.

#include <memory>

#include "app/ProgramEnv.h"
#include "ui/Form.h"

class TFormMain;
class TFormProgress;
class TFormOptions;
class TFormAnaIn;
class TFormAbout;
class TFormCompare;
namespace ui {
class EndSignalWatch;
}

class Program {
 public:
  explicit Program(ProgramEnv env);
  ~Program();

  ui::Application& App() { return *app_; }
  TFormMain& Main() { return *main_; }
  TFormProgress& FormProgress() { return *progress_; }
  TFormAnaIn& FormAnaIn() { return *anaIn_; }
  TFormOptions& FormOptions() { return *options_; }
  TFormAbout& FormAbout() { return *about_; }
  TFormCompare& FormCompare() { return *compare_; }

  // Shows the main window (which restores positions and starts the first-run timer).
  void Start();
  // While the returned watch lives, SIGTERM and SIGINT close the program the way the end of the
  // desktop session does: a connected unit is let go, options and window positions are saved.
  std::unique_ptr<ui::EndSignalWatch> WatchEndSignals();

 private:
  std::unique_ptr<ui::Application> app_;
  TFormMain* main_ = nullptr;
  TFormProgress* progress_ = nullptr;
  TFormAnaIn* anaIn_ = nullptr;
  TFormOptions* options_ = nullptr;
  TFormAbout* about_ = nullptr;
  TFormCompare* compare_ = nullptr;
};
