// links: kx2_ui
// Cost of an idle 10 ms timer tick of the headless loop: a real-clock run of a few seconds with
// one 10 ms timer whose handler does nothing, measured as CPU time per tick and per cent of a
// core, and the pure dispatch cost per tick on the virtual clock.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "CpuTime.h"
#include "ui/Component.h"
#include "ui/HeadlessLoop.h"
#include "ui/Timer.h"

int main() {
  {
    ui::HeadlessLoop loop(ui::HeadlessLoop::Clock::Real);
    ui::Component owner(nullptr);
    auto* timer = new ui::Timer(&owner);
    long ticks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](ui::Timer&) { ++ticks; });
    const double cpu0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    loop.Advance(3000);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = CpuSeconds() - cpu0;
    std::printf("real clock, 10 ms timer, %.1f s: %ld ticks (%.1f per s)\n", wall, ticks,
                ticks / wall);
    std::printf("  CPU per idle tick: %.1f us; CPU use: %.3f %% of a core\n",
                ticks ? cpu / ticks * 1e6 : 0.0, cpu / wall * 100.0);
  }
  {
    ui::HeadlessLoop loop(ui::HeadlessLoop::Clock::Virtual);
    ui::Component owner(nullptr);
    auto* timer = new ui::Timer(&owner);
    long ticks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](ui::Timer&) { ++ticks; });
    const auto t0 = std::chrono::steady_clock::now();
    loop.Advance(10u * 1000000u);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("virtual clock: %ld ticks dispatched, %.0f ns per tick\n", ticks,
                wall / ticks * 1e9);
  }
  return 0;
}
