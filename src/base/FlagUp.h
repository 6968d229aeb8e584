#pragma once
// Holds a flag up for a scope and lets it down however the scope is left, a handler's exception
// included: a flag left up would lock out whatever it guards for the rest of the program's life.

class FlagUp {
 public:
  explicit FlagUp(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagUp() { flag_ = false; }
  FlagUp(const FlagUp&) = delete;
  FlagUp& operator=(const FlagUp&) = delete;

 private:
  bool& flag_;
};
