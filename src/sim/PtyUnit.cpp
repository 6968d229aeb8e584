#include "sim/PtyUnit.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

using namespace std::chrono_literals;

// While nobody has the port open the master reports a hang-up on every poll; this is how long
// the unit sleeps before it looks again.
constexpr auto kClosedPortRecheck = 20ms;
// How long a hang-up waits for the program to take in the last reply.
constexpr auto kHangUpDrain = 1000ms;
constexpr auto kHangUpQuiet = 50ms;

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

std::string Failure(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

std::string FormatTraffic(const TrafficEntry& entry) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%10.3f ", entry.ms);
  std::string line = stamp;
  switch (entry.kind) {
    case TrafficEntry::Kind::Received:
      line += "< ";
      break;
    case TrafficEntry::Kind::Sent:
      line += "> ";
      break;
    case TrafficEntry::Kind::Event:
      line += "* ";
      break;
  }
  line += FormatHex(entry.bytes);
  if (!entry.note.empty()) line += (entry.bytes.empty() ? "" : "  ") + entry.note;
  return line;
}

PtyUnit::PtyUnit(const UnitConfig& config) : unit_(config) {}

PtyUnit::~PtyUnit() {
  stop();
  if (log_) std::fclose(log_);
}

bool PtyUnit::start(std::string* error) {
  if (thread_.joinable()) {
    SetError(error, "the unit is already started");
    return false;
  }
  int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) {
    SetError(error, Failure("posix_openpt"));
    return false;
  }
  char name[128] = {};
  termios tio{};
  std::string failed;
  if (fcntl(master, F_SETFD, FD_CLOEXEC) != 0 ||
      fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
    failed = Failure("fcntl");
  } else if (grantpt(master) != 0 || unlockpt(master) != 0) {
    failed = Failure("unlockpt");
  } else if (ptsname_r(master, name, sizeof name) != 0) {
    failed = Failure("ptsname");
  } else if (tcgetattr(master, &tio) != 0) {
    failed = Failure("tcgetattr");
  } else {
    // Raw at once: a terminal in its default mode would echo the program's commands back.
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B19200);
    cfsetospeed(&tio, B19200);
    if (tcsetattr(master, TCSANOW, &tio) != 0) failed = Failure("tcsetattr");
  }
  if (failed.empty() && pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) failed = Failure("pipe");
  if (!failed.empty()) {
    ::close(master);
    closeFds();
    SetError(error, failed);
    return false;
  }
  master_ = master;
  rxFree_ = txFree_ = Clock::time_point{};
  {
    std::lock_guard lock(mutex_);
    unit_.resetLine();
    slavePath_ = name;
    running_ = true;
    hungUp_ = false;
    started_ = Clock::now();
  }
  thread_ = std::thread(&PtyUnit::run, this);
  return true;
}

void PtyUnit::stop() {
  if (thread_.joinable()) {
    const char stopByte = 1;
    while (::write(wake_[1], &stopByte, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  closeFds();
  std::lock_guard lock(mutex_);
  running_ = false;
  changed_.notify_all();
}

void PtyUnit::closeFds() {
  CloseFd(master_);
  CloseFd(wake_[0]);
  CloseFd(wake_[1]);
}

std::string PtyUnit::slavePath() const {
  std::lock_guard lock(mutex_);
  return slavePath_;
}

bool PtyUnit::running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

bool PtyUnit::hungUp() const {
  std::lock_guard lock(mutex_);
  return hungUp_;
}

void PtyUnit::setRecording(bool on) {
  std::lock_guard lock(mutex_);
  recording_ = on;
}

bool PtyUnit::setLogFile(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (!file) {
    SetError(error, "cannot create " + path + ": " + std::strerror(errno));
    return false;
  }
  std::lock_guard lock(mutex_);
  if (log_) std::fclose(log_);
  log_ = file;
  return true;
}

std::vector<TrafficEntry> PtyUnit::traffic() const {
  std::lock_guard lock(mutex_);
  return traffic_;
}

void PtyUnit::clearTraffic() {
  std::lock_guard lock(mutex_);
  traffic_.clear();
}

size_t PtyUnit::commandsReceived() const {
  std::lock_guard lock(mutex_);
  return unit_.commandsReceived();
}

size_t PtyUnit::framesRejected() const {
  std::lock_guard lock(mutex_);
  return unit_.framesRejected();
}

bool PtyUnit::waitForFrames(size_t count, int timeoutMs) const {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                    [&] { return handled_ >= count || !running_; });
  return handled_ >= count;
}

bool PtyUnit::waitForTraffic(const std::function<bool(const std::vector<TrafficEntry>&)>& pred,
                             int timeoutMs) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
    return pred(traffic_) || !running_;
  }) && pred(traffic_);
}

