// links: kx2_protocol kx2_sim kx2_serial kx2_eeprom kx2_lang kx2_components kx2_ui kx2_base
// Reply latency of the receive path: from the simulated unit writing a reply on its pseudo-
// terminal to the device module's FeedByte completing it (reader thread, posted message, event
// loop, framing, line reader), over 200 link tests. Median and worst are printed.
//
// The unit records each reply with its time (milliseconds since its start) just before it writes
// it, in one piece; that is the start of each measurement. Its time base is taken as the moment
// start() returned, which lies at most the printed uncertainty after the unit's own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol/VScriptReadVorLine.h"
#include "protocol/VUniModule.h"
#include "serial/TQlsComm32.h"
#include "serial/TReadThread.h"
#include "sim/PtyUnit.h"
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

}  // namespace

int main() {
  constexpr int kRounds = 200;
  ui::HeadlessLoop loop(ui::HeadlessLoop::Clock::Real);
  sim::PtyUnit unit;
  const auto beforeStart = Clock::now();
  std::string error;
  if (!unit.start(&error)) {
    std::fprintf(stderr, "simulated unit: %s\n", error.c_str());
    return 1;
  }
  const auto unitBase = Clock::now();

  TQlsComm32 comm;
  comm.SetAutoReconnect(false);
  comm.SetCommPort(unit.slavePath());
  comm.Loaded();
  TimedModule module(comm, nullptr);
  comm.OnReceiveData = [&](const uint8_t* data, uint16_t count) {
    for (uint16_t i = 0; i < count; ++i) module.FeedByte(data[i]);
  };
  if (!comm.StartComm()) {
    std::fprintf(stderr, "cannot open %s\n", unit.slavePath().c_str());
    return 1;
  }

  const uint8_t linkTest[] = {0x01, 0x02, 0x0D};
  std::vector<double> latencyUs;
  int failures = 0;
  for (int round = 0; round < kRounds; ++round) {
    unit.clearTraffic();
    module.completed = false;
    VScriptReadVorLine& reader = module.LineReader();
    reader.StartRead(nullptr, 2000);
    module.Send(linkTest, sizeof linkTest);
    loop.RunUntil([&] { return reader.State() != 1; }, 3000);
    const bool answered = reader.State() == ScriptDone && module.completed;
    module.CheckFinished(&reader);
    unit.waitForFrames(static_cast<size_t>(round) + 1, 1000);
    double sentMs = -1;
    for (const auto& entry : unit.traffic())
      if (entry.kind == sim::TrafficEntry::Kind::Sent) sentMs = entry.ms;
    if (!answered || sentMs < 0) {
      ++failures;
      continue;
    }
    const auto sentAt = unitBase + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double, std::milli>(sentMs));
    latencyUs.push_back(
        std::chrono::duration<double, std::micro>(module.completedAt - sentAt).count());
  }
  comm.StopComm();
  unit.stop();

  if (latencyUs.empty()) {
    std::printf("reply latency: no reply completed (%d failures)\n", failures);
    return 1;
  }
  std::sort(latencyUs.begin(), latencyUs.end());
  const double median = latencyUs[latencyUs.size() / 2];
  const double worst = latencyUs.back();
  const double uncertainty =
      std::chrono::duration<double, std::micro>(unitBase - beforeStart).count();
  std::printf("reply latency, unit write -> FeedByte complete (%zu link tests, %d failed)\n",
              latencyUs.size(), failures);
  std::printf("  median: %8.1f us\n", median);
  std::printf("  worst:  %8.1f us\n", worst);
  // The reader hands a burst over only after the line has been quiet for its inter-byte time.
  const double quietUs = TReadThread::kInterByteMs * 1000.0;
  std::printf("  median beyond the reader's %d ms inter-byte wait: %8.1f us\n",
              TReadThread::kInterByteMs, median - quietUs);
  std::printf("  time base uncertainty: up to %.1f us (figures may be low by that much)\n",
              uncertainty);
  return failures == 0 ? 0 : 1;
}
