#include "ui/Timer.h"

#include "ui/EventLoop.h"

namespace ui {

Timer::Timer(Component* owner, std::string name) : Component(owner, std::move(name)) {}

Timer::~Timer() {
  if (EventLoop* loop = LoopOrNull()) loop->TimerDestroyed(*this);
}

void Timer::SetInterval(uint32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (EventLoop* loop = LoopOrNull()) loop->TimerChanged(*this);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (EventLoop* loop = LoopOrNull()) loop->TimerChanged(*this);
}

void Timer::SetOnTimer(std::function<void(Timer&)> handler) {
  OnTimer = std::move(handler);
  if (EventLoop* loop = LoopOrNull()) loop->TimerChanged(*this);
}

void Timer::Fire() {
  if (Active() && OnTimer) OnTimer(*this);
}

}  // namespace ui
