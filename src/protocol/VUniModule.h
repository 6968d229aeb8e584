#pragma once
// The program's model of one connected unit. It owns the EEPROM image, the layout descriptors, a
// receive buffer and the four scripts; it frames the byte stream from the unit into replies,
// polls the scripts, keeps the link state and shows it on the main window.
//
// How the main window drives it (all on the user-interface thread):
//   - build it with the serial component and the main window, set the hooks, then Init();
//   - every 10 ms: Poll() (the window guards its timer against re-entry);
//   - received bytes: first to the terminal (VQelTerminal_ltInBin), then FeedByte() one by one;
//     a reply that completes is handed to the scripts inside that call, and a script that took
//     it and goes on is polled once more there, so its next command leaves at once;
//   - Connect button: IsDisconnected() ? (ConnectScript() running ? its RequestAbort()
//                                                                 : its StartConnect(nullptr))
//                                      : (ResetScript() running ? its RequestAbort()
//                                                               : its StartReset(nullptr)),
//     then Refresh() so that the caption and the busy state follow at once;
//   - the port reports failed or disconnected: SetDisconnected();
//   - abort buttons: Abort(); typed terminal input: Send();
//   - closing: RequestDisconnect() on every pass until it returns true.
//
// The controls it shows the link on are named in kMainWindowControls and kProgressControls below
// and resolved once: the main window's when the module is built, the progress window's when it
// is set. A window without one of them simply shows nothing there; a control that its window
// destroys is forgotten, never used after.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "eeprom/VList.h"
#include "protocol/TInputBuffer.h"
#include "ui/Component.h"
#include "ui/NamedControl.h"
#include "ui/Ref.h"
#include "ui/Types.h"

class TQlsComm32;
class TerminalSink;
class VConfigByteArray;
class VEepSetting;
class VGeneralScript;
class VScriptReadVorLine;
class VScriptConnect;
class VScriptReset;
class VScriptSyncEEPROM;
namespace ui {
class Control;
class Form;
}  // namespace ui

// The main window's controls the module and its image fill in.
enum class MainControl : uint8_t {
  Connect,    // caption follows the link: connect, cancel, disconnect, break
  Abort,      // enabled while a script runs
  Read,       // enabled while the unit is identified and idle
  Write,      // likewise
  Id,         // the unit's type
  Version,    // its firmware
  Status,     // the link state's colour
  MemTotal,   // the image's memory figures
  MemConfig,  //
  MemFree,    //
  Count
};
inline constexpr ui::SlotEntry<MainControl> kMainWindowControls[] = {
    {MainControl::Connect, {"BtnConnect", ui::Kind::Button}},
    {MainControl::Abort, {"BtnPrerusit", ui::Kind::Button}},
    {MainControl::Read, {"ReadEEPROM", ui::Kind::Button}},
    {MainControl::Write, {"WriteEEPROM", ui::Kind::Button}},
    {MainControl::Id, {"LabelID", ui::Kind::Label}},
    {MainControl::Version, {"LabelVersion", ui::Kind::Label}},
    {MainControl::Status, {"ShapeProgress", ui::Kind::Shape}},
    {MainControl::MemTotal, {"LabelMemLenTotal", ui::Kind::Label}},
    {MainControl::MemConfig, {"LabelMemLenCfg", ui::Kind::Label}},
    {MainControl::MemFree, {"LabelMemLenFree", ui::Kind::Label}},
};
static_assert(ui::SlotsInOrder(kMainWindowControls));

// The progress window's controls that reads and writes fill in.
enum class ProgressControl : uint8_t { Caption, Gauge, Count };
inline constexpr ui::SlotEntry<ProgressControl> kProgressControls[] = {
    {ProgressControl::Caption, {"LabelCaption", ui::Kind::Label}},
    {ProgressControl::Gauge, {"GaugeProg", ui::Kind::Gauge}},
};
static_assert(ui::SlotsInOrder(kProgressControls));

enum VLinkState : uint8_t {
  LinkIdle = 0,          // unit identified, no script running
  LinkBusy = 1,          // unit identified, a script is running
  LinkDisconnected = 3,  // no unit identified
  LinkClosing = 4,       // the unit is being reset before the program ends
  LinkReleased = 5,      // the unit has been let go for the program's end
};

class VUniModule {
 public:
  // Script slots, in the order Poll runs them: the line reader first, so that a parent sees the
  // reply of its command within the same poll.
  enum ScriptSlot { SlotLineReader = 0, SlotConnect = 1, SlotReset = 2, SlotSync = 3 };

  VUniModule(TQlsComm32& comm, ui::Component* mainWindow);
  virtual ~VUniModule();
  VUniModule(const VUniModule&) = delete;
  VUniModule& operator=(const VUniModule&) = delete;

  virtual void Init() { Refresh(); }
  // Length of the whole reply that starts with code; 255 for a byte that cannot start one.
  virtual int ReplyLength(uint8_t code) const;
  // Follows the scripts into the busy state and shows the link state on the main window.
  virtual void Refresh();
  virtual void SetIdentified();
  virtual void SetDisconnected();
  virtual bool IsDisconnected() const;
  // Asks the first running script that is not waiting for a sub-script to stop.
  virtual void Abort();
  // True (and the script made idle) when the script had ended; null slots never have.
  virtual bool CheckFinished(VGeneralScript* script);
  virtual void Poll();
  // Called after the status colour changed.
  virtual void StatusColorChanged() {}
  // The last step of every poll: the settings tree's update. The tree belongs to the device
  // description, which builds it.
  virtual void UpdateSettings() {}
  // True while UpdateSettings has work left for a coming poll.
  virtual bool SettingsPending() const { return false; }
  // After a change of language: the settings' texts (hints) follow it.
  virtual void RetranslateSettings() {}
  virtual void FeedByte(uint8_t b);

