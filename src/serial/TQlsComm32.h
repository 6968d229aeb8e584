#pragma once
// The serial port component: owns one port, opens and closes it by name, applies the line
// settings, runs a reader and a writer thread for all port I/O and turns what they observe into
// events on the user-interface thread (through the event loop installed when the component is
// built). Only StopComm blocks the caller, until both threads have ended.
//
// A new component is loading its stored properties until Loaded() is called: setters then only
// store. Loaded() opens the port when AutoReconnect is on and reports the state.
//
// Every public member and every event runs on the user-interface thread. The event loop installed
// when the component is built (ui::LoopOrNull()) receives its notifications and must outlive it;
// notifications still queued when the component is destroyed do nothing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "serial/CommTypes.h"
#include "serial/LineSettings.h"

namespace ui {
class ComboBox;
}

class TCommNotifier;
struct TCommLink;
class TReadThread;
class TWriteThread;
class TShutdownEvent;

class TQlsComm32 {
 public:
  // The state-change event: assigning a handler posts a state notification, so that the new
  // handler learns the current state.
  class StateChangeEvent {
   public:
    StateChangeEvent& operator=(TEventChangeState handler);
    explicit operator bool() const { return static_cast<bool>(handler_); }
    void operator()(TCommState state) const { handler_(state); }

   private:
    friend class TQlsComm32;
    explicit StateChangeEvent(TQlsComm32& owner) : owner_(owner) {}
    StateChangeEvent(const StateChangeEvent&) = delete;
    TQlsComm32& owner_;
    TEventChangeState handler_;
  };

  explicit TQlsComm32(std::string name = "QlsComm321");
  ~TQlsComm32();
  TQlsComm32(const TQlsComm32&) = delete;
  TQlsComm32& operator=(const TQlsComm32&) = delete;

  const std::string& Name() const { return name_; }

  void Loaded();
  bool Loading() const { return loading_; }

  // Properties. Changing a line setting reprograms an open port at once, or opens a closed port
  // when AutoReconnect is on. Changing the port name of an open port (or of any port when
  // AutoReconnect is on) reopens it under the new name.
  bool AutoReconnect() const { return autoReconnect_; }
  void SetAutoReconnect(bool on);
  const std::string& CommPort() const { return commPort_; }
  void SetCommPort(const std::string& name);
  TBaudRate BaudRate() const { return settings_.baudRate; }
  void SetBaudRate(TBaudRate rate);
  TParity Parity() const { return settings_.parity; }
  void SetParity(TParity parity);
  TDataBits DataBits() const { return settings_.dataBits; }
  void SetDataBits(TDataBits bits);
  TStopBits StopBits() const { return settings_.stopBits; }
  void SetStopBits(TStopBits bits);
  // The event character of the line settings; none by default. While one is set, received
  // bytes are handed over as soon as what has been gathered ends with it, not only after the
  // line has been quiet for the inter-byte time; and OnRxFlag fires when it was received. A
  // change applies to an open port at once.
  std::optional<uint8_t> EventChar() const { return eventChar_; }
  void SetEventChar(std::optional<uint8_t> ch);

  // Opens CommPort (COMn is /dev/ttyS(n-1)) exclusively and starts both threads. False when the
  // port cannot be opened or is no terminal (state CommStateFailed). Throws ECommsError when a
  // thread cannot be created (the port is closed again first).
  bool StartComm();
  // Ends both threads and closes the port; always leaves CommStateDisconnected.
  void StopComm();
  bool Connected() const { return handle_ == Handle::Open; }
  TCommState ConnectionState() const;
  // Why the last StartComm could not open the port: the system's text for its error ("No such
  // file or directory", "Permission denied", "Device or resource busy"); empty once a port opened.
  const std::string& OpenFailure() const { return openFailure_; }

