#include "app/Program.h"

#include "app/Dialogs.h"
#include "app/FormCompare.h"
#include "app/FormMain.h"
#include "components/VQelAppInfo.h"
#include "ui/EndSignals.h"

Program::Program(ProgramEnv env) : app_(std::make_unique<ui::Application>()) {
  app_->SetTitle("KX2 Init");
  main_ = new TFormMain(app_.get(), std::move(env));
  progress_ = new TFormProgress(app_.get(), *main_);
  anaIn_ = new TFormAnaIn(app_.get());
  options_ = new TFormOptions(app_.get());
  about_ = new TFormAbout(app_.get(), main_->VQelAppInfo1->AppName(),
                          main_->VQelAppInfo1->ProductVersion());
  main_->SetDialogs(progress_, options_, about_);
  compare_ = new TFormCompare(app_.get());
  main_->FormCompare = compare_;
}

Program::~Program() = default;

void Program::Start() {
  main_->Show();
}

std::unique_ptr<ui::EndSignalWatch> Program::WatchEndSignals() {
  return std::make_unique<ui::EndSignalWatch>([this](int) {
    int answer = 0;
    main_->shutdownHook(TFormMain::SessionMessage::End, answer);
  });
}
