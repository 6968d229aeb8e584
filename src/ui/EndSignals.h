#pragma once
// The session ends for a program the way a terminal or a service manager ends it: SIGTERM or
// SIGINT. A signal handler may do almost nothing, so the handler only writes the signal's number
// into a pipe; a small thread reads it and posts the program's reaction to the event loop, where
// the ordinary close sequence runs on the user-interface thread (unit let go, options saved).
//
// The first signal of each kind is taken over; the handler then gives the signal back to the
// system's default, so a second Ctrl+C ends a program whose close hangs at once, as users expect.
//
// One watch at a time: the signals' handlers are process-wide. The watch is their scope object:
// it installs its handlers when built and puts the previous ones back when destroyed.

#include <functional>
#include <memory>

namespace ui {

class EndSignalWatch {
 public:
  // onSignal runs on the loop's thread (posted to the loop installed now) with the signal's
  // number. The loop must outlive the watch.
  explicit EndSignalWatch(std::function<void(int signo)> onSignal);
  ~EndSignalWatch();
  EndSignalWatch(const EndSignalWatch&) = delete;
  EndSignalWatch& operator=(const EndSignalWatch&) = delete;

  // False when the pipe or the thread could not be set up (the signals then keep their old
  // handling).
  bool Active() const { return impl_ != nullptr; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
