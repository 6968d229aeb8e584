#include "serial/TCommNotifier.h"

#include "serial/TQlsComm32.h"

std::shared_ptr<TCommNotifier> TCommNotifier::Create(ui::EventLoop* loop, TQlsComm32* owner) {
  return std::shared_ptr<TCommNotifier>(new TCommNotifier(loop, owner));
}

bool TCommNotifier::Post(std::function<void(TQlsComm32&)> handle) {
  if (loop_ == nullptr) return false;
  loop_->Post([self = shared_from_this(), handle = std::move(handle)] {
    if (TQlsComm32* owner = self->owner_) handle(*owner);
  });
  return true;
}

bool TCommNotifier::PostReceiveData(std::shared_ptr<uint8_t[]> block, uint16_t count) {
  return Post([block = std::move(block), count](TQlsComm32& comm) {
    comm.HandleReceiveData(block.get(), count);
  });
}

bool TCommNotifier::PostRequestHangup() {
  return Post([](TQlsComm32& comm) { comm.HandleRequestHangup(); });
}

bool TCommNotifier::PostStateChanged() {
  return Post([](TQlsComm32& comm) { comm.HandleStateChanged(); });
}

bool TCommNotifier::PostCommEvent(uint32_t eventMask, uint32_t errorsAndModemStatus) {
  return Post([eventMask, errorsAndModemStatus](TQlsComm32& comm) {
    comm.HandleCommEvent(eventMask, errorsAndModemStatus);
  });
}

bool TCommNotifier::PostTimePoll() {
  return Post([](TQlsComm32& comm) { comm.HandleTimePoll(); });
}
