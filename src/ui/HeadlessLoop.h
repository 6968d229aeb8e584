#pragma once
// The event loop without a screen. Two clocks:
//   - Real: CLOCK_MONOTONIC; RunUntil/Run wait for posted work and timers (kx2ctl, end-to-end
//     tests against a unit on a pseudo-terminal);
//   - Virtual: time moves only when a test advances it; due timers fire in order and posted work
//     is drained deterministically.
// Message boxes, file dialogs and modal forms are answered from a script and recorded, so a test
// can assert what the program showed. An unscripted box is answered with its safe button
// (OK, Cancel or No) and counted as unexpected: a test fails on it instead of hanging. In strict
// mode each unexpected box, file dialog or modal form is also reported, as it happens, to a hook
// (the tests' hook fails the running test; this layer knows nothing of the test framework).

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/EventLoop.h"

namespace ui {

class HeadlessLoop : public EventLoop {
 public:
  enum class Clock { Real, Virtual };

  struct BoxCall {
    std::string caption;
    std::string text;
    unsigned flags = 0;
    int answer = 0;
    bool expected = true;
  };
  // Returns the button for a box, or 0 to leave it to the default answer.
  using BoxHandler = std::function<int(const BoxCall& call)>;

  struct FileDialogCall {
    bool save = false;
    std::string title;
    std::string filter;
    std::string initialDir;
    std::string fileName;
    std::string defaultExt;
    std::optional<std::string> answer;
    bool expected = true;
  };
  // Returns the chosen path, or nullopt for Cancel.
  using FileDialogHandler = std::function<std::optional<std::string>(const FileDialogCall& call)>;
  using ModalHandler = std::function<void(Form& form)>;

  // Installs itself as the process's loop for its lifetime; the loop it replaced comes back.
  explicit HeadlessLoop(Clock clock = Clock::Virtual);
  ~HeadlessLoop() override;

  uint32_t TickCount() override;
  void Post(std::function<void()> fn) override;
  void ProcessMessages() override;
  int MessageBox(const std::string& caption, const std::string& text, unsigned flags) override;
  bool ExecuteFileDialog(FileDialog& dialog) override;
  int ShowModal(Form& form) override;
  void TimerChanged(Timer& timer) override;
  void TimerDestroyed(Timer& timer) override;

  Clock GetClock() const { return clock_; }
  // Virtual clock only: the tick count to start from (to test wrap-around).
  void SetVirtualTime(uint32_t tick);

  // Runs everything that is pending now (posted work, due timers) until nothing is, without
  // moving virtual time.
  void RunPending();
  // Virtual: moves time forward by ms, firing every timer when it is due, in order. Real: runs
  // the loop for ms milliseconds.
  void Advance(uint32_t ms);
  // Runs the loop until pred() holds or timeoutMs passed (virtual or real time); returns pred().
  bool RunUntil(const std::function<bool()>& pred, uint32_t timeoutMs);
  // Real clock: runs until Quit (from a handler or another thread).
  void Run();
  void Quit();
  // Work posted and not yet run.
  size_t PendingPosts() const;

  // Scripted answers, used first to last before the handlers.
  void AnswerNextBox(int answer);
  void SetBoxHandler(BoxHandler handler) { boxHandler_ = std::move(handler); }
  const std::vector<BoxCall>& Boxes() const { return boxes_; }
  int UnexpectedBoxes() const;
  void ClearBoxes() { boxes_.clear(); }

  void AnswerNextFileDialog(std::optional<std::string> path);
  void SetFileDialogHandler(FileDialogHandler handler) { fileHandler_ = std::move(handler); }
  const std::vector<FileDialogCall>& FileDialogs() const { return fileDialogs_; }

  // A modal form is handed to the next queued handler (or the general one); the handler acts as
  // the user and sets the modal result. Without one the loop runs until the result is set,
  // at most ModalLimitMs, then closes the form with mrCancel and counts it as unexpected.
  void OnNextModal(ModalHandler handler);
  void SetModalHandler(ModalHandler handler) { modalHandler_ = std::move(handler); }
  int UnexpectedModals() const { return unexpectedModals_; }
  void SetModalLimitMs(uint32_t ms) { modalLimitMs_ = ms; }

  // Strict mode: every unexpected box, file dialog or modal form is reported to the hook with a
  // description of it ("message box 'KX2 Init': text...", UTF-8), after it has been answered
  // safely and counted. An empty hook ends strict mode.
  using UnexpectedHook = std::function<void(const std::string& what)>;
  void SetStrict(UnexpectedHook hook) { unexpectedHook_ = std::move(hook); }
  bool Strict() const { return static_cast<bool>(unexpectedHook_); }
  int UnexpectedFileDialogs() const;

  // Timer ticks fired so far (for benchmarks and tests).
  uint64_t TimerFirings() const { return firings_; }

 private:
  struct TimerEntry {
    Timer* timer;
    uint32_t due;
  };
  uint32_t Now();
  bool RunPostedOnce();
  bool RunDueTimers();
  std::optional<uint32_t> NextDue();
  void WaitForWork(uint32_t maxMs);

  Clock clock_;
  uint32_t virtualNow_ = 0;
  uint64_t realBase_ = 0;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> posted_;
  bool quit_ = false;

  std::map<Timer*, uint32_t> timers_;
  uint64_t timerGeneration_ = 0;
  uint64_t firings_ = 0;

  std::deque<int> boxAnswers_;
  BoxHandler boxHandler_;
  std::vector<BoxCall> boxes_;
  std::deque<std::optional<std::string>> fileAnswers_;
  FileDialogHandler fileHandler_;
  std::vector<FileDialogCall> fileDialogs_;
  std::deque<ModalHandler> modalQueue_;
  ModalHandler modalHandler_;
  int unexpectedModals_ = 0;
  uint32_t modalLimitMs_ = 60000;
  UnexpectedHook unexpectedHook_;
  // Last: the loop is uninstalled before anything else of it goes.
  LoopScope installed_{this};
};

}  // namespace ui
