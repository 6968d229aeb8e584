#include "serial/LineSettings.h"

#include <sys/ioctl.h>

namespace serial {

unsigned BaudRateValue(TBaudRate rate) {
  static const unsigned kRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                    19200, 38400, 56000, 57600, 115200, 128000, 256000};
  const auto index = static_cast<unsigned>(rate);
  return index < sizeof kRates / sizeof kRates[0] ? kRates[index] : 19200;
}

speed_t StandardSpeedOf(TBaudRate rate) {
  switch (rate) {
    case TBaudRate::_110:
      return B110;
    case TBaudRate::_300:
      return B300;
    case TBaudRate::_600:
      return B600;
    case TBaudRate::_1200:
      return B1200;
    case TBaudRate::_2400:
      return B2400;
    case TBaudRate::_4800:
      return B4800;
    case TBaudRate::_9600:
      return B9600;
    case TBaudRate::_19200:
      return B19200;
    case TBaudRate::_38400:
      return B38400;
    case TBaudRate::_57600:
      return B57600;
    case TBaudRate::_115200:
      return B115200;
    default:
      return B0;
  }
}

bool ApplyLineSettings(termios& tio, const LineSettings& settings) {
  tcflag_t size;
  switch (settings.dataBits) {
    case TDataBits::_5:
      size = CS5;
      break;
    case TDataBits::_6:
      size = CS6;
      break;
    case TDataBits::_7:
      size = CS7;
      break;
    case TDataBits::_8:
      size = CS8;
      break;
    default:
      return false;  // no UART driver here takes 4-bit characters
  }

  // Binary input: no translation, no stripping, no software flow control, no parity checking
  // of input; a break does not put a byte into the data.
  tio.c_iflag &= ~(BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK |
                   IGNPAR | IMAXBEL);
  tio.c_iflag |= IGNBRK;
  tio.c_oflag &= ~OPOST;
  tio.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);

  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  tio.c_cflag |= size | CREAD | CLOCAL;
  switch (settings.parity) {
    case TParity::None:
      break;
    case TParity::Odd:
      tio.c_cflag |= PARENB | PARODD;
      break;
    case TParity::Even:
      tio.c_cflag |= PARENB;
      break;
    case TParity::Mark:
      tio.c_cflag |= PARENB | CMSPAR | PARODD;
      break;
    case TParity::Space:
      tio.c_cflag |= PARENB | CMSPAR;
      break;
  }
  // With 5-bit characters the UART sends one and a half stop bits for the "two" setting.
  if (settings.stopBits != TStopBits::_1) tio.c_cflag |= CSTOPB;

  tio.c_cc[VSTART] = 0x11;
  tio.c_cc[VSTOP] = 0x13;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return true;
}

uint32_t ModemStatusOf(int lines) {
  uint32_t word = 0;
  if (lines & TIOCM_CTS) word |= MS_CTS_ON;
  if (lines & TIOCM_DSR) word |= MS_DSR_ON;
  if (lines & TIOCM_RNG) word |= MS_RING_ON;
  if (lines & TIOCM_CAR) word |= MS_RLSD_ON;
  return word;
}

bool ProgramPort(int fd, const LineSettings& settings) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  if (!ApplyLineSettings(tio, settings)) return false;
  const speed_t speed = StandardSpeedOf(settings.baudRate);
  // A rate without a constant is set afterwards; the constant here only has to be valid.
  cfsetispeed(&tio, speed == B0 ? B38400 : speed);
  cfsetospeed(&tio, speed == B0 ? B38400 : speed);
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return false;
  if (speed == B0 && !SetCustomBaudRate(fd, BaudRateValue(settings.baudRate))) return false;

  // DTR and RTS on, as the port is configured to hold them; lines a device does not have
  // (pseudo-terminals) are no error.
  int lines = TIOCM_DTR | TIOCM_RTS;
  (void)ioctl(fd, TIOCMBIS, &lines);
  return true;
}

}  // namespace serial
