#include "serial/TWriteThread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "serial/CommsLog.h"

using serial::LogDebugInfo;
using serial::LogDebugLastError;

TWriteThread::TWriteThread(TCommLink& link) : TCommThread(link, 1) {
  // The queue exists from the start, so a block sent right after the port opened is never
  // refused because the thread has not reached its loop yet.
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) {
    LogDebugLastError(errno, "Unable to CreateEvent: ");
    accepting_ = false;
  }
}

TWriteThread::~TWriteThread() {
  Join();
  if (wakeFd_ >= 0) close(wakeFd_);
}

bool TWriteThread::Queue(const void* data, uint16_t count, bool slow) {
  Block block;
  block.data = std::make_unique<uint8_t[]>(count + 1u);
  if (count > 0) std::memcpy(block.data.get(), data, count);
  block.count = count;
  block.slow = slow;
  {
    std::lock_guard lock(mutex_);
    if (!accepting_) return false;
    queue_.push_back(std::move(block));
  }
  const uint64_t one = 1;
  while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
  return true;
}

void TWriteThread::CloseQueue() {
  std::deque<Block> dropped;
  std::lock_guard lock(mutex_);
  accepting_ = false;
  dropped.swap(queue_);
}

TWriteThread::Next TWriteThread::Take(Block& block) {
  for (;;) {
    // Reset the wake-up before looking, so a block queued after the look wakes the wait.
    uint64_t ignored;
    (void)!read(wakeFd_, &ignored, sizeof ignored);
    {
      std::lock_guard lock(mutex_);
      if (!queue_.empty()) {
        block = std::move(queue_.front());
        queue_.pop_front();
        return Next::Block;
      }
    }
    pollfd fds[2] = {{link_.shutdown->Fd(), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    for (;;) {
      const int ready = poll(fds, 2, -1);
      if (ready > 0) break;
      if (errno == EINTR) continue;
      LogDebugLastError(errno, "Write WAIT_FAILED: ");
      PostHangupCall();
      // A failing wait would fail again at once; give the port a moment.
      pollfd shutdown{link_.shutdown->Fd(), POLLIN, 0};
      (void)poll(&shutdown, 1, 100);
    }
    if (fds[0].revents != 0) return Next::Shutdown;
  }
}

void TWriteThread::Execute() {
  if (wakeFd_ >= 0) {
    Block block;
    while (Take(block) == Next::Block) {
      // A block taken after the shutdown was signalled is neither written nor reported.
      if (ShutdownSignalled()) break;
      LogDebugInfo(block.slow ? "Writing to comm port slowly" : "Writing to comm port");
      const bool written = HandleWriteData(block);
      block = Block{};
      if (!written) break;
    }
  } else {
    PostHangupCall();
  }
  CloseQueue();
  LogDebugInfo("Write thread shutting down");
  tcflush(link_.fd, TCOFLUSH);
}

bool TWriteThread::WaitWritable() {
  pollfd fds[2] = {{link_.shutdown->Fd(), POLLIN, 0}, {link_.fd, POLLOUT, 0}};
  for (;;) {
    const int ready = poll(fds, 2, -1);
    if (ready > 0) break;
    if (errno == EINTR) continue;
    LogDebugLastError(errno, "Write WAIT_FAILED: ");
    PostHangupCall();
    return false;
  }
  // Shutdown while the write waits: the data is dropped, without a hangup request.
  return fds[0].revents == 0;
}

bool TWriteThread::HandleWriteData(const Block& block) {
  size_t offset = 0;
  // An empty block writes nothing and counts as written.
  while (offset < block.count) {
    const size_t want = block.slow ? 1 : block.count - offset;
    const ssize_t n = write(link_.fd, block.data.get() + offset, want);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      if (n == 0 || errno == EAGAIN) {
        // The driver's buffer is full: wait until it takes more, or for the shutdown. A line
        // that hung up reports writable and then fails the write with EIO below.
        if (!WaitWritable()) return false;
        continue;
      }
      LogDebugLastError(errno, "Error to writing to CommFile");
      LogDebugInfo("Closing TAPI");
      PostHangupCall();
      return false;
    }
    writeCalls_.fetch_add(1);
    link_.outputWritten.store(true);
    offset += static_cast<size_t>(n);
    if (block.slow) {
      // The pause after each byte; the shutdown event cuts it short.
      pollfd shutdown{link_.shutdown->Fd(), POLLIN, 0};
      if (poll(&shutdown, 1, 1) > 0) return false;
    }
  }
  return true;
}
