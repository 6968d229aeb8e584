#pragma once
// Reading the unit's configuration memory into the image and writing the edited configuration
// back, in blocks of 8 bytes. Reading fills the mirror (with verification on, every byte must be
// read twice alike) until the header's length and then the layout are satisfied, then copies it
// into the showing buffer. Writing sends the blocks where the showing buffer differs from the
// mirror, in two passes: first with a zeroed header, then with the real one, so the unit never
// holds a header describing a configuration it does not have yet. With verification on, every
// written byte is read back. The progress window shows the advance and offers cancel.

#include "protocol/VGeneralCommScript.h"

namespace ui {
class Form;
class Gauge;
}  // namespace ui

class VScriptSyncEEPROM : public VGeneralCommScript {
 public:
  static constexpr uint32_t ReadTimeoutMs = 2000;
  static constexpr uint32_t WriteTimeoutMs = 3000;
  static constexpr int Attempts = 4;

  using VGeneralCommScript::VGeneralCommScript;

  std::span<const StateDescription> GetStates() const override;
  void OnFinished() override;
  // False when no unit is connected or the script is busy; a write that cannot fit the unit's
  // memory is refused here too ("ConfigLong" shown, nothing sent).
  bool StartSync(VGeneralScript* parent, int blockSize, bool writing);

  bool Writing() const { return writing_; }
  int Address() const { return address_; }
  int EndAddress() const { return endAddress_; }
  int Phase() const { return phase_; }
  // How the last transfer ended (ScriptDone, ScriptFailed, ScriptAborted; idle before any).
  int32_t LastEndState() const { return lastEnd_; }

 private:
  void Sync(int32_t subResult, int32_t& next, uint32_t now);
  void SetPhase(int phase);
  void TakeReply();
  void UpdateGauge();
  void ShowProgress(bool show);
  // The progress window's gauge; null without one.
  ui::Gauge* ProgressGauge() const;

  int32_t retries_ = 0;
  int address_ = 0;
  int endAddress_ = 0;
  bool writing_ = false;
  int pendingAddress_ = 0;
  int pendingCount_ = 0;
  int limit_ = 0;
  int blockSize_ = 8;
  bool gaugeFrozen_ = false;
  bool lengthUnknown_ = true;
  int phase_ = 1;
  int32_t lastEnd_ = ScriptIdle;
};
