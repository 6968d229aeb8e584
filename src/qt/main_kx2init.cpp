// kx2init: the desktop program. The program's windows are the control model's; each gets a Qt
// view, and the Qt loop drives the model's timers and posted work.

#include <QApplication>
#include <QSessionManager>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "base/Paths.h"
#include "base/ProgramVersion.h"
#include "base/SettingsStore.h"
#include "lang/LangLocale.h"
#include "lang/LanguageRecord.h"
#include "lang/VQelLanguage.h"
#include "qt/QtDesktop.h"
#include "qt/QtLoop.h"
#include "qt/QtTranslations.h"
#include "serial/CommsLog.h"
#include "sim/PtyUnit.h"
#include "ui/EndSignals.h"
#include "ui/Form.h"

namespace {

const char* const kUsage =
    "Usage: kx2init [--simulate [IMAGE]] [--comms-log FILE] [FILE.eep]...\n"
    "Configure KX2 GSM telemetry units through a serial port.\n"
    "\n"
    "  FILE.eep            load this configuration at start (the last one named wins);\n"
    "                      without one the configuration used last is loaded\n"
    "  --simulate [IMAGE]  run a simulated unit inside the program, holding the raw memory\n"
    "                      IMAGE or the shipped sample configuration, and put its port into\n"
    "                      the port box\n"
    "  --comms-log FILE    write the serial component's debug log to FILE (for support)\n"
    "  --help              show this help and exit\n"
    "  --version           show the version and exit\n"
    "\n"
    "Options are kept in ${XDG_CONFIG_HOME:-~/.config}/Qel/KX2 Init.ini; KX2_SYSCONFDIR names\n"
    "the folder of the SMS centre list.\n";

struct Options {
  bool simulate = false;
  std::string image;               // empty: the shipped sample
  std::vector<std::string> files;  // what the program loads at start
};

// The program's own options are taken out; everything else is left to the program, which loads
// files and ignores other options as it always has.
std::optional<Options> Parse(int argc, char** argv, int& exitCode) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      exitCode = 0;
      return std::nullopt;
    }
    if (arg == "--version") {
      std::printf("kx2init %s\n", ThisProgramVersion().productVersion.c_str());
      exitCode = 0;
      return std::nullopt;
    }
    if (arg == "--simulate") {
      o.simulate = true;
      if (i + 1 < argc && argv[i + 1][0] != '-' && std::strstr(argv[i + 1], ".eep") == nullptr)
        o.image = argv[++i];
      continue;
    }
    o.files.push_back(arg);
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  int exitCode = 0;
  const std::optional<Options> options = Parse(argc, argv, exitCode);
  if (!options) return exitCode;

  // A simulated unit lives longer than the windows that talk to it.
  std::unique_ptr<sim::PtyUnit> simulated;
  if (options->simulate) {
    simulated = std::make_unique<sim::PtyUnit>();
    simulated->setRecording(false);
    const std::string image =
        options->image.empty() ? SysConfDir() + "sample-unit.bin" : options->image;
    std::string error;
    if (!simulated->loadImage(image, &error) || !simulated->start(&error)) {
      std::fprintf(stderr, "kx2init: the simulated unit cannot start: %s\n", error.c_str());
      return 1;
    }
  }

  QApplication qapp(argc, argv);
  qtui::SetUpDesktopApplication();

  qtui::QtLoop loop;
  SettingsStore store;
  ProgramEnv env;
  env.args = options->files;
  // --comms-log FILE: the serial component's debug log for support (off unless asked for).
  std::optional<serial::CommsLogScope> commsLog;
  if (const auto log = TakeValueOption(env.args, "--comms-log"))
    commsLog.emplace(std::filesystem::absolute(*log).string());
  env.store = &store;
  env.documentsDir = DocumentsDir();
  env.sysConfDir = SysConfDir();
  const std::string self = ProgramPath();
  env.programDir = self.substr(0, self.rfind('/') + 1);
  if (simulated) env.simulatedPort = simulated->slavePath();

  int rc = 0;
  qtui::QtTranslations qtTexts;
  {
    Program program(env);
    auto views = std::make_unique<qtui::DesktopViews>(program.App());
    // Qt's own texts (message box buttons) follow the program's language.
    lang::VQelLanguage& language = *program.Main().VQelLanguage1;
    auto translated = language.OnChangeLanguage;
    language.OnChangeLanguage = [translated, &qtTexts](lang::VQelLanguage& changed) {
      if (const lang::LanguageRecord* active = changed.GetActiveLangRecord())
        qtTexts.Follow(lang::LocaleLanguageOf(active->languageId));
      if (translated) translated(changed);
    };
    if (const lang::LanguageRecord* active = language.GetActiveLangRecord())
      qtTexts.Follow(lang::LocaleLanguageOf(active->languageId));
    program.Start();
    // The desktop session ends: close as the user would, letting a connected unit go first.
    QObject::connect(&qapp, &QGuiApplication::commitDataRequest, [&program](QSessionManager&) {
      int answer = 0;
      program.Main().shutdownHook(TFormMain::SessionMessage::QueryEnd, answer);
    });
    const auto endSignals = program.WatchEndSignals();
    rc = loop.Run();
    views.reset();
  }
  if (simulated) simulated->stop();
  return rc;
}
