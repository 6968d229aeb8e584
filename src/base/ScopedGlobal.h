#pragma once
// The program keeps a handful of values process-wide: the event loop, the application, the text
// source of the active language, the date and number formats, the serial log's file name. Each is
// installed only through a scope object that puts the previous value back when the scope ends,
// however it ends (return, exception, a test's failed assertion), so nothing can be left
// installed that points to an object already gone. Scopes nest and must end in the reverse order
// of their start, as C++ scopes do.
//
// A global is described by a small struct: its Value type, a public Get, and a private Set that
// only the scope may call, so there is no way to change the value by hand.

#include <utility>

template <class Global>
class ScopedGlobal {
 public:
  using Value = typename Global::Value;

  explicit ScopedGlobal(Value value) : previous_(Global::Get()) { Global::Set(std::move(value)); }
  ~ScopedGlobal() { Global::Set(std::move(previous_)); }
  ScopedGlobal(const ScopedGlobal&) = delete;
  ScopedGlobal& operator=(const ScopedGlobal&) = delete;

  // What comes back when this scope ends.
  const Value& Previous() const { return previous_; }

 private:
  Value previous_;
};
