#pragma once
// What the reader and the writer share: the open port, the shutdown event and the notifier,
// all fixed before the threads start and read-only while they run; and the thread frame both
// run in (start, wait for the end with a limit, CPU time for diagnostics).

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "serial/TCommNotifier.h"
#include "serial/TShutdownEvent.h"

struct TCommLink {
  int fd = -1;
  const TShutdownEvent* shutdown = nullptr;
  std::shared_ptr<TCommNotifier> notifier;
  // Set by the writer after it has handed bytes to the port; the reader reports the output
  // empty (EV_TXEMPTY) once the driver's queue has drained.
  std::atomic<bool> outputWritten{false};
  // The event character (0-255) or kNoEventChar. A piece of received bytes that ends with it is
  // handed over at once instead of after the quiet time. The component may change it while the
  // reader runs.
  static constexpr int kNoEventChar = -1;
  std::atomic<int> eventChar{kNoEventChar};
};

class TCommThread {
 public:
  // A derived class joins in its own destructor: the thread may still use its members.
  virtual ~TCommThread();
  TCommThread(const TCommThread&) = delete;
  TCommThread& operator=(const TCommThread&) = delete;

  // Starts Execute on a new thread; throws std::system_error when no thread can be created.
  void Start();
  // Waits up to timeoutMs for Execute to return; true when it has.
  bool WaitFor(uint32_t timeoutMs);
  // Waits without limit and releases the thread.
  void Join();
  bool Started() const { return started_; }

  // CPU time the thread has used so far, in nanoseconds; -1 when it is not running.
  int64_t CpuTimeNs() const;

 protected:
  // niceSteps: how many steps above normal priority the thread asks for (granted only where
  // the user may raise priorities; otherwise it runs at normal priority).
  TCommThread(TCommLink& link, int niceSteps) : link_(link), niceSteps_(niceSteps) {}
  virtual void Execute() = 0;

  bool ShutdownSignalled() const { return link_.shutdown->IsSignalled(); }
  void PostHangupCall() { link_.notifier->PostRequestHangup(); }

  TCommLink& link_;

 private:
  void Run();

  const int niceSteps_;
  std::thread thread_;
  pthread_t handle_{};
  bool started_ = false;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool finished_ = false;
};
