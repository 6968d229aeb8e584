#pragma once
// Connecting: opens the port, sends the link test every 500 ms until the unit answers, asks for
// the identification (type bytes and firmware version, with the questions about foreign units
// and other versions) and the memory size, each with a 2000 ms time-out and three tries, and puts
// the module into the idle link state.

#include "protocol/VGeneralCommScript.h"

class VScriptConnect : public VGeneralCommScript {
 public:
  enum : int32_t { StateLinkTest = 1, StateIdentify = 2, StateMemory = 3, StateDone = 4 };
  static constexpr uint32_t LinkTestTimeoutMs = 500;
  static constexpr uint32_t ReplyTimeoutMs = 2000;
  static constexpr int Attempts = 3;
  // The firmware version this program is made for.
  static constexpr int ExpectedMajor = 1;
  static constexpr int ExpectedMinor = 8;

  using VGeneralCommScript::VGeneralCommScript;

  std::span<const StateDescription> GetStates() const override;
  // Closes the port unless the unit was connected.
  void OnFinished() override;
  // False when a unit is connected, the script is not idle or the port cannot be opened.
  bool StartConnect(VGeneralScript* parent);

  int Retries() const { return retries_; }

 private:
  void LinkTest(int32_t subResult, int32_t& next, uint32_t now);
  void Identify(int32_t subResult, int32_t& next, uint32_t now);
  void MemoryInfo(int32_t subResult, int32_t& next, uint32_t now);
  void Done(int32_t subResult, int32_t& next, uint32_t now);

  // Sends code after starting the wait for its reply.
  void Ask(uint8_t code, uint32_t timeoutMs);
  void WaitAgain(uint32_t timeoutMs);
  // A failed wait in the identification and memory states: sent again until the tries are used
  // up, then "DeviceDead".
  void Retry(int32_t& next);
  // The questions about the identified unit; false when it is not to be connected.
  bool AcceptType();
  bool AcceptVersion();

  int32_t retries_ = 0;
};
