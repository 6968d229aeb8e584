#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <vector>

#include "common/TestLoop.h"
#include "ui/EndSignals.h"

namespace {

int otherHandlerCalls = 0;
void OtherHandler(int) {
  ++otherHandlerCalls;
}

// SIGTERM and SIGINT reach the program as work on its loop, each once; the handlers that were
// there before come back when the watch ends, and a reaction still queued then does nothing.
TEST(EndSignalWatch, SignalsArrivePostedOnceAndThePreviousHandlingComesBack) {
  TestLoop loop(ui::HeadlessLoop::Clock::Real);
  std::signal(SIGTERM, OtherHandler);
  std::signal(SIGINT, OtherHandler);
  otherHandlerCalls = 0;
  std::vector<int> got;
  {
    ui::EndSignalWatch watch([&](int signo) { got.push_back(signo); });
    ASSERT_TRUE(watch.Active());
    std::raise(SIGTERM);
    EXPECT_TRUE(got.empty());  // never inside the handler, only from the loop
    ASSERT_TRUE(loop.RunUntil([&] { return got.size() == 1; }, 2000));
    EXPECT_EQ(got[0], SIGTERM);
    std::raise(SIGINT);
    ASSERT_TRUE(loop.RunUntil([&] { return got.size() == 2; }, 2000));
    EXPECT_EQ(got[1], SIGINT);
    // A second signal of a kind already taken over would get the default handling (the end of
    // the process): the handler is no longer ours.
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
  }
  std::raise(SIGTERM);
  std::raise(SIGINT);
  EXPECT_EQ(otherHandlerCalls, 2);
  loop.Advance(50);
  EXPECT_EQ(got.size(), 2u);

  {
    ui::EndSignalWatch watch([&](int signo) { got.push_back(signo); });
    std::raise(SIGINT);
    // Let the watch's thread post, but do not run the loop: the watch goes first.
    for (int i = 0; i < 200 && loop.PendingPosts() == 0; ++i) usleep(1000);
  }
  loop.Advance(50);
  EXPECT_EQ(got.size(), 2u);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace
