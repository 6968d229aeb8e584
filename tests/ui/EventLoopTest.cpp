#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/TestLoop.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/HeadlessLoop.h"
#include "ui/Timer.h"

using namespace ui;

TEST(HeadlessLoop, VirtualTimersFireInOrderWithoutCatchingUp) {
  TestLoop loop(HeadlessLoop::Clock::Virtual);
  loop.SetVirtualTime(0xFFFFFFF0u);  // across the 32-bit wrap
  Component owner(nullptr);
  auto* fast = new Timer(&owner, "fast");
  auto* slow = new Timer(&owner, "slow");
  std::vector<std::pair<char, uint32_t>> fired;
  fast->SetInterval(10);
  slow->SetInterval(25);
  fast->SetOnTimer([&](Timer&) { fired.push_back({'f', loop.TickCount()}); });
  slow->SetOnTimer([&](Timer&) { fired.push_back({'s', loop.TickCount()}); });
  loop.Advance(50);
  const uint32_t t0 = 0xFFFFFFF0u;
  const std::vector<std::pair<char, uint32_t>> expected = {
      {'f', t0 + 10}, {'s', t0 + 25}, {'f', t0 + 20}, {'f', t0 + 30},
      {'f', t0 + 40}, {'f', t0 + 50}, {'s', t0 + 50}};
  // Order by time; timers due at the same tick may fire in either order.
  ASSERT_EQ(fired.size(), expected.size());
  for (size_t i = 1; i < fired.size(); ++i)
    EXPECT_TRUE(TickReached(fired[i].second, fired[i - 1].second));
  EXPECT_EQ(std::count_if(fired.begin(), fired.end(), [](auto& p) { return p.first == 'f'; }), 5);
  EXPECT_TRUE(TickReached(loop.TickCount(), t0 + 50));

  fast->SetEnabled(false);
  delete slow;  // a destroyed timer never fires again
  fired.clear();
  loop.Advance(100);
  EXPECT_TRUE(fired.empty());
}

TEST(HeadlessLoop, ATimerThatDisablesItselfOrNestsProcessMessagesIsSafe) {
  TestLoop loop(HeadlessLoop::Clock::Virtual);
  Component owner(nullptr);
  auto* t = new Timer(&owner);
  t->SetInterval(10);
  int depth = 0, maxDepth = 0, ticks = 0;
  t->SetOnTimer([&](Timer&) {
    ++ticks;
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    loop.ProcessMessages();  // nested pass: not due again yet
    --depth;
    if (ticks == 3) delete t;
  });
  loop.Advance(100);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(maxDepth, 1);
}

TEST(HeadlessLoop, PostsFromOtherThreadsRunInOrderOnTheLoopThread) {
  TestLoop loop(HeadlessLoop::Clock::Real);
  const auto uiThread = std::this_thread::get_id();
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::vector<int>> seen(kThreads);
  std::atomic<int> wrongThread{0};
  int total = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i)
        loop.Post([&, t, i] {
          if (std::this_thread::get_id() != uiThread) ++wrongThread;
          seen[t].push_back(i);
          ++total;
        });
    });
  }
  EXPECT_TRUE(loop.RunUntil([&] { return total == kThreads * kEach; }, 10000));
  for (auto& th : threads) th.join();
  loop.RunPending();
  EXPECT_EQ(wrongThread.load(), 0);
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), static_cast<size_t>(kEach));
    for (int i = 0; i < kEach; ++i) EXPECT_EQ(seen[t][i], i);
  }
}

TEST(HeadlessLoop, RealClockRunUntilWakesForPostsAndQuitStopsRun) {
  TestLoop loop(HeadlessLoop::Clock::Real);
  bool done = false;
  std::thread poster([&] { loop.Post([&] { done = true; }); });
  EXPECT_TRUE(loop.RunUntil([&] { return done; }, 5000));
  poster.join();
  std::thread quitter([&] { loop.Post([&] { loop.Quit(); }); });
  loop.Run();
  quitter.join();
  EXPECT_FALSE(loop.RunUntil([] { return false; }, 20));
}

