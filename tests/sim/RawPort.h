#pragma once
// A bare serial client for the tests: opens a terminal the way a program opens a serial port
// (raw, non-blocking) and exchanges bytes with a poll time-out.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "sim/Wire.h"

namespace simtest {

class RawPort {
 public:
  explicit RawPort(const std::string& path) { open(path); }
  ~RawPort() { close(); }
  RawPort(const RawPort&) = delete;
  RawPort& operator=(const RawPort&) = delete;

  bool open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    termios tio{};
    if (tcgetattr(fd_, &tio) == 0) {
      cfmakeraw(&tio);
      tio.c_cflag |= CLOCAL | CREAD;
      tcsetattr(fd_, TCSANOW, &tio);
    }
    return true;
  }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  bool isOpen() const { return fd_ >= 0; }

  bool send(const sim::Bytes& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

  // Bytes up to and including the first CR; whatever arrived when the time-out passed.
  sim::Bytes readFrame(int timeoutMs = 3000) {
    return read(timeoutMs, [](const sim::Bytes& got) { return got.back() == sim::kFrameEnd; });
  }
  // Exactly count bytes, or fewer when the time-out passed.
  sim::Bytes readBytes(size_t count, int timeoutMs = 3000) {
    return read(
        timeoutMs, [count](const sim::Bytes& got) { return got.size() >= count; }, count);
  }
  // What is there to read at this moment, without waiting.
  sim::Bytes readPending() {
    return read(0, [](const sim::Bytes&) { return false; });
  }

  sim::Bytes exchange(const sim::Bytes& command, int timeoutMs = 3000) {
    return send(command) ? readFrame(timeoutMs) : sim::Bytes{};
  }

  // True when the line reports a hang-up within the time-out.
  bool waitHangUp(int timeoutMs = 3000) {
    pollfd p{fd_, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0 && (p.revents & (POLLHUP | POLLERR)) != 0;
  }

 private:
  template <class Done>
  sim::Bytes read(int timeoutMs, Done done, size_t limit = SIZE_MAX) {
    sim::Bytes got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      if (takeAvailable(got, done, limit)) return got;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return got;
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return got;
      if ((p.revents & POLLHUP) != 0) {  // a hung-up line stays readable forever: stop here
        takeAvailable(got, done, limit);
        return got;
      }
    }
  }
  template <class Done>
  bool takeAvailable(sim::Bytes& got, Done& done, size_t limit) {
    uint8_t b;
    while (got.size() < limit && ::read(fd_, &b, 1) == 1) {
      got.push_back(b);
      if (done(got)) return true;
    }
    return false;
  }

  int fd_ = -1;
};

}  // namespace simtest
