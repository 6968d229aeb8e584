#include "protocol/VScriptReadVorLine.h"

#include "protocol/TInputBuffer.h"
#include "protocol/VUniModule.h"
#include "protocol/WireFormat.h"

std::span<const StateDescription> VScriptReadVorLine::GetStates() const {
  static const StateDescription states[] = {
      {1, &ScriptHandler<VScriptReadVorLine, &VScriptReadVorLine::Wait>, 0, 0},
  };
  return states;
}

bool VScriptReadVorLine::StartRead(VGeneralScript* parent, uint32_t timeoutMs) {
  if (!Start(parent, 1)) return false;
  timeout_ = timeoutMs;
  RestartTimer();
  return true;
}

void VScriptReadVorLine::Wait(int32_t /*subResult*/, int32_t& next, uint32_t now) {
  if (module_.LineComplete() && wire::ReplyIntact(rxBuffer_)) {
    next = AbortRequested() ? ScriptAborted : ScriptDone;
    return;
  }
  if (TimedOut(timeout_, now)) {
    next = AbortRequested() ? ScriptAborted : ScriptFailed;
    rxBuffer_.Clear();
  }
}