  // Program closing: resets an identified unit; true once the unit has been let go.
  bool RequestDisconnect();
  // The line went dead under the port (the other side hung up, the adapter was pulled): the
  // unit is let go as a disconnect lets it go, without the reset that can no longer reach it.
  // What runs ends failed at once instead of waiting through its retries, the port closes, and
  // the user hears "DeviceDead" once when a unit or an exchange was lost (not while the program
  // is closing anyway).
  void LineLost();
  // Queues the bytes to the port and shows them in the terminal as sent; false when the port did
  // not take them (closed), in which case nothing is shown.
  bool Send(const uint8_t* data, int count);
  bool LoadFile(std::istream& in);
  bool LoadFile(const std::string& path);
  bool SaveFile(const std::string& path);
  // The text shown for a unit type (type bytes C, B, A).
  static std::string TypeName(uint8_t c, uint8_t b, uint8_t a);
  // A message box of the application (captioned with its name).
  int ShowMessage(const std::string& text, unsigned flags);
  // Shows a firmware version in LabelVersion.
  void ShowVersion();

  VLinkState LinkState() const { return linkState_; }
  bool LineComplete() const { return lineComplete_; }
  TInputBuffer& RxBuffer() { return rxBuffer_; }
  VConfigByteArray& Image() { return *image_; }
  VList<VEepSetting*>& Descriptors() { return descriptors_; }
  TQlsComm32& Comm() const { return comm_; }
  // Null once the window has been destroyed.
  ui::Component* MainWindow() const { return mainWindow_.get(); }
  VGeneralScript* Script(int slot) const { return scripts_[static_cast<size_t>(slot)].get(); }
  VScriptReadVorLine& LineReader() const;
  VScriptConnect& ConnectScript() const;
  VScriptReset& ResetScript() const;
  VScriptSyncEEPROM& SyncScript() const;
  // Reads the unit's configuration into the image / writes the image's configuration to the
  // unit (blocks of 8 bytes); false when the transfer could not start.
  bool ReadEEPROM();
  bool WriteEEPROM();
  bool AnyScriptRunning() const;
  // Something needs the next polls: a script runs or has ended unseen, the unit is being let
  // go, or the settings have work left over. An idle module may be polled less often; it
  // calls onBusy as soon as work starts.
  bool Busy() const;
  // The colour the status shape shows for a link state.
  static ui::Color StatusColor(VLinkState state);

  // Identification of the last connected unit.
  uint8_t devTypeA = 0xFF;
  uint8_t devTypeB = 0xFF;
  uint8_t devTypeC = 0xFF;
  uint8_t verMinor = 0;
  uint8_t verMajor = 0;
  uint8_t memExtra = 0;  // second byte of the memory information; kept, not interpreted

  // --- What the module needs of the main window ---
  // Runs the window's serial state-change handler with the port's current state (link label,
  // colour, port combo); called first in every Refresh.
  std::function<void()> onRefreshLinkState;
  // The application's message box; none: the loop's box captioned "KX2 Init".
  std::function<int(const std::string& text, unsigned flags)> messageBox;
  // Work has started (a script, an edit of the settings): poll again soon.
  std::function<void()> onBusy;
  // The terminal; none: sent bytes are not shown.
  TerminalSink* terminal = nullptr;

  // The progress window of reads and writes (kProgressControls); none: transfers run without one.
  void SetProgressWindow(ui::Form* window);
  ui::Form* ProgressWindow() const;
  // A resolved control; null when its window lacks it or has destroyed it.
  ui::Control* Shown(MainControl which) const;
  ui::Control* Shown(ProgressControl which) const;

 protected:
  // A control of the main window from a table of names; null when there is none of that kind.
  template <class T = ui::Control>
  T* Find(const ui::NamedControl& entry) const {
    return ui::FindNamedAs<T>(MainWindow(), entry);
  }
  std::array<std::unique_ptr<VGeneralScript>, 4> scripts_;

 private:
  void FrameByte(uint8_t b);

  TQlsComm32& comm_;
  ui::Ref<ui::Component> mainWindow_;
  std::array<ui::Ref<ui::Control>, static_cast<size_t>(MainControl::Count)> mainControls_;
  ui::Ref<ui::Form> progressWindow_;
  std::array<ui::Ref<ui::Control>, static_cast<size_t>(ProgressControl::Count)> progressControls_;
  VList<VEepSetting*> descriptors_{VListMode::Owning};
  VLinkState linkState_ = LinkDisconnected;
  std::unique_ptr<VConfigByteArray> image_;
  bool lineComplete_ = false;
  TInputBuffer rxBuffer_;
  std::optional<ui::Color> shownColor_;
  // Bytes that arrive while a complete reply is being handed to the scripts (a handler's message
  // box lets the receive event run again); they are framed after it, in order.
  bool feeding_ = false;
  std::deque<uint8_t> held_;
};