TEST(HeadlessLoop, MessageBoxesAreScriptedRecordedAndUnexpectedOnesCounted) {
  HeadlessLoop loop(HeadlessLoop::Clock::Virtual);
  loop.AnswerNextBox(IDYES);
  EXPECT_EQ(Loop().MessageBox("KX2 Init", "Save?", MB_YESNOCANCEL | MB_ICONQUESTION), IDYES);
  // Unscripted: the safe button, counted.
  EXPECT_EQ(Loop().MessageBox("KX2 Init", "Failed", MB_OK | MB_ICONERROR), IDOK);
  EXPECT_EQ(Loop().MessageBox("KX2 Init", "Newer?", MB_YESNO | MB_ICONWARNING), IDNO);
  EXPECT_EQ(Loop().MessageBox("KX2 Init", "Save?", MB_YESNOCANCEL), IDCANCEL);
  // An answer that does not fit the buttons is not taken.
  loop.AnswerNextBox(IDYES);
  EXPECT_EQ(Loop().MessageBox("KX2 Init", "Done", MB_OK), IDOK);
  ASSERT_EQ(loop.Boxes().size(), 5u);
  EXPECT_EQ(loop.Boxes()[1].flags & MB_ICONMASK, MB_ICONERROR);
  EXPECT_EQ(loop.UnexpectedBoxes(), 4);

  loop.ClearBoxes();
  loop.SetBoxHandler(
      [](const HeadlessLoop::BoxCall& call) { return call.text == "Newer?" ? IDYES : 0; });
  EXPECT_EQ(Loop().MessageBox("c", "Newer?", MB_YESNO), IDYES);
  EXPECT_EQ(loop.UnexpectedBoxes(), 0);
}

TEST(HeadlessLoop, FileDialogsAreAnsweredFromTheScript) {
  HeadlessLoop loop(HeadlessLoop::Clock::Virtual);
  Component owner(nullptr);
  FileDialog save(&owner, "SaveDialog1", FileDialog::Kind::Save);
  save.SetFilter("Configuration (*.eep)|*.eep|All files|*.*");
  save.SetInitialDir("/home/u/Documents/Qel/KX2 Init/");
  save.SetFileName("KX2 Init.eep");
  loop.AnswerNextFileDialog(std::string("/tmp/a.eep"));
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), "/tmp/a.eep");
  EXPECT_FALSE(save.Execute());  // unscripted: cancelled
  ASSERT_EQ(loop.FileDialogs().size(), 2u);
  EXPECT_TRUE(loop.FileDialogs()[0].save);
  EXPECT_EQ(loop.FileDialogs()[0].fileName, "KX2 Init.eep");
  EXPECT_FALSE(loop.FileDialogs()[1].expected);
  const auto entries = save.FilterEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].description, "All files");
  EXPECT_EQ(entries[1].mask, "*.*");
}

TEST(HeadlessLoop, StrictModeReportsEachUnexpectedDialogAsItHappens) {
  HeadlessLoop loop(HeadlessLoop::Clock::Virtual);
  std::vector<std::string> reported;
  loop.SetStrict([&](const std::string& what) { reported.push_back(what); });
  Application app;
  Form* dialog = new Form(&app, "FormOptions");
  FileDialog openDialog(&app, "OpenDialog1", FileDialog::Kind::Open);
  openDialog.SetTitle("Load \xE8\xED\x9A");  // Windows-1250: reported in UTF-8

  loop.AnswerNextBox(IDOK);
  Loop().MessageBox("KX2 Init", "Scripted", MB_OK);
  EXPECT_TRUE(reported.empty());
  Loop().MessageBox("KX2 Init", "P\xF8ipojit?", MB_YESNO);
  loop.SetModalLimitMs(10);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_FALSE(openDialog.Execute());
  EXPECT_EQ(reported,
            (std::vector<std::string>{"message box 'KX2 Init': Připojit?", "modal form FormOptions",
                                      "open file dialog 'Load číš'"}));
  // Answered safely and counted as without strict mode.
  EXPECT_EQ(loop.UnexpectedBoxes(), 1);
  EXPECT_EQ(loop.UnexpectedModals(), 1);
  EXPECT_EQ(loop.UnexpectedFileDialogs(), 1);

  loop.SetStrict(nullptr);
  EXPECT_FALSE(loop.Strict());
  Loop().MessageBox("KX2 Init", "Quiet", MB_OK);
  EXPECT_EQ(reported.size(), 3u);
}

TEST(HeadlessLoop, TheTestsLoopFailsTheTestOnAnUnexpectedBox) {
  TestLoop loop;
  EXPECT_TRUE(loop.Strict());
  EXPECT_NONFATAL_FAILURE(Loop().MessageBox("KX2 Init", "DeviceDead", MB_OK | MB_ICONERROR),
                          "unexpected message box 'KX2 Init': DeviceDead");
  loop.AnswerNextBox(IDOK);
  Loop().MessageBox("KX2 Init", "Expected", MB_OK);
}
