#include "protocol/VGeneralScript.h"

#include <cstdio>

#include "ui/EventLoop.h"

void ShowScriptDiagnostic(const char* caption, const char* text) {
  if (ui::EventLoop* loop = ui::LoopOrNull()) {
    loop->MessageBox(caption, text, ui::MB_OK | ui::MB_ICONERROR);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", caption, text);
}

bool VGeneralScript::Start(VGeneralScript* parent, int32_t initialState) {
  if (state_ != ScriptIdle) return false;
  state_ = initialState;
  if (parent != nullptr) parent->AttachSub(this);
  abortRequested_ = false;
  failRequested_ = false;
  if (onStarted) onStarted();
  return true;
}

void VGeneralScript::RequestFail() {
  if (!IsRunning()) return;
  failRequested_ = true;
  if (sub_ != nullptr) sub_->RequestFail();
}

void VGeneralScript::RestartTimer() {
  startTick_ = ui::Loop().TickCount();
}

void VGeneralScript::AttachSub(VGeneralScript* sub) {
  if (sub_ != nullptr) ShowScriptDiagnostic("Error", "Startujes service 2x");
  sub_ = sub;
  waitingForSub_ = true;
}

void VGeneralScript::DetachSub() {
  if (sub_ == nullptr) return;
  sub_->Acknowledge();
  sub_ = nullptr;
}

void VGeneralScript::scriptPolled(uint32_t now) {
  int32_t subResult = 0;
  if (sub_ != nullptr) {
    const int32_t subState = sub_->State();
    if (subState == ScriptIdle) {
      // Somebody else acknowledged our sub-script; the link cannot be trusted any more.
      ShowScriptDiagnostic("Error", "Service skoncil nejak divne");
      sub_ = nullptr;
    } else if (sub_->HasEnded()) {
      waitingForSub_ = false;
      subResult = subState;
      DetachSub();
    }
  }

  if (inPoll_) return;
  inPoll_ = true;

  if (!waitingForSub_ && state_ > 0 && failRequested_) {
    failRequested_ = false;
    state_ = ScriptFailed;
    OnFinished();
  } else if (!waitingForSub_ && state_ > 0) {
    int32_t next = state_;
    const StateDescription* entry = nullptr;
    for (const StateDescription& d : GetStates()) {
      if (d.state == state_) {
        entry = &d;
        break;
      }
    }
    if (entry == nullptr) {
      ShowScriptDiagnostic("Internal Error",
                           "VGeneralScript::scriptPolled: State description not found");
    } else {
      entry->handler(*this, subResult, next, now);
      // A pending abort request cannot turn into success or failure.
      if (abortRequested_ && (next == ScriptDone || next == ScriptFailed)) next = ScriptAborted;
      if (next == ScriptRestartTimer) {
        RestartTimer();
      } else if (next != ScriptStay) {
        state_ = next;
      }
      if (HasEnded()) OnFinished();
    }
  }

  inPoll_ = false;
}
