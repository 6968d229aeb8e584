#include "ui/EndSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <optional>
#include <thread>

#include "base/ScopedGlobal.h"
#include "ui/EventLoop.h"

namespace ui {
namespace {

// The write end of the watch's pipe, for the handler; -1 without a watch.
std::atomic<int> signalPipe{-1};

struct SignalPipe {
  using Value = int;
  static int Get() { return signalPipe.load(); }

 private:
  friend class ScopedGlobal<SignalPipe>;
  static void Set(int fd) { signalPipe.store(fd); }
};

void OnEndSignal(int signo) {
  const int saved = errno;
  const int fd = signalPipe.load();
  if (fd >= 0) {
    const auto byte = static_cast<unsigned char>(signo);
    (void)!write(fd, &byte, 1);
  }
  // A second signal of this kind gets the system's default handling.
  std::signal(signo, SIG_DFL);
  errno = saved;
}

// Byte that tells the thread to end; no signal has number 0.
constexpr unsigned char kStop = 0;

// What a posted reaction needs; it may still be queued when the watch is gone.
struct Target {
  std::function<void(int)> onSignal;
  bool alive = true;  // user-interface thread only
};

}  // namespace

struct EndSignalWatch::Impl {
  std::shared_ptr<Target> target;
  EventLoop* loop = nullptr;
  int fds[2] = {-1, -1};
  std::thread thread;
  std::optional<ScopedGlobal<SignalPipe>> installed;
  struct sigaction previousTerm {};
  struct sigaction previousInt {};

  void Run() {
    for (;;) {
      unsigned char byte = kStop;
      const ssize_t n = read(fds[0], &byte, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0 || byte == kStop) return;
      const int signo = byte;
      loop->Post([target = target, signo] {
        if (target->alive) target->onSignal(signo);
      });
    }
  }
};

EndSignalWatch::EndSignalWatch(std::function<void(int signo)> onSignal) {
  auto impl = std::make_unique<Impl>();
  impl->loop = LoopOrNull();
  if (impl->loop == nullptr || pipe2(impl->fds, O_CLOEXEC) != 0) return;
  impl->target = std::make_shared<Target>(Target{std::move(onSignal)});
  try {
    impl->thread = std::thread([p = impl.get()] { p->Run(); });
  } catch (...) {
    close(impl->fds[0]);
    close(impl->fds[1]);
    return;
  }
  impl->installed.emplace(impl->fds[1]);
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, &impl->previousTerm);
  sigaction(SIGINT, &action, &impl->previousInt);
  impl_ = std::move(impl);
}

EndSignalWatch::~EndSignalWatch() {
  if (!impl_) return;
  sigaction(SIGTERM, &impl_->previousTerm, nullptr);
  sigaction(SIGINT, &impl_->previousInt, nullptr);
  impl_->installed.reset();
  impl_->target->alive = false;
  const unsigned char stop = kStop;
  (void)!write(impl_->fds[1], &stop, 1);
  impl_->thread.join();
  close(impl_->fds[0]);
  close(impl_->fds[1]);
}

}  // namespace ui
