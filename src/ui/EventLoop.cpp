#include "ui/EventLoop.h"

#include <atomic>
#include <stdexcept>

namespace ui {

static std::atomic<EventLoop*> g_loop{nullptr};

EventLoop& Loop() {
  EventLoop* loop = g_loop.load();
  if (loop == nullptr) throw std::logic_error("no event loop installed");
  return *loop;
}

EventLoop* LoopOrNull() {
  return g_loop.load();
}

void LoopGlobal::Set(EventLoop* loop) {
  g_loop.store(loop);
}

}  // namespace ui
