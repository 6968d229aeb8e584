#pragma once
// The KX2 unit: the device module with the KX2 memory map, the settings bound to the main
// window's controls, the rows of controls it creates on the phone book, inputs and outputs pages,
// and its report template. Everything particular to the KX2 is laid down once, in the
// constructor.
//
// The memory, in order: a 29-byte header (thirteen group addresses, low byte first, the address of
// group 1 last; the constant bytes 0x3F 0xF5; a checksum), a reserved byte, the used length (high
// byte first), then thirteen relocatable groups: the general bytes, five groups of input texts,
// four of output texts, the phone numbers, their message prefixes and the station texts. A text
// takes its length plus one byte, so every group after a text that grows moves.
//
// How the main window uses it: build it, then set onModified (clear the "saved" flag) and
// isBasicLevel; the base's Poll updates the settings tree as its last step. The settings own the
// controls they are bound to, the created rows included: they leave the window with the module.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "protocol/VUniModule.h"

class VEepReport;
class VEepSetting;
class VEepSettingGroup;
class VESGVorGroup;
class VSettingTop;
class VSettingByte;
class VSettingBit;
class VSettingBitByte;
class VSettingVarByteArray;
class VSVBA_TelNumPDU;
class VSVBA_VorString;
namespace ui {
class Control;
}

// The main window's pages and controls the settings bind to (the rows of the phone book, inputs
// and outputs the description creates itself). A window without one of them leaves that setting
// without a control: it keeps what the unit holds.
enum class BoundControl : uint8_t {
  SheetNumbers,
  SheetDIns,
  SheetDOuts,
  EditVP,
  EditPulseTime,
  RBtnSMSTriesFull,
  RBtnSMSTriesNumber,
  EditNrAttempts,
  CheckNotAuth2,
  CheckStateToT0,
  CheckNotAuthorized,
  CheckPINAuth,
  CheckSendOnMsg,
  CheckSendOffMsg,
  CheckMainPwrOn,
  CheckMainPwrOff,
  CheckPowerSaveMode,
  EditStationName,
  EditPIN,
  ComboSCA,
  EditNotAuthorized,
  EditACOffMsg,
  EditACOnMsg,
  EditOffMsg,
  EditOnMsg,
  EditInternationalPrefix,
  CheckAlwaysInterNumber,
  Count
};
inline constexpr ui::SlotEntry<BoundControl> kBoundControls[] = {
    {BoundControl::SheetNumbers, {"SheetNumbers", ui::Kind::TabSheet}},
    {BoundControl::SheetDIns, {"SheetDIns", ui::Kind::TabSheet}},
    {BoundControl::SheetDOuts, {"SheetDOuts", ui::Kind::TabSheet}},
    {BoundControl::EditVP, {"EditVP", ui::Kind::Edit}},
    {BoundControl::EditPulseTime, {"EditPulseTime", ui::Kind::Edit}},
    {BoundControl::RBtnSMSTriesFull, {"RBtnSMSTriesFull", ui::Kind::RadioButton}},
    {BoundControl::RBtnSMSTriesNumber, {"RBtnSMSTriesNumber", ui::Kind::RadioButton}},
    {BoundControl::EditNrAttempts, {"EditNrAttempts", ui::Kind::Edit}},
    {BoundControl::CheckNotAuth2, {"CheckNotAuth2", ui::Kind::CheckBox}},
    {BoundControl::CheckStateToT0, {"CheckStateToT0", ui::Kind::CheckBox}},
    {BoundControl::CheckNotAuthorized, {"CheckNotAuthorized", ui::Kind::CheckBox}},
    {BoundControl::CheckPINAuth, {"CheckPINAuth", ui::Kind::CheckBox}},
    {BoundControl::CheckSendOnMsg, {"CheckSendOnMsg", ui::Kind::CheckBox}},
    {BoundControl::CheckSendOffMsg, {"CheckSendOffMsg", ui::Kind::CheckBox}},
    {BoundControl::CheckMainPwrOn, {"CheckMainPwrOn", ui::Kind::CheckBox}},
    {BoundControl::CheckMainPwrOff, {"CheckMainPwrOff", ui::Kind::CheckBox}},
    {BoundControl::CheckPowerSaveMode, {"CheckPowerSaveMode", ui::Kind::CheckBox}},
    {BoundControl::EditStationName, {"EditStationName", ui::Kind::Edit}},
    {BoundControl::EditPIN, {"EditPIN", ui::Kind::Edit}},
    {BoundControl::ComboSCA, {"ComboSCA", ui::Kind::ComboBox}},
    {BoundControl::EditNotAuthorized, {"EditNotAuthorized", ui::Kind::Edit}},
    {BoundControl::EditACOffMsg, {"EditACOffMsg", ui::Kind::Edit}},
    {BoundControl::EditACOnMsg, {"EditACOnMsg", ui::Kind::Edit}},
    {BoundControl::EditOffMsg, {"EditOffMsg", ui::Kind::Edit}},
    {BoundControl::EditOnMsg, {"EditOnMsg", ui::Kind::Edit}},
    {BoundControl::EditInternationalPrefix, {"EditInternationalPrefix", ui::Kind::Edit}},
    {BoundControl::CheckAlwaysInterNumber, {"CheckAlwaysInterNumber", ui::Kind::CheckBox}},
};
static_assert(ui::SlotsInOrder(kBoundControls));

