#pragma once
// A script of the device module: it knows its module and sends framed commands through it.

#include <cstdint>

#include "protocol/VGeneralScript.h"

class VUniModule;

class VGeneralCommScript : public VGeneralScript {
 public:
  // Largest frame: code, data, checksum and CR.
  static constexpr int MaxFrame = 264;
  static constexpr int MaxData = MaxFrame - 3;

  explicit VGeneralCommScript(VUniModule& module) : module_(module) {}

  // Lets the module show that one of its scripts ended.
  void OnFinished() override;

  // Frames code and data (checksum, CR) and sends it through the module, which also shows it in
  // the terminal. Data that would not fit a frame is refused: nothing is sent and the result is
  // false.
  bool SendCommand(uint8_t code, const uint8_t* data, int count);

  VUniModule& Module() const { return module_; }

  // "The unit stopped answering", with the error icon: the end of every exchange whose tries are
  // used up.
  void ShowDeviceDead();
  // A command went unanswered: send it again while tries are left (the verdict restarts the
  // clock), else tell the user the unit stopped answering and fail.
  void RetryOrGiveUp(int32_t& retries, int32_t& next);

 protected:
  VUniModule& module_;
};
