#pragma once
// The event that tells both port threads to end: manual reset, created not signalled; once
// signalled it stays signalled. Its descriptor is readable while signalled, so a thread waits
// for it in the same poll(2) as for the port.

class TShutdownEvent {
 public:
  TShutdownEvent();
  ~TShutdownEvent();
  TShutdownEvent(const TShutdownEvent&) = delete;
  TShutdownEvent& operator=(const TShutdownEvent&) = delete;

  bool Valid() const { return fd_ >= 0; }
  // errno of a failed creation.
  int CreateError() const { return error_; }
  int Fd() const { return fd_; }

  void Signal();
  // Tested without waiting.
  bool IsSignalled() const;

 private:
  int fd_ = -1;
  int error_ = 0;
};
