#pragma once
// The reader: waits for received bytes, for changes of the port's lines and error counters, and
// for the shutdown event, and posts what it sees to the user-interface thread. Received bytes
// go out in pieces of at most 2048 bytes, each once the line has been quiet for 10 ms, the
// buffer is full, or (when the port has an event character) the bytes gathered end with the
// event character. Every pass of its loop but the last posts a time poll, at least every 100 ms.
// A fatal port error (the other side hung up, the device vanished) posts a hangup request and
// the reader then waits for the shutdown event or 100 ms before it tries the port again, so a
// dead port costs a few system calls a tenth of a second and never a spinning core.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "serial/TCommThread.h"

class TReadThread : public TCommThread {
 public:
  static constexpr size_t kBufferSize = 2048;
  static constexpr int kInterByteMs = 10;
  static constexpr int kPassMs = 100;

  explicit TReadThread(TCommLink& link) : TCommThread(link, 2) {}
  // Joins here, while the buffer the thread uses still exists.
  ~TReadThread() override { Join(); }

  // Pieces of received bytes handed to the user-interface thread so far.
  uint32_t PiecesPosted() const { return piecesPosted_.load(); }

 protected:
  void Execute() override;

 private:
  enum class Wake { Shutdown, Port, Timeout, Failed };

  // Reads what the port holds, gathering until the line is quiet, the buffer is full or the
  // gathered bytes end with the event character; false on a fatal port error.
  bool HandleReadEvent();
  // Hands the gathered bytes to the user-interface thread; false when they could not be posted.
  bool HandleReadData();
  // Looks at the modem lines, error counters and output queue, and posts a port event when
  // something happened (received: bytes arrived in this pass).
  void HandleCommEvent(bool received);
  void PostTimePollCall() { link_.notifier->PostTimePoll(); }
  Wake WaitForPort(int timeoutMs);

  uint8_t buffer_[kBufferSize];
  std::atomic<uint32_t> piecesPosted_{0};
  size_t count_ = 0;
  bool eventCharSeen_ = false;  // since the last pass: OnRxFlag is due

  // What the driver offers; a request it refuses once is not repeated for this port.
  bool haveCounters_ = true;
  bool haveModemLines_ = true;
  bool haveOutputQueue_ = true;
  bool countersKnown_ = false;
  bool modemKnown_ = false;
  uint32_t lastModem_ = 0;
  struct Counters {
    int cts, dsr, rng, dcd, frame, overrun, parity, brk, bufOverrun;
  } lastCounters_{};
};
