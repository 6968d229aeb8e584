#include "app/Program.h"

#include "app/FormMain.h"

Program::Program(ProgramEnv env) : app_(std::make_unique<ui::Application>()) {
  app_->SetTitle("KX2 Init");
  main_ = new TFormMain(app_.get(), std::move(env));
  progress_ = new ui::Form(app_.get(), "FormProgress");
  anaIn_ = new ui::Form(app_.get(), "FormAnaIn");
  options_ = new ui::Form(app_.get(), "FormOptions");
  about_ = new ui::Form(app_.get(), "FormAbout");
}

Program::~Program() = default;

void Program::Start() {
  main_->Show();
}
