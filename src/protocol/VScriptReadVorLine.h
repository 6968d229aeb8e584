#pragma once
// The line reader: waits for one complete reply with a correct checksum, or gives up after its
// time-out. Every other script runs it as its sub-script after sending a command; the reply stays
// in the module's receive buffer for the parent to read within the same poll.

#include "protocol/VGeneralCommScript.h"

class TInputBuffer;

class VScriptReadVorLine : public VGeneralCommScript {
 public:
  VScriptReadVorLine(VUniModule& module, TInputBuffer& rxBuffer)
      : VGeneralCommScript(module), rxBuffer_(rxBuffer) {}

  std::span<const StateDescription> GetStates() const override;
  // Starts waiting (for parent) and starts the clock; false when a wait is already under way.
  bool StartRead(VGeneralScript* parent, uint32_t timeoutMs);
  // Changes the time-out without restarting the clock.
  void SetTimeout(uint32_t timeoutMs) { timeout_ = timeoutMs; }
  uint32_t Timeout() const { return timeout_; }

 private:
  void Wait(int32_t subResult, int32_t& next, uint32_t now);

  uint32_t timeout_ = 0;
  TInputBuffer& rxBuffer_;
};
