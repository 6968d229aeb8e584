#include "serial/TCommThread.h"

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <chrono>

TCommThread::~TCommThread() {
  Join();
}

void TCommThread::Start() {
  thread_ = std::thread([this] { Run(); });
  handle_ = thread_.native_handle();
  started_ = true;
}

void TCommThread::Run() {
  if (niceSteps_ > 0) (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -niceSteps_);
  Execute();
  std::lock_guard lock(mutex_);
  finished_ = true;
  ended_.notify_all();
}

bool TCommThread::WaitFor(uint32_t timeoutMs) {
  if (!started_) return true;
  std::unique_lock lock(mutex_);
  return ended_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return finished_; });
}

void TCommThread::Join() {
  if (thread_.joinable()) thread_.join();
  started_ = false;
}

int64_t TCommThread::CpuTimeNs() const {
  if (!started_) return -1;
  clockid_t clock;
  timespec ts{};
  if (pthread_getcpuclockid(handle_, &clock) != 0 || clock_gettime(clock, &ts) != 0) return -1;
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
