#include "protocol/VScriptReset.h"

#include "protocol/TInputBuffer.h"
#include "protocol/VScriptReadVorLine.h"
#include "protocol/VUniModule.h"
#include "protocol/WireFormat.h"
#include "serial/TQlsComm32.h"

std::span<const StateDescription> VScriptReset::GetStates() const {
  static const StateDescription states[] = {
      {1, &ScriptHandler<VScriptReset, &VScriptReset::Reset>, 0, 0},
  };
  return states;
}

void VScriptReset::OnFinished() {
  // The port closes however the reset ended, also when the unit never answered.
  module_.Comm().StopComm();
  module_.Refresh();
}

bool VScriptReset::StartReset(VGeneralScript* parent) {
  if (!Start(parent, 1)) return false;
  retries_ = Attempts;
  return true;
}

void VScriptReset::Reset(int32_t subResult, int32_t& next, uint32_t) {
  switch (subResult) {
    case 0:
      if (module_.LineReader().StartRead(this, ReplyTimeoutMs)) {
        // The key bytes go as they are, not as hex digits.
        static const uint8_t key[] = {0xAA, 0x55};
        SendCommand(wire::CmdReset, key, 2);
      }
      break;
    case ScriptDone:
      if (module_.RxBuffer().GetAt(0) == (wire::ReplyFlag | wire::CmdReset)) {
        next = ScriptDone;
      } else {
        module_.LineReader().StartRead(this, ReplyTimeoutMs);
      }
      break;
    case ScriptFailed:
      RetryOrGiveUp(retries_, next);
      break;
    case ScriptAborted:
      next = ScriptAborted;
      break;
  }
}
