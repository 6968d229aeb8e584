#pragma once
// Port names: what a typed name opens, and the ports this machine has.

#include <string>
#include <vector>

namespace serial {

// The device a port name opens: "COMn" (any case, n from 1) is /dev/ttyS(n-1); a name without
// a slash is a device in /dev ("ttyUSB0"); anything else is used as the path it is.
std::string DevicePathOf(const std::string& portName);

// Serial ports found: /dev/ttyS* that have a UART behind them, /dev/ttyUSB*, /dev/ttyACM* and
// the links in /dev/serial/by-id, in natural order.
std::vector<std::string> ListPorts();

// The same over other roots (devDir stands for /dev, sysTtyDir for /sys/class/tty).
std::vector<std::string> ListPortsIn(const std::string& devDir, const std::string& sysTtyDir);

// Natural order: runs of digits compare by value ("ttyS2" before "ttyS10").
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace serial
