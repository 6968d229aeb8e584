// links: kx2_app kx2_device kx2_protocol kx2_serial kx2_eeprom kx2_lang kx2_components kx2_ui kx2_base
// CPU used by a connected, idle headless program: the main window connects to a simulated unit
// (kx2sim in a process of its own), then the program idles for 10 s with its 10 ms poll loop
// and the serial threads running. Goal: at most 1 % of a core.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "CpuTime.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "base/Paths.h"
#include "protocol/VUniModule.h"
#include "ui/HeadlessLoop.h"

extern char** environ;

int main() {
  char self[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir = n > 0 ? std::string(self, n) : std::string("./bench_idle_connected");
  dir = dir.substr(0, dir.rfind('/'));
  const std::string simPath = dir + "/../src/sim/kx2sim";

  int out[2];
  if (pipe(out) != 0) return 1;
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, out[1], 1);
  posix_spawn_file_actions_addclose(&fa, out[0]);
  char* argv[] = {const_cast<char*>(simPath.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, simPath.c_str(), &fa, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", simPath.c_str());
    return 1;
  }
  close(out[1]);
  std::string port;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') port += c;

  int rc = 0;
  {
    ui::HeadlessLoop loop(ui::HeadlessLoop::Clock::Real);
    ProgramEnv env;
    env.sysConfDir = SysConfDir();
    Program program{env};
    program.Start();
    loop.RunUntil([&] { return program.Main().startedUp; }, 5000);
    TFormMain& m = program.Main();
    m.ComboComm->UserReplace(port);
    m.BtnConnect->UserClick();
    if (!loop.RunUntil([&] { return !m.uniModule->IsDisconnected(); }, 10000)) {
      std::fprintf(stderr, "the unit did not connect on %s\n", port.c_str());
      rc = 1;
    } else {
      const double cpu0 = CpuSeconds();
      const auto t0 = std::chrono::steady_clock::now();
      loop.Advance(10000);
      const double wall =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
      const double cpu = CpuSeconds() - cpu0;
      std::printf("connected and idle for %.1f s: CPU %.3f s = %.2f %% of a core (goal <= 1 %%)\n",
                  wall, cpu, cpu / wall * 100.0);
    }
    m.Close();
    loop.RunUntil([&] { return m.closeDone; }, 10000);
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return rc;
}
