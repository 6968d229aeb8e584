// links: kx2_qt kx2_app kx2_device kx2_settings kx2_report kx2_protocol kx2_serial kx2_eeprom kx2_lang kx2_components kx2_ui kx2_base kx2_sim
// CPU time of the user-interface thread for a verified read of the default configuration from a
// simulated unit at 19200 baud: the headless program (as kx2ctl runs it) against the desktop
// program with its Qt views (offscreen unless a platform is chosen), once with the terminal
// shown and once with it hidden. The process figure includes the serial threads and the
// simulated unit, which do the same work in every case; the factors are against the headless
// program.
#include <time.h>

// Before any Qt header: Qt defines "emit" as a macro, and the simulated unit has a member of
// that name.
#include "sim/PtyUnit.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FormMain.h"
#include "app/Program.h"
#include "components/VQelTerminal.h"
#include "device/KXADCdect.h"
#include "eeprom/VConfigByteArray.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/HeadlessLoop.h"

namespace {

double ProcessCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double ThreadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The desktop's loop with every message box answered OK (the transfer ends with one).
class BenchLoop : public qtui::QtLoop {
 public:
  int MessageBox(const std::string&, const std::string&, unsigned) override {
    ++boxes;
    return ui::IDOK;
  }
  int boxes = 0;
};

// Runs Qt's loop as the desktop program does, until `until` holds (checked whenever the loop is
// about to wait) or the time is up.
bool Spin(const std::function<bool()>& until, int timeoutMs) {
  if (until()) return true;
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   &loop, [&] {
                     if (until()) loop.quit();
                   });
  limit.start(timeoutMs);
  loop.exec();
  return until();
}

struct Run {
  double wireS = 0;  // the bytes of the read on the line both ways, at 1920 bytes per second
  double cpuMs = 0;
  double processCpuMs = 0;
  double elapsedS = 0;
  bool ok = false;
};

ProgramEnv Env() {
  ProgramEnv env;
  env.loadLastFile = false;
  env.userLanguageId = 0x0405;
  return env;
}

KXADCdect& Module(Program& p) {
  return static_cast<KXADCdect&>(*p.Main().uniModule);
}

// The unit holds the default configuration; the program connects, then reads it.
template <class Wait>
Run ReadWith(Program& program, sim::PtyUnit& unit, const Wait& wait) {
  Run run;
  TFormMain& m = program.Main();
  if (!wait([&] { return m.startedUp; }, 5000)) return run;
  if (!m.uniModule->Image().writeSettings(true, false)) return run;
  sim::Bytes bytes;
  for (int i = 0; i < m.uniModule->Image().usedLength(); ++i)
    bytes.push_back(m.uniModule->Image().getShowingByte(i));
  unit.setBytes(0, bytes);
  m.ComboComm->UserReplace(unit.slavePath());
  m.BtnConnect->UserClick();
  if (!wait([&] { return Module(program).LinkState() == LinkIdle; }, 5000)) return run;
  m.VQelTerminal1->ClearHistory();
  // The windows' first painting is not part of the transfer.
  wait([] { return false; }, 500);

  unit.clearTraffic();
  const double cpu0 = ThreadCpuMs();
  const double process0 = ProcessCpuMs();
  const auto t0 = std::chrono::steady_clock::now();
  m.ReadEEPROM->UserClick();
  const bool ended = wait(
      [&] {
        return !Module(program).SyncScript().IsRunning() && Module(program).LinkState() == LinkIdle;
      },
      60000);
  run.cpuMs = ThreadCpuMs() - cpu0;
  run.processCpuMs = ProcessCpuMs() - process0;
  run.elapsedS = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  for (const auto& t : unit.traffic())
    if (t.kind != sim::TrafficEntry::Kind::Event) run.wireS += static_cast<double>(t.bytes.size());
  run.wireS /= 1920.0;
  run.ok = ended && Module(program).SyncScript().LastEndState() == ScriptDone;
  return run;
}

sim::UnitConfig Paced() {
  sim::UnitConfig config;
  config.baud = 19200;
  return config;
}

Run Headless() {
  ui::HeadlessLoop loop(ui::HeadlessLoop::Clock::Real);
  loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall&) { return ui::IDOK; });
  sim::PtyUnit unit(Paced());
  if (!unit.start()) return {};
  Run run;
  {
    Program program(Env());
    program.Start();
    run = ReadWith(program, unit, [&](const std::function<bool()>& pred, int ms) {
      return loop.RunUntil(pred, static_cast<uint32_t>(ms));
    });
    program.Main().Close();
    loop.RunUntil([&] { return program.Main().closeDone; }, 10000);
  }
  unit.stop();
  return run;
}

Run Desktop(bool terminalShown) {
  BenchLoop loop;
  sim::PtyUnit unit(Paced());
  if (!unit.start()) return {};
  Run run;
  {
    Program program(Env());
    std::vector<std::unique_ptr<qtui::QtFormView>> views;
    for (ui::Form* form : program.App().Forms())
      views.push_back(std::make_unique<qtui::QtFormView>(*form));
    program.Start();
    VQelTerminal& terminal = *program.Main().VQelTerminal1;
    if (terminalShown) {
      // Floating, so that it is on the screen whichever page the main window shows.
      terminal.SetDocked(false);
      terminal.SetVisible(true);
      if (auto* form = program.Main().FindDeepAs<ui::Form>("VQelTerminal1_Form");
          form != nullptr && form->View() == nullptr)
        views.push_back(std::make_unique<qtui::QtFormView>(*form));
    } else {
      terminal.SetVisible(false);
    }
    run = ReadWith(program, unit, Spin);
    program.Main().Close();
    Spin([&] { return program.Main().closeDone; }, 10000);
    views.clear();
  }
  unit.stop();
  return run;
}

void Print(const char* what, const Run& run, const Run& reference) {
  std::printf("%-26s %s  elapsed %5.2f s  wire/elapsed %.3f  CPU: UI thread %6.1f ms", what,
              run.ok ? "ok    " : "FAILED", run.elapsedS,
              run.elapsedS > 0 ? run.wireS / run.elapsedS : 0.0, run.cpuMs);
  if (&run != &reference) std::printf(" (%5.2f x)", run.cpuMs / reference.cpuMs);
  std::printf(", process %6.1f ms", run.processCpuMs);
  if (&run != &reference) std::printf(" (%5.2f x)", run.processCpuMs / reference.processCpuMs);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  std::printf("verified read of the default configuration at 19200 baud, CPU of the UI thread\n");
  const Run headless = Headless();
  Print("headless (kx2ctl)", headless, headless);
  Print("desktop, terminal shown", Desktop(true), headless);
  Print("desktop, terminal hidden", Desktop(false), headless);
  return headless.ok ? 0 : 1;
}
