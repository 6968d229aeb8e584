// links: kx2_protocol kx2_serial kx2_eeprom kx2_lang kx2_components kx2_ui kx2_base
// Reply latency of the receive path: from the unit's last byte on the line to the device module
// having the reply (reader thread, posted message, event loop, framing, line reader), over 200
// link tests, with the port as the main window sets it up (event character CR) and without an
// event character (a piece is handed over after 10 ms of quiet). Median and worst are printed.
//
// The bench plays the unit itself on the master side of a pseudo-terminal and writes each reply
// in one piece; the clock starts when that write has returned, so the figures are never low.
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "protocol/VScriptReadVorLine.h"
#include "protocol/VUniModule.h"
#include "serial/TQlsComm32.h"
#include "serial/TReadThread.h"
#include "ui/HeadlessLoop.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes when the byte that completed the awaited reply has been framed.
class TimedModule : public VUniModule {
 public:
  using VUniModule::VUniModule;
  void FeedByte(uint8_t b) override {
    VUniModule::FeedByte(b);
    if (!completed && LineReader().State() == ScriptDone) {
      completedAt = Clock::now();
      completed = true;
    }
  }
  bool completed = false;
  Clock::time_point completedAt;
};

// The unit's end of the line: the master of a pseudo-terminal in raw mode.
struct Master {
  int fd = -1;
  std::string slave;
  bool Open() {
    fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) return false;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    char name[128];
    if (ptsname_r(fd, name, sizeof name) != 0) return false;
    slave = name;
    return true;
  }
  ~Master() {
    if (fd >= 0) close(fd);
  }
  // Drains what the program sent.
  void Drain() const {
    char buffer[256];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
  }
};

bool Measure(const char* what, std::optional<uint8_t> eventChar) {
  constexpr int kRounds = 200;
  Master master;
  if (!master.Open()) {
    std::fprintf(stderr, "no pseudo-terminal\n");
    return false;
  }
  fcntl(master.fd, F_SETFL, fcntl(master.fd, F_GETFL) | O_NONBLOCK);
  ui::HeadlessLoop loop(ui::HeadlessLoop::Clock::Real);
  TQlsComm32 comm;
  comm.SetAutoReconnect(false);
  comm.SetCommPort(master.slave);
  comm.SetEventChar(eventChar);
  comm.Loaded();
  TimedModule module(comm, nullptr);
  comm.OnReceiveData = [&](const uint8_t* data, uint16_t count) {
    for (uint16_t i = 0; i < count; ++i) module.FeedByte(data[i]);
  };
  if (!comm.StartComm()) {
    std::fprintf(stderr, "cannot open %s\n", master.slave.c_str());
    return false;
  }

  const uint8_t reply[] = {0x81, 0x82, 0x0D};
  std::vector<double> latencyUs;
  int failures = 0;
  for (int round = 0; round < kRounds; ++round) {
    module.completed = false;
    VScriptReadVorLine& reader = module.LineReader();
    reader.StartRead(nullptr, 2000);
    loop.RunUntil([] { return false; }, 2);  // a quiet line between rounds
    master.Drain();
    if (write(master.fd, reply, sizeof reply) != static_cast<ssize_t>(sizeof reply)) {
      ++failures;
      continue;
    }
    const auto sentAt = Clock::now();
    loop.RunUntil([&] { return reader.State() != 1; }, 3000);
    const bool answered = reader.State() == ScriptDone && module.completed;
    module.CheckFinished(&reader);
    if (!answered) {
      ++failures;
      continue;
    }
    latencyUs.push_back(
        std::chrono::duration<double, std::micro>(module.completedAt - sentAt).count());
  }
  comm.StopComm();

  if (latencyUs.empty()) {
    std::printf("%s: no reply completed (%d failures)\n", what, failures);
    return false;
  }
  std::sort(latencyUs.begin(), latencyUs.end());
  std::printf("%-44s median %8.1f us  worst %8.1f us  (%zu replies, %d failed)\n", what,
              latencyUs[latencyUs.size() / 2], latencyUs.back(), latencyUs.size(), failures);
  return failures == 0;
}

}  // namespace

int main() {
  std::printf("reply latency, the reply's last byte on the line -> the module has the reply\n");
  bool ok = Measure("event character CR (the unit's link)", '\r');
  char quiet[64];
  std::snprintf(quiet, sizeof quiet, "no event character (%d ms of quiet)",
                TReadThread::kInterByteMs);
  ok = Measure(quiet, std::nullopt) && ok;
  return ok ? 0 : 1;
}
