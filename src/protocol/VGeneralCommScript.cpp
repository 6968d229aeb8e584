#include "protocol/VGeneralCommScript.h"

#include <cstring>

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "protocol/VUniModule.h"
#include "protocol/WireFormat.h"
#include "ui/EventLoop.h"

void VGeneralCommScript::OnFinished() {
  module_.Refresh();
}

bool VGeneralCommScript::SendCommand(uint8_t code, const uint8_t* data, int count) {
  if (count < 0 || count > MaxData || (count > 0 && data == nullptr)) return false;
  uint8_t frame[MaxFrame];
  frame[0] = code;
  if (count > 0) std::memcpy(frame + 1, data, static_cast<size_t>(count));
  frame[count + 1] = wire::Checksum(frame, static_cast<size_t>(count) + 1);
  frame[count + 2] = wire::FrameEnd;
  return module_.Send(frame, count + 3);
}

void VGeneralCommScript::ShowDeviceDead() {
  module_.ShowMessage(
      GetLangText("Texts", "DeviceDead",
                  Win1250("Zařízení přestalo komunikovat. Ověřte propojení a napájení.")),
      ui::MB_OK | ui::MB_ICONERROR);
}

void VGeneralCommScript::RetryOrGiveUp(int32_t& retries, int32_t& next) {
  if (--retries > 0) {
    next = ScriptRestartTimer;
    return;
  }
  ShowDeviceDead();
  next = ScriptFailed;
}
