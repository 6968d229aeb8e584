#pragma once
// A timer component: fires OnTimer every Interval milliseconds while enabled, on the
// user-interface thread, through the installed event loop.

#include <cstdint>
#include <functional>

#include "ui/Component.h"

namespace ui {

class Timer : public Component {
 public:
  Timer(Component* owner, std::string name = {});
  ~Timer() override;
  const char* ClassName() const override { return "TTimer"; }

  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Scheduled while enabled with an interval; a tick without a handler does nothing. (The
  // handler may be assigned directly, so the schedule must not depend on it.)
  bool Active() const { return enabled_ && interval_ > 0; }

  std::function<void(Timer&)> OnTimer;
  void SetOnTimer(std::function<void(Timer&)> handler);

  // Called by the loop when the timer is due.
  void Fire();

 private:
  uint32_t interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace ui
