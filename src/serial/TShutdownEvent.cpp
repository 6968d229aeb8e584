#include "serial/TShutdownEvent.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

TShutdownEvent::TShutdownEvent() {
  fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd_ < 0) error_ = errno;
}

TShutdownEvent::~TShutdownEvent() {
  if (fd_ >= 0) close(fd_);
}

void TShutdownEvent::Signal() {
  if (fd_ < 0) return;
  // Nobody ever reads the counter, so the descriptor stays readable: a manual-reset event.
  const uint64_t one = 1;
  while (write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

bool TShutdownEvent::IsSignalled() const {
  if (fd_ < 0) return false;
  pollfd p{fd_, POLLIN, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}
