#pragma once
// Port names: what a typed name opens, and the ports this machine has.

#include <string>
#include <vector>

namespace serial {

// The device a port name opens: "COMn" (any case, n from 1) is /dev/ttyS(n-1); a name without
// a slash is a device in /dev ("ttyUSB0"); anything else is used as the path it is.
std::string DevicePathOf(const std::string& portName);

// A serial port found: its device path and, for an adapter udev knows, the name of its link in
// /dev/serial/by-id ("usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0"), which says what is plugged in.
struct Port {
  std::string path;
  std::string description;  // empty when there is none
};

// Serial ports found: /dev/ttyS* that have a UART behind them, /dev/ttyUSB*, /dev/ttyACM* and
// the devices the links in /dev/serial/by-id point at, each once, in natural order of the paths.
std::vector<Port> FindPorts();
// The same over other roots (devDir stands for /dev, sysTtyDir for /sys/class/tty).
std::vector<Port> FindPortsIn(const std::string& devDir, const std::string& sysTtyDir);

// The paths of the ports found.
std::vector<std::string> ListPorts();
std::vector<std::string> ListPortsIn(const std::string& devDir, const std::string& sysTtyDir);

// Natural order: runs of digits compare by value ("ttyS2" before "ttyS10").
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace serial
