// links: kx2_serial kx2_ui
// CPU time of the serial reader on a dead line: the other side of a pseudo-terminal closes (as
// a pulled adapter does), and the reader must wait between its tries instead of spinning.
// Prints the reader's CPU time over one second and the hang-up requests it posted.
// Goal: well under 150 ms of CPU in that second.
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "serial/TQlsComm32.h"
#include "ui/HeadlessLoop.h"

int main() {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return 1;
  termios tio{};
  tcgetattr(master, &tio);
  cfmakeraw(&tio);
  tcsetattr(master, TCSANOW, &tio);
  char name[128];
  if (ptsname_r(master, name, sizeof name) != 0) return 1;

  ui::HeadlessLoop loop(ui::HeadlessLoop::Clock::Real);
  TQlsComm32 comm;
  comm.SetAutoReconnect(false);
  comm.SetCommPort(name);
  int hangups = 0;
  comm.OnRequestHangup = [&](TQlsComm32&) { ++hangups; };
  comm.Loaded();
  loop.RunPending();
  if (!comm.StartComm()) {
    std::fprintf(stderr, "cannot open %s\n", name);
    return 1;
  }
  close(master);
  loop.RunUntil([&] { return hangups >= 2; }, 5000);
  const int64_t before = comm.ReaderCpuTimeNs();
  const int hangupsBefore = hangups;
  loop.RunUntil([] { return false; }, 1000);
  const int64_t used = comm.ReaderCpuTimeNs() - before;
  std::printf("dead line, 1 s: reader CPU %.1f ms, hang-up requests %d (goal: < 150 ms)\n",
              used / 1e6, hangups - hangupsBefore);
  comm.StopComm();
  loop.RunPending();
  return used < 150'000'000 ? 0 : 1;
}
