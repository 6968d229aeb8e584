#include "protocol/VScriptSyncEEPROM.h"

#include <algorithm>

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "eeprom/VConfigByteArray.h"
#include "protocol/TInputBuffer.h"
#include "protocol/VScriptReadVorLine.h"
#include "protocol/VUniModule.h"
#include "protocol/WireFormat.h"
#include "ui/Controls.h"
#include "ui/EventLoop.h"
#include "ui/Form.h"

namespace {

std::string Text(const char* key, const std::string& czech) {
  return GetLangText("Texts", key, czech);
}

}  // namespace

std::span<const StateDescription> VScriptSyncEEPROM::GetStates() const {
  static const StateDescription states[] = {
      {1, &ScriptHandler<VScriptSyncEEPROM, &VScriptSyncEEPROM::Sync>, 0, 0},
  };
  return states;
}

ui::Gauge* VScriptSyncEEPROM::ProgressGauge() const {
  return dynamic_cast<ui::Gauge*>(module_.Shown(ProgressControl::Gauge));
}

void VScriptSyncEEPROM::ShowProgress(bool show) {
  ui::Form* progress = module_.ProgressWindow();
  if (progress == nullptr) return;
  if (show)
    progress->Show();
  else
    progress->Hide();
}

bool VScriptSyncEEPROM::StartSync(VGeneralScript* parent, int blockSize, bool writing) {
  if (module_.IsDisconnected()) return false;
  VConfigByteArray& image = module_.Image();
  // A configuration that does not fit is refused before anything is sent: going on would write
  // whatever the showing buffer held before and then report success.
  if (writing && !image.writeSettings(false, true)) return false;
  if (!Start(parent, 1)) return false;
  lastEnd_ = ScriptIdle;
  address_ = 0;
  pendingCount_ = 0;
  retries_ = Attempts;
  blockSize_ = std::max(1, blockSize);
  writing_ = writing;
  lengthUnknown_ = true;
  ShowProgress(true);
  if (writing_) {
    SetPhase(0);
    endAddress_ = limit_ = image.usedLength();
  } else {
    phase_ = 1;
    endAddress_ = limit_ = image.capacity();
  }
  const int h = image.headerLength();
  if (module_.ProgressWindow() != nullptr) {
    if (ui::Control* caption = module_.Shown(ProgressControl::Caption))
      caption->SetText(writing_ ? Text("ProgressWriting", Win1250("Průběh zápisu"))
                                : Text("ProgressReading", Win1250("Průběh načítání")));
    if (ui::Gauge* gauge = ProgressGauge()) {
      gauge->SetProgress(0);
      gauge->SetMaxValue(writing_ || endAddress_ != 0 ? h : 0);
      gauge->SetShownMax(100);
    }
  }
  gaugeFrozen_ = false;
  return true;
}

void VScriptSyncEEPROM::SetPhase(int phase) {
  address_ = 0;
  module_.Image().writeSettings(false, phase == 0);
  phase_ = phase;
}

void VScriptSyncEEPROM::TakeReply() {
  VConfigByteArray& image = module_.Image();
  const TInputBuffer& reply = module_.RxBuffer();
  const uint8_t code = reply.GetAt(0);
  if (code == (wire::ReplyFlag | wire::CmdReadBlock)) {
    for (int l = 0; l < pendingCount_; ++l)
      image.setMirrorByte(pendingAddress_ + l, wire::ReplyByte(reply, l + 1),
                          VConfigByteArray::ReadFromUnit);
  } else if (code == (wire::ReplyFlag | wire::CmdWriteBlock)) {
    for (int m = 0; m < pendingCount_; ++m)
      image.setMirrorByte(pendingAddress_ + m, image.getShowingByte(pendingAddress_ + m),
                          VConfigByteArray::WrittenToUnit);
  } else {
    // Not the reply to our command: keep waiting for it.
    module_.LineReader().StartRead(this, ReadTimeoutMs);
  }
}

void VScriptSyncEEPROM::UpdateGauge() {
  if (gaugeFrozen_) return;
  ui::Gauge* gauge = ProgressGauge();
  if (gauge == nullptr) return;
  int max = std::max(0, std::min(limit_ - 1, endAddress_));
  if (writing_) max += module_.Image().headerLength();
  gauge->SetMaxValue(max);
  gauge->SetShownMax(100);
  gauge->SetProgress(address_ + (writing_ && phase_ == 1 ? limit_ : 0));
  if (gauge->Progress() == gauge->MaxValue() - 1) gaugeFrozen_ = true;
}