  // Copy the bytes and queue them to the writer; true when queued (also for length 0). The slow
  // form sends one byte per write with a 1 ms pause after each.
  bool WriteCommData(const void* data, uint16_t length);
  bool WriteCommDataSlow(const void* data, uint16_t length);

  // Shows CommPort in a combo box of port names: selects the equal item, else shows the name as
  // text in an editable box; false when a drop-down list has no such item.
  bool SetCommComboBoxIndex(ui::ComboBox& combo) const;

  // Modem status word; a port without modem lines (pseudo-terminal) or a closed port keeps the
  // last word.
  uint32_t GetModemState();
  bool GetCTS() { return (GetModemState() & MS_CTS_ON) != 0; }
  bool GetDSR() { return (GetModemState() & MS_DSR_ON) != 0; }
  // Stores a modem status word; a change of RING or RLSD fires OnRing or OnChangedRLSD.
  void SetModemState(uint32_t status);
  void SetDTR(bool on);
  void SetRTS(bool on);
  // Applies the line settings to the open port; false when closed or refused.
  bool UpdateDCB();

  // Events.
  TEventReceiveData OnReceiveData;
  TNotifyEvent OnRequestHangup;
  StateChangeEvent OnStateChange{*this};
  TNotifyEvent OnBreak;
  TEventChangeLines OnChangedCTS;
  TEventChangeLines OnChangedDSR;
  TNotifyEvent OnErrorFrame;
  TNotifyEvent OnErrorOverrun;
  TNotifyEvent OnErrorParity;
  TNotifyEvent OnErrorBreak;
  TEventError OnErrorOther;
  TEventChangeLines OnRing;
  TEventChangeLines OnChangedRLSD;
  TNotifyEvent OnRxChar;
  TNotifyEvent OnRxFlag;
  TNotifyEvent OnTxEmpty;

  // Diagnostics: CPU time of the reader thread in nanoseconds (-1 while closed), the write(2)
  // calls the writer has made and the pieces of received bytes the reader has posted since the
  // port opened.
  int64_t ReaderCpuTimeNs() const;
  uint32_t WriteCallCount() const;
  uint32_t ReceivedPieceCount() const;

 private:
  friend class TCommNotifier;
  friend struct TQlsComm32Probe;  // tests drive the notifications directly
  enum class Handle { None, Invalid, Open };

  void NotifyWatcher();
  bool OpenFailed(int error);
  // False when a handler destroyed the component.
  bool ChangeModemState(uint32_t status);

  // Notifications, on the user-interface thread.
  void HandleReceiveData(const uint8_t* buffer, uint16_t count);
  void HandleRequestHangup();
  void HandleStateChanged();
  void HandleCommEvent(uint32_t eventMask, uint32_t errorsAndModemStatus);
  void HandleTimePoll() { GetModemState(); }

  std::string name_;
  std::shared_ptr<TCommNotifier> notifier_;
  // The threads of one open post through a notifier of their own, detached when the port
  // closes: what they queued before then (bytes, a hang-up request, line events) must not reach
  // the next open, which may be another port or another unit.
  std::shared_ptr<TCommNotifier> sessionNotifier_;
  bool loading_ = true;
  bool autoReconnect_ = true;
  std::string commPort_ = "COM1";
  serial::LineSettings settings_;
  std::optional<uint8_t> eventChar_;

  Handle handle_ = Handle::None;
  std::string openFailure_;
  // Failed opens so far, and how many of them the state-change handler has been told of.
  unsigned openFailures_ = 0;
  unsigned reportedFailures_ = 0;
  int fd_ = -1;
  bool noModemLines_ = false;
  std::unique_ptr<TShutdownEvent> shutdown_;
  std::unique_ptr<TCommLink> link_;
  std::unique_ptr<TReadThread> reader_;
  std::unique_ptr<TWriteThread> writer_;
  bool suppressNotifications_ = false;
  TCommState lastReported_ = CommStateFirst;
  uint32_t modemStatus_ = 0;
};
