#pragma once
// The writer: takes blocks from its queue in order and writes them to the port, each in as few
// writes as the port accepts, or one byte per write with a 1 ms pause after each (slow form).
// It ends when the shutdown event is signalled, dropping what is queued or being written, or
// after a failed write; from then on the queue refuses blocks until the port is reopened.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "serial/TCommThread.h"

class TWriteThread : public TCommThread {
 public:
  explicit TWriteThread(TCommLink& link);
  ~TWriteThread() override;

  // Any thread: copies the bytes to the queue. False when the writer no longer takes blocks
  // (it ended after a failed write, or the port is closing) or the queue could not be set up.
  bool WriteComm(const void* data, uint16_t count) { return Queue(data, count, false); }
  bool WriteCommSlow(const void* data, uint16_t count) { return Queue(data, count, true); }

  // Successful write(2) calls so far: a diagnostic for tests of the two write forms.
  uint32_t WriteCalls() const { return writeCalls_.load(); }

 protected:
  void Execute() override;

 private:
  struct Block {
    std::unique_ptr<uint8_t[]> data;
    uint16_t count = 0;
    bool slow = false;
  };
  enum class Next { Block, Shutdown };

  bool Queue(const void* data, uint16_t count, bool slow);
  // Waits for a block or the shutdown event.
  Next Take(Block& block);
  void CloseQueue();
  bool HandleWriteData(const Block& block);
  // False when the shutdown event came first or the wait failed (logged, hangup requested).
  bool WaitWritable();

  int wakeFd_ = -1;  // readable while blocks may be waiting
  std::mutex mutex_;
  std::deque<Block> queue_;
  bool accepting_ = true;
  std::atomic<uint32_t> writeCalls_{0};
};
