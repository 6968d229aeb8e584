#include "ui/HeadlessLoop.h"

#include <time.h>

#include <algorithm>

#include "base/Cp1250.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/Timer.h"

namespace ui {

namespace {

uint64_t MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

// The button a person who does not want anything to happen presses.
int SafeAnswer(unsigned flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OK:
      return IDOK;
    case MB_YESNO:
      return IDNO;
    default:
      return IDCANCEL;
  }
}

bool AnswerFits(unsigned flags, int answer) {
  switch (flags & MB_TYPEMASK) {
    case MB_OK:
      return answer == IDOK;
    case MB_OKCANCEL:
      return answer == IDOK || answer == IDCANCEL;
    case MB_YESNO:
      return answer == IDYES || answer == IDNO;
    case MB_YESNOCANCEL:
      return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    default:
      return answer > 0;
  }
}

}  // namespace

HeadlessLoop::HeadlessLoop(Clock clock) : clock_(clock), realBase_(MonotonicMs()) {}

HeadlessLoop::~HeadlessLoop() = default;

uint32_t HeadlessLoop::Now() {
  if (clock_ == Clock::Virtual) return virtualNow_;
  return static_cast<uint32_t>(MonotonicMs());
}

uint32_t HeadlessLoop::TickCount() {
  return Now();
}

void HeadlessLoop::SetVirtualTime(uint32_t tick) {
  const uint32_t old = virtualNow_;
  virtualNow_ = tick;
  // Keep the timers' distances to their due times.
  for (auto& [timer, due] : timers_) due = tick + (due - old);
}

void HeadlessLoop::Post(std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(std::move(fn));
  }
  wake_.notify_one();
}

size_t HeadlessLoop::PendingPosts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return posted_.size();
}

// Runs the work that was posted before this call; work posted meanwhile waits for the next
// pass, so a handler that posts to itself cannot starve the loop.
bool HeadlessLoop::RunPostedOnce() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    batch.swap(posted_);
  }
  for (auto& fn : batch) fn();
  return !batch.empty();
}

bool HeadlessLoop::RunDueTimers() {
  const uint32_t now = Now();
  std::vector<Timer*> due;
  for (const auto& [timer, at] : timers_)
    if (TickReached(now, at)) due.push_back(timer);
  // Fire in order of due time (ties: creation order is not known; pointer order is stable).
  std::sort(due.begin(), due.end(),
            [&](Timer* a, Timer* b) { return static_cast<int32_t>(timers_[a] - timers_[b]) < 0; });
  bool any = false;
  for (Timer* t : due) {
    auto it = timers_.find(t);
    if (it == timers_.end() || !TickReached(now, it->second)) continue;  // gone or rescheduled
    // The next tick keeps the timer's beat: it counts from when this one was due, not from
    // when it ran, so a late tick does not push every later one back. A timer that fell a
    // whole period or more behind does not catch up either: it skips to its next beat.
    const uint32_t interval = std::max<uint32_t>(1, t->Interval());
    const uint32_t late = now - it->second;
    it->second += interval * (late / interval + 1);
    ++firings_;
    any = true;
    t->Fire();
  }
  return any;
}

std::optional<uint32_t> HeadlessLoop::NextDue() {
  std::optional<uint32_t> next;
  const uint32_t now = Now();
  for (const auto& [timer, at] : timers_) {
    if (!next || static_cast<int32_t>(at - *next) < 0) next = at;
  }
  if (next && static_cast<int32_t>(*next - now) < 0) next = now;
  return next;
}

void HeadlessLoop::ProcessMessages() {
  RunPostedOnce();
  RunDueTimers();
}

void HeadlessLoop::RunPending() {
  for (int guard = 0; guard < 100000; ++guard) {
    const bool posted = RunPostedOnce();
    const bool fired = RunDueTimers();
    if (!posted && !fired) return;
  }
}

void HeadlessLoop::WaitForWork(uint32_t maxMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!posted_.empty() || quit_) return;
  wake_.wait_for(lock, std::chrono::milliseconds(maxMs),
                 [this] { return !posted_.empty() || quit_; });
}

void HeadlessLoop::Advance(uint32_t ms) {
  if (clock_ == Clock::Real) {
    RunUntil([] { return false; }, ms);
    return;
  }
  const uint32_t target = virtualNow_ + ms;
  RunPending();
  while (true) {
    const auto next = NextDue();
    if (!next || static_cast<int32_t>(*next - target) > 0) break;
    if (static_cast<int32_t>(*next - virtualNow_) > 0) virtualNow_ = *next;
    RunPending();
  }
  virtualNow_ = target;
  RunPending();
}

