#include "protocol/VScriptConnect.h"

#include <cstdio>
#include <string>

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "eeprom/VConfigByteArray.h"
#include "eeprom/VEepSettingGroup.h"
#include "protocol/TInputBuffer.h"
#include "protocol/VScriptReadVorLine.h"
#include "protocol/VUniModule.h"
#include "protocol/WireFormat.h"
#include "serial/TQlsComm32.h"
#include "ui/EventLoop.h"

namespace {
std::string Text(const char* key, const std::string& czech) {
  return GetLangText("Texts", key, czech);
}

std::string Version(int major, int minor) {
  char buf[32];
  std::snprintf(buf, sizeof buf, " (%d.%d) ", major, minor);
  return buf;
}
}  // namespace

std::span<const StateDescription> VScriptConnect::GetStates() const {
  static const StateDescription states[] = {
      {StateLinkTest, &ScriptHandler<VScriptConnect, &VScriptConnect::LinkTest>, 0, 0},
      {StateIdentify, &ScriptHandler<VScriptConnect, &VScriptConnect::Identify>, 0, 0},
      {StateMemory, &ScriptHandler<VScriptConnect, &VScriptConnect::MemoryInfo>, 0, 0},
      {StateDone, &ScriptHandler<VScriptConnect, &VScriptConnect::Done>, 0, 0},
  };
  return states;
}

void VScriptConnect::OnFinished() {
  if (State() != ScriptDone) module_.Comm().StopComm();
  module_.Refresh();
}

bool VScriptConnect::StartConnect(VGeneralScript* parent) {
  if (!module_.IsDisconnected()) return false;
  // Opening an open port reopens it: never under a connect that is still running.
  if (State() != ScriptIdle) return false;
  if (!module_.Comm().StartComm()) return false;
  return Start(parent, StateLinkTest);
}

void VScriptConnect::Ask(uint8_t code, uint32_t timeoutMs) {
  if (module_.LineReader().StartRead(this, timeoutMs)) SendCommand(code, nullptr, 0);
}

void VScriptConnect::WaitAgain(uint32_t timeoutMs) {
  module_.LineReader().StartRead(this, timeoutMs);
}

void VScriptConnect::Retry(int32_t& next) {
  RetryOrGiveUp(retries_, next);
}

void VScriptConnect::LinkTest(int32_t subResult, int32_t& next, uint32_t) {
  switch (subResult) {
    case 0:
      Ask(wire::CmdLinkTest, LinkTestTimeoutMs);
      break;
    case ScriptDone:
      if (module_.RxBuffer().GetAt(0) == (wire::ReplyFlag | wire::CmdLinkTest)) {
        next = StateIdentify;
        retries_ = Attempts;
      } else {
        WaitAgain(LinkTestTimeoutMs);
      }
      break;
    case ScriptFailed:
      // No answer yet: the link test goes out again on the next poll, until somebody aborts.
      next = AbortRequested() ? ScriptFailed : ScriptRestartTimer;
      break;
    case ScriptAborted:
      next = ScriptAborted;
      break;
  }
}

void VScriptConnect::Identify(int32_t subResult, int32_t& next, uint32_t) {
  switch (subResult) {
    case 0:
      Ask(wire::CmdIdentify, ReplyTimeoutMs);
      break;
    case ScriptFailed:
      Retry(next);
      break;
    case ScriptAborted:
      next = ScriptAborted;
      break;
    case ScriptDone: {
      const TInputBuffer& reply = module_.RxBuffer();
      if (reply.GetAt(0) != (wire::ReplyFlag | wire::CmdIdentify)) {
        WaitAgain(ReplyTimeoutMs);
        break;
      }
      // Everything is taken from the reply before any question: while a box is open, the
      // receive buffer moves on.
      module_.devTypeA = wire::ReplyByte(reply, 1);
      module_.devTypeB = wire::ReplyByte(reply, 2);
      module_.devTypeC = wire::ReplyByte(reply, 3);
      module_.verMinor = wire::ReplyByte(reply, 4);
      module_.verMajor = wire::ReplyByte(reply, 5);
      if (!AcceptType() || !AcceptVersion()) {
        next = ScriptFailed;
        break;
      }
      next = StateMemory;
      module_.Image().setEEPROMid(module_.devTypeC, module_.devTypeB, module_.devTypeA,
                                  module_.verMajor, module_.verMinor);
      retries_ = Attempts;
      break;
    }
  }
}

bool VScriptConnect::AcceptType() {
  const uint8_t a = module_.devTypeA;
  if (module_.devTypeC == 1 && module_.devTypeB == 0xDA && a >= 1 && a <= 3) return true;
  const std::string question =
      Text("DeviceNotXKX2", Win1250("Je připojeno jiné zařízení než XKX2, ")) +
      Text("ConnectAnywayQ", Win1250("přejete si přesto připojit?"));
  return module_.ShowMessage(question, ui::MB_YESNO | ui::MB_ICONWARNING) == ui::IDYES;
}

bool VScriptConnect::AcceptVersion() {
  const int major = module_.verMajor;
  const int minor = module_.verMinor;
  const std::string version = Text("DeviceVer1", Win1250("Verze zařízení")) + Version(major, minor);
  if (major > ExpectedMajor) {
    const std::string question =
        version + Text("DeviceVerHigh", Win1250("je vyšší než verze programu")) + " (1.8),\n" +
        Text("ConnectAnywayQ", Win1250("přejete si přesto připojit?"));
    return module_.ShowMessage(question, ui::MB_YESNO | ui::MB_ICONWARNING) == ui::IDYES;
  }
  if (major < ExpectedMajor || minor < ExpectedMinor) {
    // An older unit cannot be configured by this program: refused, no way around it.
    module_.ShowMessage(
        version + Text("DeviceVerLow", Win1250("je nižší než verze programu")) + " (1.8).",
        ui::MB_OK | ui::MB_ICONWARNING);
    return false;
  }
  return true;
}

void VScriptConnect::MemoryInfo(int32_t subResult, int32_t& next, uint32_t) {
  switch (subResult) {
    case 0:
      Ask(wire::CmdMemoryInfo, ReplyTimeoutMs);
      break;
    case ScriptFailed:
      Retry(next);
      break;
    case ScriptAborted:
      next = ScriptAborted;
      break;
    case ScriptDone: {
      const TInputBuffer& reply = module_.RxBuffer();
      if (reply.GetAt(0) != (wire::ReplyFlag | wire::CmdMemoryInfo)) {
        WaitAgain(ReplyTimeoutMs);
        break;
      }
      module_.Image().setSizeCode(wire::ReplyByte(reply, 1));
      module_.memExtra = wire::ReplyByte(reply, 2);
      module_.ShowVersion();
      next = StateDone;
      retries_ = Attempts;
      break;
    }
  }
}

void VScriptConnect::Done(int32_t, int32_t& next, uint32_t) {
  // A connect that was asked to stop ends aborted and closes the port: it must not leave the
  // unit marked as identified behind a closed port.
  if (AbortRequested()) {
    next = ScriptAborted;
    return;
  }
  module_.SetIdentified();
  markChanged(&module_.Image().root(), true);
  next = ScriptDone;
}
