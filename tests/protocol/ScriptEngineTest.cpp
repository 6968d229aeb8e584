#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "common/TestLoop.h"
#include "protocol/VGeneralScript.h"

namespace {

// A script whose states 1 and 2 run a handler the test sets; state 3 has no table entry.
class TestScript : public VGeneralScript {
 public:
  using Handler = std::function<void(int32_t state, int32_t sub, int32_t& next, uint32_t now)>;

  std::span<const StateDescription> GetStates() const override {
    static const StateDescription states[] = {
        {1, &ScriptHandler<TestScript, &TestScript::Run>, 0, 0},
        {2, &ScriptHandler<TestScript, &TestScript::Run>, 0, 0},
    };
    return states;
  }
  void OnFinished() override { finished.push_back(State()); }

  Handler handler;
  std::vector<int32_t> subResults;  // one entry per handler call
  std::vector<int32_t> finished;

 private:
  void Run(int32_t sub, int32_t& next, uint32_t now) {
    subResults.push_back(sub);
    if (handler) handler(State(), sub, next, now);
  }
};

}  // namespace

TEST(ScriptEngine, VerdictsTimeOutsAndAbortRequests) {
  TestLoop loop(ui::HeadlessLoop::Clock::Virtual);
  const uint32_t t0 = 0xFFFFFC00u;  // the time-outs below run across the wrap of the tick
  loop.SetVirtualTime(t0);
  TestScript s;
  int32_t verdict = 0;  // 0: leave the next state alone
  s.handler = [&](int32_t, int32_t, int32_t& next, uint32_t) {
    if (verdict != 0) next = verdict;
  };

  EXPECT_TRUE(s.Start(nullptr, 1));
  EXPECT_FALSE(s.Start(nullptr, 2));  // only an idle script starts
  s.RestartTimer();
  EXPECT_FALSE(s.TimedOut(2000, t0 + 2000));
  EXPECT_TRUE(s.TimedOut(2000, t0 + 2001));

  // A handler that does not touch the next state keeps the state and the clock.
  loop.Advance(1500);
  s.scriptPolled(loop.TickCount());
  EXPECT_EQ(s.State(), 1);
  EXPECT_TRUE(s.TimedOut(1000, loop.TickCount() + 1));
  // ScriptRestartTimer restarts the clock; ScriptStay keeps everything.
  verdict = ScriptRestartTimer;
  s.scriptPolled(loop.TickCount());
  EXPECT_EQ(s.State(), 1);
  EXPECT_FALSE(s.TimedOut(2000, loop.TickCount() + 2000));
  verdict = ScriptStay;
  s.scriptPolled(loop.TickCount());
  EXPECT_EQ(s.State(), 1);
  verdict = 2;
  s.scriptPolled(loop.TickCount());
  EXPECT_EQ(s.State(), 2);
  EXPECT_TRUE(s.finished.empty());

  // A pending abort request turns success and failure into ScriptAborted.
  s.RequestAbort();
  verdict = ScriptDone;
  s.scriptPolled(loop.TickCount());
  EXPECT_EQ(s.State(), ScriptAborted);
  EXPECT_EQ(s.finished, std::vector<int32_t>{ScriptAborted});
  s.scriptPolled(loop.TickCount());  // an ended script runs nothing
  EXPECT_EQ(s.finished.size(), 1u);
  EXPECT_FALSE(s.Start(nullptr, 1));  // not yet acknowledged
  s.Acknowledge();
  EXPECT_TRUE(s.Start(nullptr, 1));
  EXPECT_FALSE(s.AbortRequested());  // a new start forgets the old request
  verdict = ScriptFailed;
  s.scriptPolled(loop.TickCount());
  EXPECT_EQ(s.finished, (std::vector<int32_t>{ScriptAborted, ScriptFailed}));
}