bool HeadlessLoop::RunUntil(const std::function<bool()>& pred, uint32_t timeoutMs) {
  const uint32_t start = Now();
  const uint32_t deadline = start + timeoutMs;
  while (true) {
    RunPending();
    if (pred()) return true;
    const uint32_t now = Now();
    if (TickReached(now, deadline)) return pred();
    if (clock_ == Clock::Virtual) {
      // Step to the next timer or by 1 ms; work posted by other threads is picked up between
      // steps (a short real wait keeps such tests from spinning).
      const auto next = NextDue();
      uint32_t step = 1;
      if (next && static_cast<int32_t>(*next - now) > 0) step = *next - now;
      step = std::min(step, deadline - now);
      if (!next) WaitForWork(1);
      virtualNow_ = now + step;
    } else {
      uint32_t wait = deadline - now;
      if (const auto next = NextDue()) wait = std::min(wait, *next - now);
      WaitForWork(wait);
    }
  }
}

void HeadlessLoop::Run() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = false;
  }
  while (true) {
    RunPending();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (quit_) return;
    }
    uint32_t wait = 1000;
    if (const auto next = NextDue()) wait = std::min(wait, *next - Now());
    if (clock_ == Clock::Virtual) {
      virtualNow_ += std::max<uint32_t>(wait, 1);
    } else {
      WaitForWork(wait);
    }
  }
}

void HeadlessLoop::Quit() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
}

void HeadlessLoop::TimerChanged(Timer& timer) {
  if (timer.Enabled() && timer.Interval() > 0) {
    timers_[&timer] = Now() + timer.Interval();
  } else {
    timers_.erase(&timer);
  }
}

void HeadlessLoop::TimerDestroyed(Timer& timer) {
  timers_.erase(&timer);
}

// ---- dialogs ----

void HeadlessLoop::AnswerNextBox(int answer) {
  boxAnswers_.push_back(answer);
}

int HeadlessLoop::UnexpectedBoxes() const {
  return static_cast<int>(
      std::count_if(boxes_.begin(), boxes_.end(), [](const BoxCall& b) { return !b.expected; }));
}

int HeadlessLoop::MessageBox(const std::string& caption, const std::string& text, unsigned flags) {
  BoxCall call{caption, text, flags, 0, true};
  if (!boxAnswers_.empty()) {
    call.answer = boxAnswers_.front();
    boxAnswers_.pop_front();
  } else if (boxHandler_) {
    call.answer = boxHandler_(call);
  }
  if (call.answer == 0 || !AnswerFits(flags, call.answer)) {
    call.expected = false;
    call.answer = SafeAnswer(flags);
  }
  boxes_.push_back(call);
  if (!call.expected && unexpectedHook_)
    unexpectedHook_("message box '" + Cp1250ToUtf8(caption) + "': " + Cp1250ToUtf8(text));
  return call.answer;
}

int HeadlessLoop::UnexpectedFileDialogs() const {
  return static_cast<int>(std::count_if(fileDialogs_.begin(), fileDialogs_.end(),
                                        [](const FileDialogCall& f) { return !f.expected; }));
}

void HeadlessLoop::AnswerNextFileDialog(std::optional<std::string> path) {
  fileAnswers_.push_back(std::move(path));
}

bool HeadlessLoop::ExecuteFileDialog(FileDialog& dialog) {
  FileDialogCall call;
  call.save = dialog.DialogKind() == FileDialog::Kind::Save;
  call.title = dialog.Title();
  call.filter = dialog.Filter();
  call.initialDir = dialog.InitialDir();
  call.fileName = dialog.FileName();
  call.defaultExt = dialog.DefaultExt();
  if (!fileAnswers_.empty()) {
    call.answer = fileAnswers_.front();
    fileAnswers_.pop_front();
  } else if (fileHandler_) {
    call.answer = fileHandler_(call);
  } else {
    call.expected = false;
  }
  fileDialogs_.push_back(call);
  if (!call.expected && unexpectedHook_)
    unexpectedHook_(std::string(call.save ? "save" : "open") + " file dialog '" +
                    Cp1250ToUtf8(call.title) + "'");
  if (!call.answer) return false;
  dialog.SetFileName(*call.answer);
  return true;
}

void HeadlessLoop::OnNextModal(ModalHandler handler) {
  modalQueue_.push_back(std::move(handler));
}

int HeadlessLoop::ShowModal(Form& form) {
  ModalHandler handler;
  if (!modalQueue_.empty()) {
    handler = std::move(modalQueue_.front());
    modalQueue_.pop_front();
  } else {
    handler = modalHandler_;
  }
  if (handler) handler(form);
  if (form.ModalResult() == mrNone) {
    RunUntil([&form] { return form.ModalResult() != mrNone; }, modalLimitMs_);
  }
  if (form.ModalResult() == mrNone) {
    ++unexpectedModals_;
    form.SetModalResult(mrCancel);
    if (unexpectedHook_) unexpectedHook_("modal form " + form.Name());
  }
  return form.ModalResult();
}

}  // namespace ui