uint8_t PtyUnit::byteAt(uint32_t address) const {
  std::lock_guard lock(mutex_);
  return unit_.byteAt(address);
}

Bytes PtyUnit::bytes(uint32_t address, size_t count) const {
  std::lock_guard lock(mutex_);
  return unit_.bytes(address, count);
}

void PtyUnit::setBytes(uint32_t address, const Bytes& values) {
  std::lock_guard lock(mutex_);
  unit_.setBytes(address, values);
}

Bytes PtyUnit::memory() const {
  std::lock_guard lock(mutex_);
  return unit_.memory();
}

bool PtyUnit::loadImage(const std::string& path, std::string* error) {
  std::lock_guard lock(mutex_);
  return unit_.loadImage(path, error);
}

bool PtyUnit::saveImage(const std::string& path, std::string* error) const {
  // Written from a copy so that the unit keeps answering while the file is written.
  return WriteImageFile(path, memory(), error);
}

void PtyUnit::record(TrafficEntry::Kind kind, Bytes bytes, std::string note) {
  std::lock_guard lock(mutex_);
  TrafficEntry entry;
  entry.kind = kind;
  entry.ms = std::chrono::duration<double, std::milli>(Clock::now() - started_).count();
  entry.bytes = std::move(bytes);
  entry.note = std::move(note);
  if (log_) {
    std::fputs((FormatTraffic(entry) + "\n").c_str(), log_);
    std::fflush(log_);
  }
  if (recording_) traffic_.push_back(std::move(entry));
  changed_.notify_all();
}

bool PtyUnit::sleepUntil(Clock::time_point deadline) const {
  for (;;) {
    const auto now = Clock::now();
    if (now >= deadline) return true;
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - now);
    timespec span{};
    span.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
    span.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
    pollfd wake{wake_[0], POLLIN, 0};
    const int r = ppoll(&wake, 1, &span, nullptr);
    if (r > 0) return false;  // the stop byte stays in the pipe for every later check
    if (r < 0 && errno != EINTR) return false;
  }
}

bool PtyUnit::portClosed() const {
  pollfd line{master_, POLLIN, 0};
  return poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR)) != 0;
}

void PtyUnit::run() {
  Bytes buffer(4096);
  bool closedSeen = false;
  for (;;) {
    pollfd fds[2] = {{wake_[0], POLLIN, 0}, {master_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents != 0 || (fds[1].revents & POLLNVAL) != 0) break;
    bool closed = (fds[1].revents & (POLLHUP | POLLERR)) != 0;
    // Input first: when the program closes the port, the master still hands out what it had
    // written before it reports the hang-up.
    if ((fds[1].revents & POLLIN) != 0) {
      const ssize_t n = ::read(master_, buffer.data(), buffer.size());
      if (n > 0) {
        closedSeen = false;
        if (!handleInput(buffer.data(), static_cast<size_t>(n))) break;
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      closed = true;  // EIO: the program has closed the port
    }
    if (closed) {
      if (!closedSeen) record(TrafficEntry::Kind::Event, {}, "port closed");
      closedSeen = true;
      if (!sleepFor(kClosedPortRecheck)) break;
    }
  }
  std::lock_guard lock(mutex_);
  running_ = false;
  changed_.notify_all();
}

bool PtyUnit::handleInput(const uint8_t* data, size_t count) {
  const auto arrived = Clock::now();
  std::vector<Exchange> exchanges;
  UnitConfig config;
  {
    std::lock_guard lock(mutex_);
    exchanges = unit_.receive(data, count);
    config = unit_.config();
  }
  // The wire carries 10 bits per byte (start, 8 data, stop): a command has not fully arrived
  // before its last byte could have.
  const std::chrono::nanoseconds byteTime{config.baud > 0 ? 10'000'000'000LL / config.baud : 0};
  if (byteTime.count() > 0) rxFree_ = std::max(arrived, rxFree_) + count * byteTime;

  for (Exchange& ex : exchanges) {
    // A note explains either why the frame got no answer or what is wrong with the answer.
    record(TrafficEntry::Kind::Received, ex.frame, ex.reply.empty() ? ex.note : std::string());
    if (!ex.reply.empty()) {
      if (byteTime.count() > 0 && !sleepUntil(rxFree_)) return false;
      if (config.latencyMs > 0 && !sleepFor(std::chrono::milliseconds(config.latencyMs))) {
        return false;
      }
      if (emit(ex.reply, ex.note, config) == Io::Stopped) return false;
    }
    if (ex.hangUp) {
      hangUp();
      return false;
    }
    std::lock_guard lock(mutex_);
    ++handled_;
    changed_.notify_all();
  }
  return true;
}

PtyUnit::Io PtyUnit::emit(const Bytes& reply, const std::string& note, const UnitConfig& config) {
  // On a real line a reply to a port nobody listens to is gone; the pty would keep it for the
  // next open and hand the program a stale answer.
  if (portClosed()) {
    record(TrafficEntry::Kind::Event, reply, "reply lost: port closed");
    return Io::Lost;
  }
  record(TrafficEntry::Kind::Sent, reply, note);
  const std::chrono::nanoseconds byteTime{config.baud > 0 ? 10'000'000'000LL / config.baud : 0};
  const size_t step =
      config.faults.chunk > 0 ? static_cast<size_t>(config.faults.chunk) : reply.size();
  auto due = std::max(Clock::now(), txFree_);
  Io io = Io::Done;
  for (size_t at = 0; at < reply.size() && io == Io::Done; at += step) {
    if (at > 0 && config.chunkGapMs > 0) {
      if (!sleepFor(std::chrono::milliseconds(config.chunkGapMs))) return Io::Stopped;
      due = std::max(due, Clock::now());
    }
    const size_t n = std::min(step, reply.size() - at);
    if (byteTime.count() == 0) {
      io = writeAll(&reply[at], n);
      continue;
    }
    // A byte is there once its stop bit is.
    for (size_t k = 0; k < n && io == Io::Done; ++k) {
      due += byteTime;
      if (!sleepUntil(due)) return Io::Stopped;
      io = writeAll(&reply[at + k], 1);
    }
  }
  txFree_ = due;
  if (io == Io::Lost) record(TrafficEntry::Kind::Event, {}, "reply cut off: port closed");
  return io;
}

PtyUnit::Io PtyUnit::writeAll(const uint8_t* data, size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(master_, data, count);
    if (n > 0) {
      data += n;
      count -= static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return Io::Lost;
    // The program is not reading and the terminal's buffer is full: wait for room or stop.
    pollfd fds[2] = {{wake_[0], POLLIN, 0}, {master_, POLLOUT, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return Io::Lost;
    if (fds[0].revents != 0) return Io::Stopped;
    if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return Io::Lost;
  }
  return Io::Done;
}

void PtyUnit::hangUp() {
  // The line drops after the last reply went out, so give the program the chance to take it in
  // before the terminal goes away with whatever it still holds.
  // Written bytes reach the slave's queue a moment later, so an empty queue only counts once it
  // has stayed empty for a while.
  const int probe = ::open(slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (probe >= 0) {
    const auto deadline = Clock::now() + kHangUpDrain;
    auto quietSince = Clock::now();
    for (auto now = quietSince; now < deadline; now = Clock::now()) {
      int queued = 0;
      if (ioctl(probe, FIONREAD, &queued) != 0) break;
      if (queued > 0) {
        quietSince = now;
      } else if (now - quietSince >= kHangUpQuiet) {
        break;
      }
      if (!sleepFor(5ms)) break;
    }
    ::close(probe);
  } else {
    sleepFor(100ms);
  }
  CloseFd(master_);
  record(TrafficEntry::Kind::Event, {}, "line hung up");
  std::lock_guard lock(mutex_);
  hungUp_ = true;
  ++handled_;
  changed_.notify_all();
}

}  // namespace sim
