#pragma once
// The event loop as the program sees it: a millisecond tick count, timers, work posted from any
// thread to run on the user-interface thread, one nested pass of pending work, modal message
// boxes and file dialogs, and modal forms. Backends: the headless loop (real or virtual clock)
// and the Qt loop.

#include <cstdint>
#include <functional>
#include <string>

#include "base/ScopedGlobal.h"

namespace ui {

class Timer;
class Form;
class FileDialog;

// Message box flags and results, with the platform's codes.
enum : unsigned {
  MB_OK = 0x00,
  MB_OKCANCEL = 0x01,
  MB_YESNOCANCEL = 0x03,
  MB_YESNO = 0x04,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
  MB_TYPEMASK = 0x0F,
  MB_ICONMASK = 0xF0,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Modal results of forms (the toolkit's values).
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // Milliseconds since some fixed point, truncated to 32 bits; compare with wrap-around.
  virtual uint32_t TickCount() = 0;

  // Runs fn on the user-interface thread, after everything posted before it. Safe from any
  // thread; never runs fn inside the call.
  virtual void Post(std::function<void()> fn) = 0;

  // One nested pass: runs the work that is pending now (posted work and due timers).
  virtual void ProcessMessages() = 0;

  // A modal message box; returns the button pressed (IDOK, IDYES, ...).
  virtual int MessageBox(const std::string& caption, const std::string& text, unsigned flags) = 0;

  // Runs a file dialog modally; true when the user chose a file (FileName holds it).
  virtual bool ExecuteFileDialog(FileDialog& dialog) = 0;

  // Shows a form modally and returns its modal result once it is set.
  virtual int ShowModal(Form& form) = 0;

  // Timers tell the loop when they start or stop; the loop calls Timer::Fire when due.
  virtual void TimerChanged(Timer& timer) = 0;
  virtual void TimerDestroyed(Timer& timer) = 0;
};

// The loop of this process. The front end installs one before it builds windows; the loop that
// is installed must outlive every component that uses it.
EventLoop& Loop();
EventLoop* LoopOrNull();

struct LoopGlobal {
  using Value = EventLoop*;
  static Value Get() { return LoopOrNull(); }

 private:
  friend class ScopedGlobal<LoopGlobal>;
  static void Set(Value loop);
};
// A loop installs itself with one of these for its lifetime (the headless and Qt loops do).
using LoopScope = ScopedGlobal<LoopGlobal>;

// Wrap-around comparison of tick counts: true when a is at or after b.
inline bool TickReached(uint32_t now, uint32_t deadline) {
  return static_cast<int32_t>(now - deadline) >= 0;
}

}  // namespace ui
