// kx2init: the desktop program. The program's windows are the control model's; each gets a Qt
// view, and the Qt loop drives the model's timers and posted work.

#include <QApplication>
#include <QFont>
#include <QSessionManager>
#include <memory>
#include <vector>

#include "app/FormMain.h"
#include "app/Program.h"
#include "base/Paths.h"
#include "base/SettingsStore.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/EndSignals.h"
#include "ui/Form.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  // The model closes windows; Qt must not end the program on its own.
  QApplication::setQuitOnLastWindowClosed(false);
  // The windows are laid out for an 8-point sans-serif face at 96 pixels per inch.
  QFont font = QApplication::font();
  font.setPixelSize(11);
  QApplication::setFont(font);

  qtui::QtLoop loop;
  SettingsStore store;
  ProgramEnv env;
  env.args.assign(argv + 1, argv + argc);
  env.store = &store;
  env.documentsDir = DocumentsDir();
  env.sysConfDir = SysConfDir();
  const std::string self = ProgramPath();
  env.programDir = self.substr(0, self.rfind('/') + 1);

  int rc = 0;
  {
    Program program(env);
    program.App().GetDesktop().SetWorkArea(qtui::ScreenWorkArea());
    std::vector<std::unique_ptr<qtui::QtFormView>> views;
    for (ui::Form* form : program.App().Forms())
      views.push_back(std::make_unique<qtui::QtFormView>(*form));
    program.Start();
    // The desktop session ends: close as the user would, letting a connected unit go first.
    QObject::connect(&qapp, &QGuiApplication::commitDataRequest, [&program](QSessionManager&) {
      int answer = 0;
      program.Main().shutdownHook(TFormMain::SessionMessage::QueryEnd, answer);
    });
    const auto endSignals = program.WatchEndSignals();
    rc = loop.Run();
    views.clear();
  }
  return rc;
}
