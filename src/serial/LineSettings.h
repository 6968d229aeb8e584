#pragma once
// Line settings of an open port in terms of the terminal interface: raw binary mode, no flow
// control, DTR and RTS raised, receiver on, modem lines ignored for opening and reading.

#include <termios.h>

#include "serial/CommTypes.h"

namespace serial {

struct LineSettings {
  TBaudRate baudRate = TBaudRate::_19200;
  TParity parity = TParity::None;
  TDataBits dataBits = TDataBits::_8;
  TStopBits stopBits = TStopBits::_1;
};

// Bits per second of a rate (110 to 256000).
unsigned BaudRateValue(TBaudRate rate);

// The standard speed constant of a rate, or B0 for rates the terminal interface has no constant
// for (14400, 56000, 128000, 256000), which need SetCustomBaudRate.
speed_t StandardSpeedOf(TBaudRate rate);

// Rewrites the modes of tio for the settings; the control characters other than start, stop,
// VMIN and VTIME keep what the port had. False when the line cannot carry the settings (4 data
// bits): tio is then left as it was.
bool ApplyLineSettings(termios& tio, const LineSettings& settings);

// Sets any rate on an open port (input and output). False when the driver refuses it.
bool SetCustomBaudRate(int fd, unsigned bitsPerSecond);

// The modem status word (MS_CTS_ON, ...) of the lines TIOCMGET reports.
uint32_t ModemStatusOf(int lines);

// Programs an open port: modes and speed. False when anything was refused; on false the port
// keeps its previous settings as far as the driver allows.
bool ProgramPort(int fd, const LineSettings& settings);

}  // namespace serial
