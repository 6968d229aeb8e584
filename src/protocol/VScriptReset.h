#pragma once
// Disconnecting: sends the reset command (four tries of 2000 ms) and closes the port whatever
// the outcome. It is the user's disconnect and the last act before the program ends.

#include "protocol/VGeneralCommScript.h"

class VScriptReset : public VGeneralCommScript {
 public:
  static constexpr uint32_t ReplyTimeoutMs = 2000;
  static constexpr int Attempts = 4;

  using VGeneralCommScript::VGeneralCommScript;

  std::span<const StateDescription> GetStates() const override;
  // Always closes the port.
  void OnFinished() override;
  bool StartReset(VGeneralScript* parent);

  int Retries() const { return retries_; }

 private:
  void Reset(int32_t subResult, int32_t& next, uint32_t now);

  int32_t retries_ = 0;
};
