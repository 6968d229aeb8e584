// kx2shots: pictures of every window of the desktop program, in both built-in languages, drawn
// offscreen with the real fonts (for the README, the AppStream metadata and a look at whether
// the captions fit). Usage: kx2shots OUTPUT_DIR; writes <window>[-<page>]-<cs|en>.png.

#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/FormMain.h"
#include "app/Program.h"
#include "base/Cp1250.h"
#include "base/Paths.h"
#include "components/VQelTerminal.h"
#include "lang/VQelLanguage.h"
#include "protocol/WireFormat.h"
#include "qt/QtDesktop.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

bool Save(qtui::QtFormView& view, const std::string& path) {
  Settle();
  const bool ok = view.Window()->grab().save(QString::fromStdString(path), "PNG");
  std::printf("%s %s\n", ok ? "wrote" : "cannot write", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kx2shots OUTPUT_DIR\n");
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/";
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication qapp(argc, argv);
  qtui::SetUpDesktopApplication();

  bool ok = true;
  {
    qtui::QtLoop loop;
    ProgramEnv env;
    env.sysConfDir = SysConfDir();
    env.loadLastFile = false;
    Program program(env);
    qtui::DesktopViews views(program.App());
    program.Start();
    for (int i = 0; i < 50 && !program.Main().startedUp; ++i) {
      QCoreApplication::processEvents();
      usleep(5000);
    }
    TFormMain& m = program.Main();
    const struct {
      const char* code;
      std::string name;
    } languages[] = {{"cs", Win1250("Česky")}, {"en", "English"}};
    for (const auto& language : languages) {
      m.VQelLanguage1->SetCurrLanguage(language.name);
      const std::string suffix = std::string("-") + language.code + ".png";
      // The main window, page by page.
      for (ui::TabSheet* page : m.PageControl1->Pages()) {
        if (!page->TabVisible()) continue;
        m.PageControl1->SetActivePage(page);
        ok = Save(views.Main(), out + "FormMain-" + page->Name() + suffix) && ok;
      }
      // The terminal on its page, with the link tests a connection starts with.
      VQelTerminal& terminal = *m.VQelTerminal1;
      terminal.SetVisible(true);
      terminal.ClearHistory();
      for (int i = 0; i < 3; ++i) {
        for (const uint8_t code :
             {uint8_t{wire::CmdLinkTest}, uint8_t{wire::CmdLinkTest | wire::ReplyFlag}}) {
          const uint8_t frame[] = {code, wire::Checksum(&code, 1), wire::FrameEnd};
          terminal.addLine(
              frame, 3, code == wire::CmdLinkTest ? VQelTerminal_ltOutBin : VQelTerminal_ltInBin);
        }
      }
      if (ui::TabSheet* sheet = terminal.DockSheet()) {
        m.PageControl1->SetActivePage(sheet);
        ok = Save(views.Main(), out + "FormMain-Terminal" + suffix) && ok;
      }
      terminal.SetVisible(false);
      m.PageControl1->SetActivePage(m.SheetGeneral);
      // Every other window, shown without blocking.
      for (ui::Form* form : program.App().Forms()) {
        if (form == &m) continue;
        form->Show();
        ok = Save(views.Of(*form), out + form->Name() + suffix) && ok;
        form->Hide();
      }
    }
    int answer = 0;
    m.shutdownHook(TFormMain::SessionMessage::End, answer);
  }
  return ok ? 0 : 1;
}
