#pragma once
// A simulated unit on a pseudo-terminal. The unit answers on the master side from a thread of
// its own; the program (or a test) opens slavePath() as it would open a serial port, and may
// close and open it again as often as it likes. A reply that falls due while nobody has the port
// open is lost, as it would be on a real line. Everything here may be called from any thread.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/Kx2Simulator.h"

namespace sim {

struct TrafficEntry {
  enum class Kind {
    Received,  // a frame from the program (refused ones too, with the reason in note)
    Sent,      // bytes the unit put on the line, noise included
    Event,     // the port was closed by the program, a reply was lost, the line hung up
  };
  Kind kind = Kind::Event;
  double ms = 0;  // since start()
  Bytes bytes;
  std::string note;
};

// One line of the text log: "    12.345 < 01 02 0D", "    12.360 > 81 82 0D", "    13.000 * ...".
std::string FormatTraffic(const TrafficEntry& entry);

class PtyUnit {
 public:
  explicit PtyUnit(const UnitConfig& config = {});
  ~PtyUnit();
  PtyUnit(const PtyUnit&) = delete;
  PtyUnit& operator=(const PtyUnit&) = delete;

  // Opens a new pseudo-terminal (raw, 19200 8N1) and starts answering on it. False with a
  // reason when the terminal cannot be set up or the unit was started and not stopped (also
  // after a hang-up: stop() first). Memory and counters carry over from an earlier run; the
  // faults count afresh on the new line.
  bool start(std::string* error = nullptr);
  // Stops answering and closes the terminal; returns once the unit's thread has ended.
  void stop();

  std::string slavePath() const;
  // True from start() until stop() or until the line hung up (fault close:N).
  bool running() const;
  bool hungUp() const;

  // Traffic is kept in memory for tests unless switched off (a long-running unit would grow
  // without bound); the log file, when set, receives every entry as a line of text.
  void setRecording(bool on);
  bool setLogFile(const std::string& path, std::string* error = nullptr);
  std::vector<TrafficEntry> traffic() const;
  void clearTraffic();

  size_t commandsReceived() const;
  size_t framesRejected() const;
  // Waits until the unit has completely dealt with `count` frames (received, answered or not,
  // reply written); false when the time-out passed first or the unit stopped.
  bool waitForFrames(size_t count, int timeoutMs) const;
  // Waits until the recorded traffic satisfies pred (called with the unit locked, so it must
  // not call back into the unit); false when the time-out passed first or the unit stopped.
  bool waitForTraffic(const std::function<bool(const std::vector<TrafficEntry>&)>& pred,
                      int timeoutMs) const;

  // Runs f with the unit locked against its thread: f(Kx2Simulator&).
  template <class F>
  decltype(auto) withUnit(F&& f) {
    std::lock_guard lock(mutex_);
    return f(unit_);
  }

  uint8_t byteAt(uint32_t address) const;
  Bytes bytes(uint32_t address, size_t count) const;
  void setBytes(uint32_t address, const Bytes& values);
  Bytes memory() const;
  bool loadImage(const std::string& path, std::string* error = nullptr);
  bool saveImage(const std::string& path, std::string* error = nullptr) const;

 private:
  using Clock = std::chrono::steady_clock;
  enum class Io { Done, Lost, Stopped };

  void run();
  bool handleInput(const uint8_t* data, size_t count);
  Io emit(const Bytes& reply, const std::string& note, const UnitConfig& config);
  Io writeAll(const uint8_t* data, size_t count);
  bool portClosed() const;
  void hangUp();
  // Sleeps until the deadline; false when stop() asked the thread to end.
  bool sleepUntil(Clock::time_point deadline) const;
  bool sleepFor(std::chrono::nanoseconds span) const { return sleepUntil(Clock::now() + span); }
  void record(TrafficEntry::Kind kind, Bytes bytes, std::string note);
  void closeFds();

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  Kx2Simulator unit_;
  std::vector<TrafficEntry> traffic_;
  bool recording_ = true;
  std::FILE* log_ = nullptr;
  std::string slavePath_;
  bool running_ = false;
  bool hungUp_ = false;
  size_t handled_ = 0;
  Clock::time_point started_;

  // Owned by the unit's thread while it runs.
  int master_ = -1;
  int wake_[2] = {-1, -1};
  Clock::time_point rxFree_{};
  Clock::time_point txFree_{};
  std::thread thread_;
};

}  // namespace sim
