#include "serial/TQlsComm32.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "serial/CommsLog.h"
#include "serial/PortNames.h"
#include "serial/TCommNotifier.h"
#include "serial/TCommThread.h"
#include "serial/TReadThread.h"
#include "serial/TShutdownEvent.h"
#include "serial/TWriteThread.h"
#include "ui/Controls.h"
#include "ui/EventLoop.h"

using serial::LogDebugInfo;
using serial::LogDebugLastError;

namespace {

constexpr uint32_t kThreadExitWaitMs = 10000;

// Calls a handler when one is assigned; false when the call destroyed the component (its
// notifier was detached), so the caller must not touch it any more.
template <class Handler, class... Args>
bool Fire(const std::shared_ptr<TCommNotifier>& guard, const Handler& handler, Args&&... args) {
  if (handler) handler(std::forward<Args>(args)...);
  return guard->Owner() != nullptr;
}

}  // namespace

TQlsComm32::StateChangeEvent& TQlsComm32::StateChangeEvent::operator=(TEventChangeState handler) {
  handler_ = std::move(handler);
  owner_.NotifyWatcher();
  return *this;
}

TQlsComm32::TQlsComm32(std::string name)
    : name_(std::move(name)), notifier_(TCommNotifier::Create(ui::LoopOrNull(), this)) {}

TQlsComm32::~TQlsComm32() {
  StopComm();
  notifier_->Detach();
}

void TQlsComm32::Loaded() {
  loading_ = false;
  if (autoReconnect_) StartComm();
  NotifyWatcher();
}

void TQlsComm32::SetAutoReconnect(bool on) {
  const bool wasOn = autoReconnect_;
  autoReconnect_ = on;
  // While loading, Loaded() opens the port.
  if (on && !wasOn && !loading_) StartComm();
}

void TQlsComm32::SetCommPort(const std::string& name) {
  if (name == commPort_) return;
  const bool reopen = !loading_ && (Connected() || autoReconnect_);
  StopComm();
  commPort_ = name;
  if (reopen) StartComm();
}

#define KX2_LINE_SETTER(Setter, Type, field) \
  void TQlsComm32::Setter(Type value) {      \
    if (settings_.field == value) return;    \
    settings_.field = value;                 \
    if (loading_) return;                    \
    if (Connected()) {                       \
      UpdateDCB();                           \
    } else if (autoReconnect_) {             \
      StartComm();                           \
    }                                        \
  }
KX2_LINE_SETTER(SetBaudRate, TBaudRate, baudRate)
KX2_LINE_SETTER(SetParity, TParity, parity)
KX2_LINE_SETTER(SetDataBits, TDataBits, dataBits)
KX2_LINE_SETTER(SetStopBits, TStopBits, stopBits)
#undef KX2_LINE_SETTER

void TQlsComm32::SetEventChar(std::optional<uint8_t> ch) {
  eventChar_ = ch;
  if (link_) link_->eventChar.store(ch ? *ch : TCommLink::kNoEventChar);
}

TCommState TQlsComm32::ConnectionState() const {
  switch (handle_) {
    case Handle::None:
      return CommStateDisconnected;
    case Handle::Invalid:
      return CommStateFailed;
    case Handle::Open:
      break;
  }
  return CommStateConnected;
}

bool TQlsComm32::OpenFailed(int error) {
  char buffer[256];
  // The GNU strerror_r returns the text, which may or may not live in the buffer.
  const char* text = strerror_r(error, buffer, sizeof buffer);
  openFailure_ = text != nullptr ? text : "";
  ++openFailures_;
  handle_ = Handle::Invalid;
  NotifyWatcher();
  return false;
}

