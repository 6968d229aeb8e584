#pragma once
// A pseudo-terminal pair for tests: the test holds the master (the "device") in raw mode, the
// component opens the slave by its path.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

class PtyPair {
 public:
  PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
      throw std::runtime_error("no pseudo-terminal");
    termios tio{};
    tcgetattr(master_, &tio);
    cfmakeraw(&tio);  // at once, or the line discipline echoes what the component sends
    tcsetattr(master_, TCSANOW, &tio);
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("no slave name");
    slavePath_ = name;
  }
  ~PtyPair() { CloseMaster(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  int Master() const { return master_; }

  void CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }

  void Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw std::runtime_error("write to master failed");
      done += static_cast<size_t>(n);
    }
  }

  // Reads until want bytes came or the line stayed quiet for quietMs.
  std::string Receive(size_t want, int quietMs = 2000) {
    std::string got;
    while (got.size() < want) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, quietMs) <= 0) break;
      char buffer[4096];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      got.append(buffer, static_cast<size_t>(n));
    }
    return got;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};
