#include "protocol/VUniModule.h"

#include <algorithm>
#include <cstdio>

#include "base/Cp1250.h"
#include "base/FlagUp.h"
#include "base/LangText.h"
#include "base/TerminalSink.h"
#include "eeprom/VConfigByteArray.h"
#include "eeprom/VEepSetting.h"
#include "eeprom/VEepSettingGroup.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptReadVorLine.h"
#include "protocol/VScriptReset.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "protocol/WireFormat.h"
#include "serial/TQlsComm32.h"
#include "ui/Component.h"
#include "ui/Controls.h"
#include "ui/EventLoop.h"
#include "ui/Form.h"

namespace {
std::string Text(const char* key, const std::string& czech) {
  return GetLangText("Texts", key, czech);
}

void SetText(ui::Control* control, const std::string& text) {
  if (control != nullptr) control->SetText(text);
}
void SetEnabled(ui::Control* control, bool enabled) {
  if (control != nullptr) control->SetEnabled(enabled);
}
}  // namespace

VUniModule::VUniModule(TQlsComm32& comm, ui::Component* mainWindow)
    : comm_(comm), mainWindow_(mainWindow), image_(std::make_unique<VConfigByteArray>()) {
  for (const auto& entry : kMainWindowControls)
    mainControls_[static_cast<size_t>(entry.slot)] =
        ui::FindNamedAs<ui::Control>(mainWindow, entry.control);

  scripts_[SlotLineReader] = std::make_unique<VScriptReadVorLine>(*this, rxBuffer_);
  scripts_[SlotConnect] = std::make_unique<VScriptConnect>(*this);
  scripts_[SlotReset] = std::make_unique<VScriptReset>(*this);
  scripts_[SlotSync] = std::make_unique<VScriptSyncEEPROM>(*this);
  for (const auto& script : scripts_)
    if (script)
      script->onStarted = [this] {
        if (onBusy) onBusy();
      };

  image_->messageBox = [this](const std::string& text, unsigned flags) {
    return ShowMessage(text, flags);
  };
  image_->typeName = &VUniModule::TypeName;
  image_->labels.memLenTotal = Shown(MainControl::MemTotal);
  image_->labels.memLenCfg = Shown(MainControl::MemConfig);
  image_->labels.memLenFree = Shown(MainControl::MemFree);
  image_->labels.id = Shown(MainControl::Id);
  image_->labels.version = Shown(MainControl::Version);
}

VUniModule::~VUniModule() {
  // The image first (its layout refers to the descriptors only through their parent links),
  // then the descriptors, last created first, then the scripts from the last slot down.
  image_.reset();
  descriptors_.Clear();
  for (size_t i = scripts_.size(); i-- > 0;) scripts_[i].reset();
}

void VUniModule::SetProgressWindow(ui::Form* window) {
  progressWindow_ = window;
  for (const auto& entry : kProgressControls)
    progressControls_[static_cast<size_t>(entry.slot)] =
        ui::FindNamedAs<ui::Control>(window, entry.control);
}

ui::Form* VUniModule::ProgressWindow() const {
  return progressWindow_.get();
}

ui::Control* VUniModule::Shown(MainControl which) const {
  return mainControls_.at(static_cast<size_t>(which)).get();
}

ui::Control* VUniModule::Shown(ProgressControl which) const {
  return progressControls_.at(static_cast<size_t>(which)).get();
}

VScriptReadVorLine& VUniModule::LineReader() const {
  return static_cast<VScriptReadVorLine&>(*scripts_[SlotLineReader]);
}
VScriptConnect& VUniModule::ConnectScript() const {
  return static_cast<VScriptConnect&>(*scripts_[SlotConnect]);
}
VScriptReset& VUniModule::ResetScript() const {
  return static_cast<VScriptReset&>(*scripts_[SlotReset]);
}

VScriptSyncEEPROM& VUniModule::SyncScript() const {
  return static_cast<VScriptSyncEEPROM&>(*scripts_[SlotSync]);
}

bool VUniModule::ReadEEPROM() {
  image_->clearMirrorStates();
  image_->clearShowingStates();
  return SyncScript().StartSync(nullptr, 8, false);
}

bool VUniModule::WriteEEPROM() {
  return SyncScript().StartSync(nullptr, 8, true);
}

int VUniModule::ReplyLength(uint8_t code) const {
  return wire::ReplyLengthOf(code);
}

bool VUniModule::Busy() const {
  for (const auto& script : scripts_)
    if (script && script->State() != ScriptIdle) return true;
  return linkState_ == LinkClosing || image_->root().isChanged() || SettingsPending();
}

bool VUniModule::AnyScriptRunning() const {
  for (const auto& script : scripts_)
    if (script && script->IsRunning()) return true;
  return false;
}

ui::Color VUniModule::StatusColor(VLinkState state) {
  switch (state) {
    case LinkIdle:
      return ui::RGB(0, 255, 0);
    case LinkBusy:
    case LinkClosing:
      return ui::RGB(255, 0, 0);
    case LinkReleased:
      return ui::RGB(255, 255, 0);
    case LinkDisconnected:
      break;
  }
  return ui::RGB(0, 0, 0);
}

void VUniModule::Refresh() {
  if (onRefreshLinkState) onRefreshLinkState();

  const bool running = AnyScriptRunning();
  ui::Control* abortButton = Shown(MainControl::Abort);
  if (linkState_ == LinkIdle && running) {
    SetEnabled(abortButton, true);
    linkState_ = LinkBusy;
  } else if (linkState_ == LinkBusy && !running) {
    SetEnabled(abortButton, false);
    linkState_ = LinkIdle;
  } else if (linkState_ == LinkDisconnected) {
    SetEnabled(abortButton, running);
  }
  SetEnabled(Shown(MainControl::Read), linkState_ == LinkIdle);
  SetEnabled(Shown(MainControl::Write), linkState_ == LinkIdle);

  ui::Control* connectButton = Shown(MainControl::Connect);
  if (IsDisconnected()) {
    SetText(Shown(MainControl::Version), "-");
    SetText(Shown(MainControl::Id), "-");
    SetText(connectButton, ConnectScript().IsRunning() ? Text("ConnectCancel", Win1250("Přerušit"))
                                                       : Text("ConnectDo", Win1250("Připojit")));
    // Without a unit nothing is known of its memory.
    image_->clearMirrorStates();
  } else {
    SetText(connectButton, ResetScript().IsRunning() ? Text("ConnectBreak", "Rozpojit")
                                                     : Text("ConnectDis", "Odpojit"));
    SetText(Shown(MainControl::Id), TypeName(devTypeC, devTypeB, devTypeA));
    ShowVersion();
  }

  const ui::Color color = StatusColor(linkState_);
  if (auto* shape = dynamic_cast<ui::Shape*>(Shown(MainControl::Status)))
    shape->SetBrushColor(color);
  if (shownColor_ != color) {
    shownColor_ = color;
    StatusColorChanged();
  }
}

void VUniModule::ShowVersion() {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d.%d", verMajor, verMinor);
  SetText(Shown(MainControl::Version), buf);
}

void VUniModule::SetIdentified() {
  if (linkState_ != LinkDisconnected) return;
  linkState_ = LinkIdle;
  Refresh();
}

void VUniModule::SetDisconnected() {
  // Only on a change: the window's state handler, run from Refresh, calls this again.
  if (linkState_ != LinkIdle && linkState_ != LinkBusy && linkState_ != LinkClosing) return;
  linkState_ = LinkDisconnected;
  Refresh();
}

bool VUniModule::IsDisconnected() const {
  return linkState_ != LinkIdle && linkState_ != LinkBusy && linkState_ != LinkClosing;
}

void VUniModule::Abort() {
  for (const auto& script : scripts_) {
    if (script && script->IsRunning() && !script->IsWaiting()) {
      script->RequestAbort();
      return;
    }
  }
}

bool VUniModule::CheckFinished(VGeneralScript* script) {
  if (script == nullptr || script->State() >= 0) return false;
  script->Acknowledge();
  return true;
}

void VUniModule::Poll() {
  const uint32_t now = ui::Loop().TickCount();
  for (const auto& script : scripts_)
    if (script) script->scriptPolled(now);

  if (CheckFinished(scripts_[SlotReset].get())) {
    if (linkState_ == LinkClosing) {
      linkState_ = LinkReleased;
      Refresh();
    } else if (!IsDisconnected()) {
      SetDisconnected();
      comm_.StopComm();
    }
  }
  CheckFinished(scripts_[SlotConnect].get());
  CheckFinished(scripts_[SlotSync].get());
  image_->updateMemoryInfo();
  UpdateSettings();
}

void VUniModule::FeedByte(uint8_t b) {
  held_.push_back(b);
  // A byte that arrives while a reply is being handed over waits until that reply is gone.
  if (feeding_) return;
  const FlagUp feeding(feeding_);
  while (!held_.empty()) {
    const uint8_t next = held_.front();
    held_.pop_front();
    FrameByte(next);
  }
}

void VUniModule::FrameByte(uint8_t b) {
  const bool wasEmpty = rxBuffer_.IsEmpty();
  int length = 0;
  if (wasEmpty) {
    length = ReplyLength(b);
    if (length == wire::NoReply) return;  // noise between replies
  }
  rxBuffer_.Add(b);
  if (!wasEmpty) length = ReplyLength(rxBuffer_.GetAt(0));

  // However the poll ends, the reply is done with: the next byte starts a new one.
  struct ReplyDone {
    TInputBuffer& rx;
    ~ReplyDone() { rx.Clear(); }
  };
  if (rxBuffer_.Length() >= static_cast<uint32_t>(length)) {
    // The scripts that wait for a reply now.
    std::array<bool, std::tuple_size_v<decltype(scripts_)>> waiting{};
    for (size_t i = 0; i < scripts_.size(); ++i)
      waiting[i] = scripts_[i] && scripts_[i]->WaitingForSub();
    {
      const ReplyDone done{rxBuffer_};
      const FlagUp complete(lineComplete_);
      Poll();
    }
    // A script that has just taken its reply and goes on sends its next command now, in the
    // same turn, instead of at the next timer tick: the poll such a tick would run, run at once.
    for (size_t i = 0; i < scripts_.size(); ++i) {
      const VGeneralScript* script = scripts_[i].get();
      if (waiting[i] && script->IsRunning() && !script->WaitingForSub()) {
        Poll();
        break;
      }
    }
  } else if (b == wire::FrameEnd) {
    // A reply that ended early: the scripts get a poll, but no line.
    const ReplyDone done{rxBuffer_};
    Poll();
  }
}

bool VUniModule::RequestDisconnect() {
  if (linkState_ == LinkIdle || linkState_ == LinkBusy) {
    linkState_ = LinkClosing;
    ResetScript().StartReset(nullptr);
    Refresh();
  } else if (linkState_ == LinkDisconnected) {
    linkState_ = LinkReleased;
    Refresh();
  }
  return linkState_ == LinkReleased;
}

void VUniModule::LineLost() {
  const bool tell = linkState_ != LinkClosing && (!IsDisconnected() || AnyScriptRunning());
  for (const auto& script : scripts_)
    if (script) script->RequestFail();
  // The scripts end now, each through its own end (progress window closed, port closed by the
  // connect, a closing program's unit counted as released).
  Poll();
  SetDisconnected();
  comm_.StopComm();
  Refresh();
  if (tell) LineReader().ShowDeviceDead();
}

bool VUniModule::Send(const uint8_t* data, int count) {
  if (count < 0 || (count > 0 && data == nullptr)) return false;
  // The port takes at most 65535 bytes per call; longer input goes out in pieces, never cut.
  for (int done = 0; done < count;) {
    const int piece = std::min(count - done, 0xFFFF);
    if (!comm_.WriteCommData(data + done, static_cast<uint16_t>(piece))) return false;
    if (terminal != nullptr) terminal->AddBytes(data + done, piece, VQelTerminal_ltOutBin);
    done += piece;
  }
  return true;
}

bool VUniModule::LoadFile(std::istream& in) {
  return image_->loadFromFile(in);
}
bool VUniModule::LoadFile(const std::string& path) {
  return image_->loadFromFile(path);
}
bool VUniModule::SaveFile(const std::string& path) {
  return image_->saveToFile(path);
}

std::string VUniModule::TypeName(uint8_t c, uint8_t b, uint8_t a) {
  if (c == 0xFF && b == 0xFF && a == 0xFF) return "-";
  if (c == 1 && b == 0xDA) {
    switch (a) {
      case 1:
        return "KX0 Siemens M1";
      case 2:
        return "KX2 Ericsson GM2x";
      case 3:
        return "KX1 Siemens A1, TC35";
    }
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "(%02X-%02X-%02X)", c, b, a);
  return buf;
}

int VUniModule::ShowMessage(const std::string& text, unsigned flags) {
  if (messageBox) return messageBox(text, flags);
  return ui::Loop().MessageBox("KX2 Init", text, flags);
}
