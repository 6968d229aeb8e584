#pragma once
// Where the module shows the bytes it sends: the terminal window, once there is one. The module
// holds a plain pointer; no sink means the traffic is simply not shown.

#include <cstdint>

// Line types of the terminal for raw traffic.
enum : int {
  VQelTerminal_ltInBin = 1,   // bytes received from the unit
  VQelTerminal_ltOutBin = 3,  // bytes sent to the unit
};

class TerminalSink {
 public:
  virtual ~TerminalSink() = default;
  virtual void AddBytes(const uint8_t* data, int count, int lineType) = 0;
};