bool TQlsComm32::StartComm() {
  if (Connected()) {
    suppressNotifications_ = true;
    StopComm();
    suppressNotifications_ = false;
  }

  const std::string path = serial::DevicePathOf(commPort_);
  // Non-blocking: the threads wait in poll(2), where the shutdown event can always reach them.
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    LogDebugLastError(error, "Unable to open " + path + ": ");
    return OpenFailed(error);
  }
  // Only a terminal carries line settings; anything else is not a port.
  if (!isatty(fd)) {
    close(fd);
    return OpenFailed(ENOTTY);
  }
  // Exclusive use: TIOCEXCL refuses later opens by other programs (not by root); the lock
  // refuses a second instance of this program even then.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
    // Whichever refused, the port is in use.
    LogDebugLastError(errno, "Port in use " + path + ": ");
    close(fd);
    return OpenFailed(EBUSY);
  }
  handle_ = Handle::Open;
  openFailure_.clear();
  fd_ = fd;
  noModemLines_ = false;
  UpdateDCB();

  shutdown_ = std::make_unique<TShutdownEvent>();
  if (!shutdown_->Valid()) {
    LogDebugLastError(shutdown_->CreateError(), "Unable to CreateEvent: ");
    StopComm();
    return false;
  }
  link_ = std::make_unique<TCommLink>();
  link_->fd = fd_;
  link_->shutdown = shutdown_.get();
  sessionNotifier_ = TCommNotifier::Create(notifier_->Loop(), this);
  link_->notifier = sessionNotifier_;
  link_->eventChar.store(eventChar_ ? *eventChar_ : TCommLink::kNoEventChar);

  reader_ = std::make_unique<TReadThread>(*link_);
  try {
    reader_->Start();
  } catch (const std::system_error& e) {
    LogDebugLastError(e.code().value(), "Unable to create Read thread");
    StopComm();
    throw ECommsError("Unable to create Read thread");
  }
  writer_ = std::make_unique<TWriteThread>(*link_);
  try {
    writer_->Start();
  } catch (const std::system_error& e) {
    LogDebugLastError(e.code().value(), "Unable to create Write thread");
    StopComm();
    throw ECommsError("Unable to create Write thread");
  }

  NotifyWatcher();
  return true;
}

void TQlsComm32::StopComm() {
  if (handle_ == Handle::Invalid) handle_ = Handle::None;
  LogDebugInfo("Stopping the Comm");
  if (shutdown_) shutdown_->Signal();

  if (reader_) {
    LogDebugInfo("Closing Read Thread ");
    tcflush(fd_, TCIFLUSH);
    if (!reader_->WaitFor(kThreadExitWaitMs)) {
      LogDebugInfo("Read thread not exiting.  Terminating it.");
    }
    reader_->Join();  // threads cannot be killed safely: go on waiting until it has ended
    reader_.reset();
  }
  if (writer_) {
    LogDebugInfo("Closing Write Thread");
    tcflush(fd_, TCOFLUSH);
    if (!writer_->WaitFor(kThreadExitWaitMs)) {
      LogDebugInfo("Write thread not exiting.  Terminating it.");
    }
    writer_->Join();
    writer_.reset();
  }
  link_.reset();
  shutdown_.reset();
  if (sessionNotifier_) {
    sessionNotifier_->Detach();
    sessionNotifier_.reset();
  }

  if (fd_ >= 0) {
    // The exclusive flag belongs to the terminal, not to this descriptor; a pseudo-terminal
    // outlives the close, so clear it or the port could not be opened again.
    (void)ioctl(fd_, TIOCNXCL);
    close(fd_);
    fd_ = -1;
  }
  handle_ = Handle::None;
  NotifyWatcher();
}

bool TQlsComm32::WriteCommData(const void* data, uint16_t length) {
  if (!writer_) {
    LogDebugInfo("Write thread not created");
    return false;
  }
  if (!writer_->WriteComm(data, length)) {
    LogDebugInfo("Failed to Post to Write thread. ");
    return false;
  }
  return true;
}

bool TQlsComm32::WriteCommDataSlow(const void* data, uint16_t length) {
  if (!writer_) {
    LogDebugInfo("Write thread not created");
    return false;
  }
  if (!writer_->WriteCommSlow(data, length)) {
    LogDebugInfo("Failed to Post to Write thread. ");
    return false;
  }
  return true;
}

bool TQlsComm32::SetCommComboBoxIndex(ui::ComboBox& combo) const {
  const auto& items = combo.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == commPort_) {
      combo.SetItemIndex(static_cast<int>(i));
      return true;
    }
  }
  if (combo.Style() == ui::ComboStyle::DropDownList) return false;
  combo.SetItemIndex(-1);
  combo.SetComboText(commPort_);
  return true;
}

uint32_t TQlsComm32::GetModemState() {
  if (fd_ >= 0 && !noModemLines_) {
    int lines = 0;
    if (ioctl(fd_, TIOCMGET, &lines) == 0) {
      const uint32_t status = serial::ModemStatusOf(lines);
      if (!ChangeModemState(status)) return status;
    } else {
      // A pseudo-terminal has no modem lines (ENOTTY): no status, and no point in asking again
      // ten times a second.
      noModemLines_ = true;
    }
  }
  return modemStatus_;
}

