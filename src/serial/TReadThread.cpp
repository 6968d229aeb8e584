#include "serial/TReadThread.h"

#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "serial/CommTypes.h"
#include "serial/CommsLog.h"
#include "serial/LineSettings.h"

using serial::LogDebugInfo;
using serial::LogDebugLastError;

void TReadThread::Execute() {
  bool failed = false;
  for (;;) {
    // After a fatal error the port is left alone for one pass: a hung-up line stays readable
    // forever and would otherwise be retried at once, again and again.
    pollfd fds[2] = {{link_.shutdown->Fd(), POLLIN, 0}, {link_.fd, POLLIN, 0}};
    const nfds_t count = failed ? 1 : 2;
    const int ready = poll(fds, count, kPassMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      LogDebugLastError(errno, "Read WAIT_FAILED: ");
      PostHangupCall();
      PostTimePollCall();
      // A wait that cannot wait would fail again at once.
      std::this_thread::sleep_for(std::chrono::milliseconds(kPassMs));
      failed = true;
      continue;
    }
    failed = false;
    if (fds[0].revents != 0) {
      LogDebugInfo("Time to Exit");
      break;
    }
    const short portEvents = count == 2 ? fds[1].revents : 0;
    const bool received =
        (portEvents & POLLIN) != 0 && (portEvents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
    HandleCommEvent(received);
    if (portEvents != 0 && !HandleReadEvent()) {
      LogDebugInfo("Unable to HandleReadEvent: ");
      PostHangupCall();
      failed = true;
    }
    if (eventCharSeen_) {
      eventCharSeen_ = false;
      link_.notifier->PostCommEvent(EV_RXFLAG, lastModem_);
    }
    PostTimePollCall();
  }

  LogDebugInfo("Read thread shutting down");
  tcflush(link_.fd, TCIFLUSH);
}

TReadThread::Wake TReadThread::WaitForPort(int timeoutMs) {
  pollfd fds[2] = {{link_.shutdown->Fd(), POLLIN, 0}, {link_.fd, POLLIN, 0}};
  for (;;) {
    const int ready = poll(fds, 2, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return Wake::Failed;
    if (ready == 0) return Wake::Timeout;
    return fds[0].revents != 0 ? Wake::Shutdown : Wake::Port;
  }
}

bool TReadThread::HandleReadEvent() {
  for (;;) {
    const ssize_t n = read(link_.fd, buffer_ + count_, kBufferSize - count_);
    if (n > 0) {
      const size_t from = count_;
      count_ += static_cast<size_t>(n);
      const int eventChar = link_.eventChar.load(std::memory_order_relaxed);
      bool endsWithEventChar = false;
      if (eventChar != TCommLink::kNoEventChar) {
        eventCharSeen_ =
            eventCharSeen_ || std::memchr(buffer_ + from, eventChar, count_ - from) != nullptr;
        endsWithEventChar = buffer_[count_ - 1] == eventChar;
      }
      // A full buffer, or a piece that ends with the event character (the end of a reply),
      // goes out without waiting for the line to fall quiet.
      if ((count_ == kBufferSize || endsWithEventChar) && !HandleReadData()) return false;
      continue;
    }
    if (n == 0) {
      // End of file on a terminal: the line was hung up (the other side of a pseudo-terminal
      // closed, a USB adapter was pulled). What was gathered before still goes out.
      HandleReadData();
      LogDebugInfo("ERROR_INVALID_HANDLE, Likely that the Service Provider has closed the port.");
      return false;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN) {
      const int error = errno;
      HandleReadData();
      LogDebugLastError(error, "Unexpected ReadFile error: ");
      return false;
    }
    if (count_ == 0) return true;  // woken without data

    // The piece ends when no further byte comes within the inter-byte time.
    switch (WaitForPort(kInterByteMs)) {
      case Wake::Port:
        continue;
      case Wake::Timeout:
        return HandleReadData();
      case Wake::Shutdown:
        HandleReadData();
        return true;
      case Wake::Failed: {
        const int error = errno;
        HandleReadData();
        LogDebugLastError(error, "Read WAIT_FAILED: ");
        return false;
      }
    }
  }
}

bool TReadThread::HandleReadData() {
  if (count_ == 0) return false;
  LogDebugInfo("Got something from Comm port!!!");
  const auto count = static_cast<uint16_t>(count_);
  count_ = 0;
  // The copy carries one zero byte after the data, so a handler may read it as text.
  auto block = std::shared_ptr<uint8_t[]>(new uint8_t[count + 1u]);
  std::memcpy(block.get(), buffer_, count);
  block[count] = 0;
  const bool posted = link_.notifier->PostReceiveData(std::move(block), count);
  if (posted) piecesPosted_.fetch_add(1);
  return posted;
}

void TReadThread::HandleCommEvent(bool received) {
  uint32_t mask = received ? EV_RXCHAR : 0;
  uint32_t errors = 0;

  uint32_t modem = 0;
  if (haveModemLines_) {
    int lines = 0;
    if (ioctl(link_.fd, TIOCMGET, &lines) == 0) {
      modem = serial::ModemStatusOf(lines);
    } else {
      haveModemLines_ = false;  // pseudo-terminals have no modem lines (ENOTTY)
    }
  }

  if (haveCounters_) {
    serial_icounter_struct ic{};
    if (ioctl(link_.fd, TIOCGICOUNT, &ic) == 0) {
      const Counters now{ic.cts,     ic.dsr,    ic.rng, ic.dcd,        ic.frame,
                         ic.overrun, ic.parity, ic.brk, ic.buf_overrun};
      if (countersKnown_) {
        const Counters& was = lastCounters_;
        if (now.cts != was.cts) mask |= EV_CTS;
        if (now.dsr != was.dsr) mask |= EV_DSR;
        if (now.dcd != was.dcd) mask |= EV_RLSD;
        if (now.rng != was.rng) mask |= EV_RING;
        if (now.brk != was.brk) {
          mask |= EV_BREAK;
          errors |= CE_BREAK;
        }
        if (now.frame != was.frame) errors |= CE_FRAME;
        if (now.overrun != was.overrun) errors |= CE_OVERRUN;
        if (now.parity != was.parity) errors |= CE_RXPARITY;
        if (now.bufOverrun != was.bufOverrun) errors |= CE_RXOVER;
        if (errors != 0) mask |= EV_ERR;
      }
      lastCounters_ = now;
      countersKnown_ = true;
    } else {
      haveCounters_ = false;
    }
  }
  if (!haveCounters_ && haveModemLines_) {
    // Without counters, changes show only between two looks at the lines.
    if (modemKnown_) {
      const uint32_t changed = modem ^ lastModem_;
      if (changed & MS_CTS_ON) mask |= EV_CTS;
      if (changed & MS_DSR_ON) mask |= EV_DSR;
      if (changed & MS_RLSD_ON) mask |= EV_RLSD;
      if (changed & MS_RING_ON) mask |= EV_RING;
    }
  }
  lastModem_ = modem;
  modemKnown_ = haveModemLines_;

  if (haveOutputQueue_ && link_.outputWritten.load()) {
    int pending = 0;
    if (ioctl(link_.fd, TIOCOUTQ, &pending) != 0) {
      haveOutputQueue_ = false;
    } else if (pending == 0 && link_.outputWritten.exchange(false)) {
      mask |= EV_TXEMPTY;
    }
  }

  if (mask != 0) link_.notifier->PostCommEvent(mask, (errors << 16) | modem);
}
