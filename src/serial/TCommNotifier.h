#pragma once
// The way from the port threads (and the component itself) to the user-interface thread: each
// notification is posted to the event loop and handled there by the component. The notifier
// outlives the component as long as work for it is queued; once the component is gone
// (Detach), queued work does nothing, so a late notification can never reach a dead object.

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/EventLoop.h"

class TQlsComm32;

class TCommNotifier : public std::enable_shared_from_this<TCommNotifier> {
 public:
  // loop may be null (no loop installed): notifications are then dropped.
  static std::shared_ptr<TCommNotifier> Create(ui::EventLoop* loop, TQlsComm32* owner);

  // From any thread. False when the notification could not be posted.
  // block holds count bytes and one zero byte after them.
  bool PostReceiveData(std::shared_ptr<uint8_t[]> block, uint16_t count);
  bool PostRequestHangup();
  bool PostStateChanged();
  bool PostCommEvent(uint32_t eventMask, uint32_t errorsAndModemStatus);
  bool PostTimePoll();

  // User-interface thread only.
  TQlsComm32* Owner() const { return owner_; }
  ui::EventLoop* Loop() const { return loop_; }
  void Detach() { owner_ = nullptr; }

 private:
  TCommNotifier(ui::EventLoop* loop, TQlsComm32* owner) : loop_(loop), owner_(owner) {}
  bool Post(std::function<void(TQlsComm32&)> handle);

  ui::EventLoop* const loop_;
  TQlsComm32* owner_;
};