void TQlsComm32::SetModemState(uint32_t status) {
  ChangeModemState(status);
}

bool TQlsComm32::ChangeModemState(uint32_t status) {
  if (status == modemStatus_) return true;
  const uint32_t changed = status ^ modemStatus_;
  modemStatus_ = status;
  const auto guard = notifier_;
  if ((changed & MS_RING_ON) && !Fire(guard, OnRing, *this, (status & MS_RING_ON) != 0)) {
    return false;
  }
  if ((changed & MS_RLSD_ON) && !Fire(guard, OnChangedRLSD, *this, (status & MS_RLSD_ON) != 0)) {
    return false;
  }
  return true;
}

void TQlsComm32::SetDTR(bool on) {
  if (fd_ < 0) return;
  int line = TIOCM_DTR;
  (void)ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line);
}

void TQlsComm32::SetRTS(bool on) {
  if (fd_ < 0) return;
  int line = TIOCM_RTS;
  (void)ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line);
}

bool TQlsComm32::UpdateDCB() {
  if (fd_ < 0) return false;
  return serial::ProgramPort(fd_, settings_);
}

int64_t TQlsComm32::ReaderCpuTimeNs() const {
  return reader_ ? reader_->CpuTimeNs() : -1;
}

uint32_t TQlsComm32::WriteCallCount() const {
  return writer_ ? writer_->WriteCalls() : 0;
}

uint32_t TQlsComm32::ReceivedPieceCount() const {
  return reader_ ? reader_->PiecesPosted() : 0;
}

void TQlsComm32::NotifyWatcher() {
  if (!suppressNotifications_) notifier_->PostStateChanged();
}

void TQlsComm32::HandleReceiveData(const uint8_t* buffer, uint16_t count) {
  if (OnReceiveData) OnReceiveData(buffer, count);
}

void TQlsComm32::HandleRequestHangup() {
  if (OnRequestHangup) OnRequestHangup(*this);
}

void TQlsComm32::HandleStateChanged() {
  // The state is read now, not when the notification was posted: quick changes may be reported
  // once, and a close followed by a reopen may report nothing.
  if (!OnStateChange) return;
  const TCommState state = ConnectionState();
  // Another failed open is news even in the same state: the user tried again, perhaps with
  // another port, and its reason may differ.
  const bool newFailure = state == CommStateFailed && openFailures_ != reportedFailures_;
  if (state == lastReported_ && !newFailure) return;
  lastReported_ = state;
  reportedFailures_ = openFailures_;
  OnStateChange(state);
}

void TQlsComm32::HandleCommEvent(uint32_t eventMask, uint32_t errorsAndModemStatus) {
  const auto guard = notifier_;
  const uint32_t modem = errorsAndModemStatus & 0xFFFF;
  if ((eventMask & EV_BREAK) && !Fire(guard, OnBreak, *this)) return;
  if ((eventMask & EV_CTS) && !Fire(guard, OnChangedCTS, *this, (modem & MS_CTS_ON) != 0)) return;
  if ((eventMask & EV_DSR) && !Fire(guard, OnChangedDSR, *this, (modem & MS_DSR_ON) != 0)) return;

  uint32_t errors = errorsAndModemStatus >> 16;
  if (errors != 0 && (eventMask & EV_ERR)) {
    const std::pair<uint32_t, const TNotifyEvent*> known[] = {
        {CE_FRAME, &OnErrorFrame},
        {CE_OVERRUN, &OnErrorOverrun},
        {CE_RXPARITY, &OnErrorParity},
        {CE_BREAK, &OnErrorBreak},
    };
    for (const auto& [bit, handler] : known) {
      if ((errors & bit) == 0) continue;
      errors &= ~bit;
      if (!Fire(guard, *handler, *this)) return;
    }
    if (errors != 0 && !Fire(guard, OnErrorOther, *this, errors)) return;
  }

  if (!ChangeModemState(modem)) return;

  if ((eventMask & EV_RXCHAR) && !Fire(guard, OnRxChar, *this)) return;
  if ((eventMask & EV_RXFLAG) && !Fire(guard, OnRxFlag, *this)) return;
  if (eventMask & EV_TXEMPTY) Fire(guard, OnTxEmpty, *this);
}