class KXADCdect : public VUniModule {
 public:
  // The general bytes of group 1, by their offset in the group.
  enum GeneralByte {
    ByteFlags = 0,       // bit 0 report unauthorised access to T0, 5 state to T0, 6 reply on
                         // unauthorised access, 7 PIN authentication
    ByteMessages = 1,    // bit 0 device on, 1 device off, 2 power back, 3 power failure, 4 save
    ByteValidity = 2,    // validity period of messages
    ByteAcceptSms = 3,   // bit i: SMS commands accepted from Ti
    ByteEventsTo = 4,    // bit i: events sent to Ti
    ByteMentionIn = 5,   // bit i: input i in the state SMS
    ByteInLowHigh = 6,   // bit i: message when input i goes L to H
    ByteInHighLow = 7,   // bit i: message when input i goes H to L
    ByteNegateIn = 8,    // bit i: input i negated
    ByteMentionOut = 9,  // bit i: output i in the state SMS
    ByteNegateOut = 10,  // bit i: output i negated
    BytePulse = 11,      // pulse length in tenths of a second
    ByteTries = 12,      // tries to send an SMS, 0 unlimited
    GeneralByteCount = 13,
  };
  // The message texts of the station, in memory order.
  enum Message { MsgNotAuthorized = 0, MsgPowerOff, MsgPowerOn, MsgDeviceOff, MsgDeviceOn };

  KXADCdect(TQlsComm32& comm, ui::Component* mainWindow);
  ~KXADCdect() override;

  // The settings tree's update, the last step of every poll.
  void UpdateSettings() override;
  bool SettingsPending() const override;
  // After a change of language the per-bit boxes take their hints from it.
  void RetranslateSettings() override;

  VSettingTop& Settings() const { return *top_; }
  VEepReport& Report() const { return *report_; }
  // The unit's command words, which names of inputs and outputs must not contain.
  const std::vector<std::string>& ReservedWords() const { return reservedWords_; }

  VSettingByte& General(GeneralByte offset) const { return *general_[offset]; }
  VSVBA_TelNumPDU& PhoneNumber(int i) const { return *phoneNumbers_.at(i); }
  VSVBA_VorString& PhonePrefix(int i) const { return *prefixes_.at(i); }
  VSVBA_VorString& OutputName(int i) const { return *outputNames_.at(i); }
  VSVBA_VorString& MessageText(Message m) const { return *messages_.at(m); }
  // Kept only in the program: the prefix that makes national numbers international, and whether
  // numbers are always held in international form.
  VSettingVarByteArray& InternationalPrefix() const { return *internationalPrefix_; }
  VSettingBit& AlwaysInternational() const { return *alwaysInternational_; }

  // --- What the module needs of the main window ---
  // A setting changed through a control: the configuration shown is no longer the one saved.
  std::function<void()> onModified;
  // The program runs at the Basic experience level (numbers always international); none: not.
  std::function<bool()> isBasicLevel;

 private:
  // A relocatable group: its address word goes to the header, the group to root and the
  // descriptor list.
  VESGVorGroup* AddGroup();
  // Adds to root and to the descriptor list, which owns it.
  void AddTop(VEepSetting* descriptor);
  void BuildGeneral(VESGVorGroup& group1);
  void BuildPhoneBook(VESGVorGroup& numbers, VESGVorGroup& prefixes);
  void BuildStation(VESGVorGroup& station);
  void BuildInputs(const std::array<VESGVorGroup*, 5>& groups);
  void BuildOutputs(const std::array<VESGVorGroup*, 4>& groups);
  void BuildInternational();
  // A control of the main window from kBoundControls; null when the window lacks it.
  template <class T = ui::Control>
  T* Bound(BoundControl which) const {
    return Find<T>(kBoundControls[static_cast<size_t>(which)].control);
  }

  // A stored text bound to the named edit (the edit may be missing: the text is then kept
  // without one).
  VSVBA_VorString* Text(VEepSettingGroup& group, ui::Control* edit);
  // Binds bit `bit` of a general byte to a check box with the hint key and default given.
  void BindBit(GeneralByte offset, int bit, ui::Control* checkBox, const char* hintKey,
               const std::string& hintDefault);

  // The commands' words outlive the constraints that refer to them: declared before the tree.
  std::vector<std::string> reservedWords_;
  std::unique_ptr<VSettingTop> top_;
  std::unique_ptr<VEepReport> report_;
  VEepSettingGroup* header_ = nullptr;
  std::array<VSettingByte*, GeneralByteCount> general_{};
  std::array<VSettingBitByte*, GeneralByteCount> bits_{};
  std::array<VSVBA_TelNumPDU*, 8> phoneNumbers_{};
  std::array<VSVBA_VorString*, 8> prefixes_{};
  std::array<VSVBA_VorString*, 8> outputNames_{};
  std::array<VSVBA_VorString*, 5> messages_{};
  VSettingVarByteArray* internationalPrefix_ = nullptr;
  VSettingBit* alwaysInternational_ = nullptr;
};