TEST(ScriptEngine, SubScriptsAndNestedPolls) {
  TestLoop loop(ui::HeadlessLoop::Clock::Virtual);
  TestScript parent, child, other;

  // The parent starts its sub-script in its handler and sleeps until the sub-script has ended.
  parent.handler = [&](int32_t state, int32_t sub, int32_t& next, uint32_t) {
    if (state == 1 && sub == 0) child.Start(&parent, 1);
    if (sub == ScriptDone) next = 2;
  };
  parent.Start(nullptr, 1);
  parent.scriptPolled(0);
  child.scriptPolled(0);  // the child stays running
  parent.scriptPolled(0);
  EXPECT_EQ(parent.subResults.size(), 1u);
  child.handler = [](int32_t, int32_t, int32_t& next, uint32_t) { next = ScriptDone; };
  child.scriptPolled(0);
  parent.scriptPolled(0);
  EXPECT_EQ(parent.subResults, (std::vector<int32_t>{0, ScriptDone}));
  EXPECT_EQ(parent.State(), 2);
  EXPECT_EQ(child.State(), ScriptIdle);  // acknowledged by its parent
  EXPECT_FALSE(parent.IsWaiting());

  // A nested poll (a handler's message box lets the loop poll) never runs the handler twice.
  int depth = 0, maxDepth = 0;
  parent.handler = [&](int32_t, int32_t, int32_t&, uint32_t) {
    maxDepth = std::max(maxDepth, ++depth);
    parent.scriptPolled(0);
    --depth;
  };
  parent.scriptPolled(0);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_TRUE(loop.Boxes().empty());

  // Internal faults are shown and the program goes on: two sub-scripts for one parent (the newer
  // one wins), a sub-script acknowledged behind its parent's back, a state without an entry.
  parent.handler = nullptr;
  child.handler = nullptr;
  child.Start(&parent, 1);
  loop.AnswerNextBox(ui::IDOK);
  other.Start(&parent, 1);
  ASSERT_EQ(loop.Boxes().size(), 1u);
  EXPECT_EQ(loop.Boxes()[0].text, "Startujes service 2x");
  EXPECT_EQ(loop.Boxes()[0].flags & ui::MB_ICONMASK, ui::MB_ICONERROR);
  EXPECT_EQ(parent.Sub(), &other);
  other.Acknowledge();  // not by the parent
  const size_t callsBefore = parent.subResults.size();
  loop.AnswerNextBox(ui::IDOK);
  parent.scriptPolled(0);
  ASSERT_EQ(loop.Boxes().size(), 2u);
  EXPECT_EQ(loop.Boxes()[1].text, "Service skoncil nejak divne");
  EXPECT_EQ(parent.Sub(), nullptr);
  EXPECT_EQ(parent.subResults.size(), callsBefore);  // still asleep

  TestScript lost;
  lost.Start(nullptr, 3);
  loop.AnswerNextBox(ui::IDOK);
  loop.AnswerNextBox(ui::IDOK);
  lost.scriptPolled(0);
  lost.scriptPolled(0);
  ASSERT_EQ(loop.Boxes().size(), 4u);
  EXPECT_EQ(loop.Boxes()[3].caption, "Internal Error");
  EXPECT_EQ(loop.Boxes()[3].text, "VGeneralScript::scriptPolled: State description not found");
  EXPECT_EQ(lost.State(), 3);
}

// A dead line: a running script and the sub-script it waits for end failed at their next polls
// without running their handlers (no retry goes out); an idle script is not touched and a
// restarted one runs normally again.
TEST(ScriptEngine, AFailRequestEndsTheScriptAndItsSubWithoutTheirHandlers) {
  TestLoop loop(ui::HeadlessLoop::Clock::Virtual);
  TestScript parent, sub, idle;
  ASSERT_TRUE(parent.Start(nullptr, 1));
  ASSERT_TRUE(sub.Start(&parent, 1));
  idle.RequestFail();
  EXPECT_FALSE(idle.FailRequested());

  parent.RequestFail();
  EXPECT_TRUE(sub.FailRequested());
  sub.scriptPolled(loop.TickCount());
  parent.scriptPolled(loop.TickCount());
  EXPECT_EQ(sub.finished, std::vector<int32_t>{ScriptFailed});
  EXPECT_EQ(parent.finished, std::vector<int32_t>{ScriptFailed});
  EXPECT_TRUE(sub.subResults.empty());
  EXPECT_TRUE(parent.subResults.empty());
  EXPECT_EQ(sub.State(), ScriptIdle);  // acknowledged by its parent

  parent.Acknowledge();
  ASSERT_TRUE(parent.Start(nullptr, 1));
  EXPECT_FALSE(parent.FailRequested());
  parent.scriptPolled(loop.TickCount());
  EXPECT_EQ(parent.State(), 1);
  EXPECT_EQ(parent.subResults.size(), 1u);
}
