#pragma once
// Line settings, link states, event signatures and the exception of the serial port component.
// The ordinals of the enumerations are what is stored and compared.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

class TQlsComm32;

enum class TBaudRate : uint8_t {
  _110,
  _300,
  _600,
  _1200,
  _2400,
  _4800,
  _9600,
  _14400,
  _19200,
  _38400,
  _56000,
  _57600,
  _115200,
  _128000,
  _256000,
};

// The ordinal is the line's parity code 0 to 4.
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };

enum class TDataBits : uint8_t { _4, _5, _6, _7, _8 };

// The ordinal is the stop-bit code: 0 one, 1 one and a half, 2 two.
enum class TStopBits : uint8_t { _1, _1_5, _2 };

// CommStateFirst is never reported; it only seeds the last reported state so that the first
// report always fires.
enum TCommState { CommStateFailed, CommStateDisconnected, CommStateConnected, CommStateFirst };

// Modem status word bits.
inline constexpr uint32_t MS_CTS_ON = 0x10;
inline constexpr uint32_t MS_DSR_ON = 0x20;
inline constexpr uint32_t MS_RING_ON = 0x40;
inline constexpr uint32_t MS_RLSD_ON = 0x80;

// Port event mask bits.
inline constexpr uint32_t EV_RXCHAR = 0x001;
inline constexpr uint32_t EV_RXFLAG = 0x002;
inline constexpr uint32_t EV_TXEMPTY = 0x004;
inline constexpr uint32_t EV_CTS = 0x008;
inline constexpr uint32_t EV_DSR = 0x010;
inline constexpr uint32_t EV_RLSD = 0x020;
inline constexpr uint32_t EV_BREAK = 0x040;
inline constexpr uint32_t EV_ERR = 0x080;
inline constexpr uint32_t EV_RING = 0x100;

// Line error bits.
inline constexpr uint32_t CE_RXOVER = 0x01;
inline constexpr uint32_t CE_OVERRUN = 0x02;
inline constexpr uint32_t CE_RXPARITY = 0x04;
inline constexpr uint32_t CE_FRAME = 0x08;
inline constexpr uint32_t CE_BREAK = 0x10;

using TNotifyEvent = std::function<void(TQlsComm32& sender)>;
// The buffer is a copy that lives only for the call; a handler copies what it keeps. One zero
// byte follows the counted bytes.
using TEventReceiveData = std::function<void(const uint8_t* buffer, uint16_t bufferLength)>;
using TEventChangeState = std::function<void(TCommState state)>;
using TEventChangeLines = std::function<void(TQlsComm32& sender, bool value)>;
using TEventError = std::function<void(TQlsComm32& sender, uint32_t error)>;

// Raised only when the component cannot create its threads.
class ECommsError : public std::runtime_error {
 public:
  explicit ECommsError(const std::string& message) : std::runtime_error(message) {}
};
