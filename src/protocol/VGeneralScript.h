#pragma once
// The script engine. Every exchange with the unit is a small state machine advanced by polling,
// never by blocking: a script names its states in a table, and each poll runs the handler of the
// current state once and applies its verdict. A script may run another as its sub-script (every
// command waits for its reply through the line reader) and sleeps until that one has ended; the
// sub-script's end state is then handed to the parent's handler.
//
// An ended script keeps its end state until it is acknowledged (by its parent, or by the device
// module for a top-level script); until then it cannot be started again.

#include <cstdint>
#include <functional>
#include <span>

// Script states (positive: running in that state of the table) and handler verdicts.
enum : int32_t {
  ScriptIdle = 0,
  ScriptDone = -1,
  ScriptFailed = -2,
  ScriptAborted = -3,
  ScriptRestartTimer = -4,  // verdict only: same state, time-out clock starts again
  ScriptStay = -5,          // verdict only: same state
};

class VGeneralScript;

// Handler of one state: subResult is the end state of a sub-script that ended since the last call
// (0 when none); next starts out as the current state; now is the poll's tick count.
using StateHandler = void (*)(VGeneralScript& script, int32_t subResult, int32_t& next,
                              uint32_t now);

struct StateDescription {
  int32_t state;
  StateHandler handler;
  int32_t reserved1;
  int32_t reserved2;
};

// Turns a member function of a concrete script into a table handler.
template <class S, void (S::*Member)(int32_t, int32_t&, uint32_t)>
void ScriptHandler(VGeneralScript& script, int32_t subResult, int32_t& next, uint32_t now) {
  (static_cast<S&>(script).*Member)(subResult, next, now);
}

class VGeneralScript {
 public:
  VGeneralScript() = default;
  virtual ~VGeneralScript() = default;
  VGeneralScript(const VGeneralScript&) = delete;
  VGeneralScript& operator=(const VGeneralScript&) = delete;

  virtual std::span<const StateDescription> GetStates() const = 0;
  // Only an idle script starts; a parent given here sleeps until this script has ended. Does not
  // start the time-out clock.
  virtual bool Start(VGeneralScript* parent, int32_t initialState);
  // Runs each time the script starts (the module wants its polls then).
  std::function<void()> onStarted;
  // Runs once whenever the script reaches an end state.
  virtual void OnFinished() = 0;

  // One poll. Nested calls (a handler showing a message box lets the loop poll again) only pick
  // up an ended sub-script; the handler never runs twice at the same time.
  void scriptPolled(uint32_t now);

  int32_t State() const { return state_; }
  bool IsRunning() const { return state_ > 0; }
  bool HasEnded() const {
    return state_ == ScriptDone || state_ == ScriptFailed || state_ == ScriptAborted;
  }
  // Acknowledges an ended script: it becomes idle and may be started again.
  void Acknowledge() { state_ = ScriptIdle; }

  bool IsWaiting() const { return sub_ != nullptr; }
  bool WaitingForSub() const { return waitingForSub_; }
  VGeneralScript* Sub() const { return sub_; }
  void RequestAbort() { abortRequested_ = true; }
  // The line this script talks over is gone: at its next poll a running script ends failed
  // without running its handler (no retries, no messages of its own), and so does the
  // sub-script it waits for.
  void RequestFail();
  bool FailRequested() const { return failRequested_; }
  bool AbortRequested() const { return abortRequested_; }

  void RestartTimer();
  // Whether more than limit ms passed since the clock was started, in unsigned 32-bit arithmetic
  // so that the tick counter may wrap.
  bool TimedOut(uint32_t limit, uint32_t now) const { return now - startTick_ > limit; }

  // Called on the parent.
  void AttachSub(VGeneralScript* sub);
  void DetachSub();

 protected:
  // For OnFinished: turns the end state into another end state (a read that yields nothing).
  void ForceEndState(int32_t endState) { state_ = endState; }

 private:
  bool waitingForSub_ = false;
  bool abortRequested_ = false;
  bool failRequested_ = false;
  VGeneralScript* sub_ = nullptr;
  bool inPoll_ = false;
  uint32_t startTick_ = 0;
  int32_t state_ = ScriptIdle;
};

// Internal consistency diagnostics of the engine: shown untranslated with the error icon, and the
// program goes on.
void ShowScriptDiagnostic(const char* caption, const char* text);
