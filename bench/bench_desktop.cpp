// links: kx2_qt kx2_app kx2_device kx2_protocol kx2_serial kx2_eeprom kx2_lang kx2_components kx2_ui kx2_base kx2_sim Qt6::Widgets
// The desktop program's figures, measured the way kx2init starts (its windows, their Qt views,
// the main window shown), on the offscreen platform unless a display is named:
//   - start: from just before the process is started (the bench starts a copy of itself and
//     times it from outside: exec and loading the libraries included) and from main() to the
//     first frame of the main window painted; goal <= 100 ms;
//   - peak memory (resident set) after connecting to a simulated unit and reading it; goal
//     <= 40 MB;
//   - CPU while connected and idle for 10 s (poll loop, serial threads, the unit's own thread
//     included); goal <= 0.5 % of a core.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CpuTime.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "base/Paths.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "protocol/VUniModule.h"
#include "qt/QtDesktop.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "sim/PtyUnit.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC: the same for every process

constexpr const char* kSpawnedAt = "KX2_BENCH_SPAWNED_AT";

double PeakMegabytes() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss / 1024.0;
}

// Starts a copy of this program that times itself from now on; returns the copy's exit code.
int RunTimedCopy(char** argv) {
  const auto now = Clock::now().time_since_epoch();
  setenv(kSpawnedAt, std::to_string(std::chrono::nanoseconds(now).count()).c_str(), 1);
  pid_t pid = -1;
  if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, environ) != 0) {
    std::perror("bench_desktop: cannot start a copy of itself");
    return 1;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Notes the first paint of a widget and ends the wait for it.
class FirstPaint : public QObject {
 public:
  bool seen = false;
  QEventLoop* waiting = nullptr;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen) {
      seen = true;
      if (waiting != nullptr) waiting->quit();
    }
    return QObject::eventFilter(watched, event);
  }
};

// Runs Qt's loop until pred() holds (looked at every 20 ms) or ms have passed.
template <class Pred>
bool RunUntil(Pred pred, int ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  QEventLoop wait;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (pred() || Clock::now() >= end) wait.quit();
  });
  look.start(20);
  if (!pred()) wait.exec();
  return pred();
}

}  // namespace

int main(int argc, char** argv) {
  const auto t0 = Clock::now();
  const char* spawnedAt = std::getenv(kSpawnedAt);
  if (spawnedAt == nullptr) return RunTimedCopy(argv);
  const Clock::time_point t00{std::chrono::nanoseconds(std::atoll(spawnedAt))};
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  sim::PtyUnit unit;
  unit.setRecording(false);
  if (!unit.loadImage(SysConfDir() + "sample-unit.bin") || !unit.start()) {
    std::fprintf(stderr, "the simulated unit cannot start\n");
    return 1;
  }
  int rc = 0;
  {
    const auto tApp = Clock::now();
    QApplication qapp(argc, argv);
    qtui::SetUpDesktopApplication();
    qtui::QtLoop loop;
    ProgramEnv env;
    env.sysConfDir = SysConfDir();
    env.simulatedPort = unit.slavePath();
    const auto tWindows = Clock::now();
    Program program(env);
    const auto tViews = Clock::now();
    auto views = std::make_unique<qtui::DesktopViews>(program.App());
    FirstPaint paint;
    views->Main().Window()->installEventFilter(&paint);
    const auto tStart = Clock::now();
    program.Start();
    const auto tStarted = Clock::now();
    {
      QEventLoop wait;
      paint.waiting = &wait;
      QTimer::singleShot(10000, &wait, &QEventLoop::quit);
      if (!paint.seen) wait.exec();
      paint.waiting = nullptr;
    }
    const double fromMain = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    const double fromStart = std::chrono::duration<double, std::milli>(Clock::now() - t00).count();
    std::printf(
        "first frame of the main window: %.1f ms after the process was started, %.1f ms after "
        "main() (goal <= 100 ms)\n",
        fromStart, fromMain);
    const auto ms = [](Clock::time_point a, Clock::time_point b) {
      return std::chrono::duration<double, std::milli>(b - a).count();
    };
    std::printf(
        "  of which: unit %.1f, QApplication %.1f, windows %.1f, views %.1f, start-up %.1f, "
        "to the first paint %.1f ms\n",
        ms(t0, tApp), ms(tApp, tWindows), ms(tWindows, tViews), ms(tViews, tStart),
        ms(tStart, tStarted), ms(tStarted, Clock::now()));
    std::printf("peak memory at the first frame: %.1f MB\n", PeakMegabytes());
    std::fflush(stdout);  // a script timing the start from outside reads this line at once

    TFormMain& m = program.Main();
    RunUntil([&] { return m.startedUp; }, 5000);
    m.BtnConnect->UserClick();
    if (!RunUntil([&] { return !m.uniModule->IsDisconnected(); }, 10000)) {
      std::fprintf(stderr, "the simulated unit did not connect\n");
      rc = 1;
    } else {
      const double cpu0 = CpuSeconds();
      const auto idle0 = Clock::now();
      {
        QEventLoop idle;
        QTimer::singleShot(10000, &idle, &QEventLoop::quit);
        idle.exec();
      }
      const double wall = std::chrono::duration<double>(Clock::now() - idle0).count();
      const double cpu = CpuSeconds() - cpu0;
      std::printf(
          "connected and idle for %.1f s: CPU %.3f s = %.2f %% of a core (goal <= 0.5 %%)\n", wall,
          cpu, cpu / wall * 100.0);
      std::printf("peak memory connected: %.1f MB (goal <= 40 MB)\n", PeakMegabytes());
    }
    int answer = 0;
    m.shutdownHook(TFormMain::SessionMessage::End, answer);
    views.reset();
  }
  unit.stop();
  return rc;
}