void VScriptSyncEEPROM::Sync(int32_t subResult, int32_t& next, uint32_t) {
  VConfigByteArray& image = module_.Image();
  switch (subResult) {
    case ScriptAborted:
      next = ScriptAborted;
      return;
    case ScriptFailed:
      RetryOrGiveUp(retries_, next);
      return;
    case ScriptDone:
      TakeReply();
      return;
    default:
      break;
  }

  if (AbortRequested()) {
    next = ScriptAborted;
    return;
  }
  // Skip what needs nothing.
  while (address_ < limit_ && (image.byteState(address_) &
                               (VConfigByteArray::NeedsWrite | VConfigByteArray::NeedsRead)) == 0) {
    retries_ = Attempts;
    ++address_;
  }
  // Reading: the header says how long the configuration is; the layout may ask for more.
  const int h = image.headerLength();
  if (!writing_ && lengthUnknown_ && address_ >= h) {
    if (h >= 2 && (image.byteState(h - 2) & VConfigByteArray::MirrorValid) != 0 &&
        (image.byteState(h - 1) & VConfigByteArray::MirrorValid) != 0) {
      int length = image.getMirrorByte(h - 2) * 256 + image.getMirrorByte(h - 1);
      if (length > image.capacity()) length = 0;
      lengthUnknown_ = false;
      endAddress_ = length;
    } else {
      endAddress_ = h;
    }
  }
  // Asked on every poll, not only when the header was taken: each block read may show the layout
  // another item further on, and a header whose length is short (or unusable) must not end the
  // read before the configuration does.
  if (!writing_ && address_ >= endAddress_) endAddress_ = image.expectedLength();
  UpdateGauge();
  if (address_ >= endAddress_ || address_ >= limit_) {
    if (phase_ == 0)
      SetPhase(1);
    else
      next = ScriptDone;
    return;
  }
  if (!module_.LineReader().StartRead(this, ReadTimeoutMs)) return;

  int i = 0;
  while (i < blockSize_ && (image.byteState(address_ + i) & VConfigByteArray::NeedsWrite) == 0) ++i;
  if (i < blockSize_) {
    // Write the whole block that ends right after the run of bytes inside the memory.
    int run = 0;
    while (run < blockSize_ &&
           (image.byteState(address_ + i + run) & VConfigByteArray::InCapacityDefined) != 0)
      ++run;
    // A configuration shorter than a block would put the window's start before the memory's;
    // like a read block, it is pulled back inside.
    const int start = std::max(0, address_ + i + run - blockSize_);
    module_.LineReader().SetTimeout(WriteTimeoutMs);
    uint8_t data[4 + 2 * 128];
    wire::EncodeAddress(static_cast<uint16_t>(start), data);
    const int count = std::min(blockSize_, 128);
    for (int k = 0; k < count; ++k)
      wire::EncodeByte(image.getShowingByte(start + k), data + 4 + 2 * k);
    SendCommand(wire::CmdWriteBlock, data, 4 + 2 * count);
    pendingAddress_ = start;
    pendingCount_ = count;
  } else {
    // A read block never reaches beyond the limit.
    address_ = std::max(0, std::min(address_, limit_ - blockSize_));
    uint8_t data[4];
    wire::EncodeAddress(static_cast<uint16_t>(address_), data);
    SendCommand(wire::CmdReadBlock, data, 4);
    pendingAddress_ = address_;
    pendingCount_ = blockSize_;
  }
}

void VScriptSyncEEPROM::OnFinished() {
  ShowProgress(false);
  int32_t end = State();
  if (end == ScriptDone) {
    module_.Image().mirror2Showing();
    if (module_.Image().usedLength() == 0) {
      end = ScriptFailed;
      ForceEndState(ScriptFailed);
    }
  }
  lastEnd_ = end;
  module_.Refresh();
  if (end == ScriptDone) {
    module_.ShowMessage(writing_
                            ? Text("EepWriteOK", Win1250("Zařízení bylo úspěšně naprogramováno"))
                            : Text("EepReadOK", Win1250("Nastavení zařízení bylo načteno")),
                        ui::MB_OK | ui::MB_ICONINFORMATION);
  } else if (end == ScriptAborted) {
    module_.ShowMessage(
        writing_ ? Text("EepWriteBreak", Win1250("Programování zařízení bylo přerušeno"))
                 : Text("EepReadBreak", Win1250("Čtení nastavení zařízení bylo přerušeno")),
        ui::MB_OK | ui::MB_ICONINFORMATION);
  }
}
