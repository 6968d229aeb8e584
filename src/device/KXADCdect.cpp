#include "device/KXADCdect.h"

#include "base/Cp1250.h"
#include "components/VQelAppInfo.h"
#include "device/Kx2Pages.h"
#include "device/Kx2Report.h"
#include "eeprom/VConfigByteArray.h"
#include "eeprom/VESFixedByte.h"
#include "eeprom/VESGVorCRC.h"
#include "eeprom/VESGVorGroup.h"
#include "eeprom/VESReserved.h"
#include "eeprom/VESUsedLength2.h"
#include "report/VEepReport.h"
#include "settings/Constraints.h"
#include "settings/VSVBA2TComboBox.h"
#include "settings/VSVBA2TEdit.h"
#include "settings/VSVBA_TelNumPDU.h"
#include "settings/VSetting.h"
#include "settings/VSettingBit2Check.h"
#include "settings/VSettingByte.h"
#include "settings/VSettingByte2TEdit.h"
#include "settings/VSettingVarByteArray.h"
#include "ui/Controls.h"

namespace {

// The unit's SMS command words in its two languages.
std::vector<std::string> CommandWords() {
  return {"STATE",  "STAV",  "BACK",     "ZPET", "NOBACK",
          "NEZPET", "RESET", "SHUTDOWN", "NAME", "JMENO"};
}

// The header's constant bytes: a memory image without them is no KX2 configuration.
constexpr uint8_t kMagic0 = 0x3F;
constexpr uint8_t kMagic1 = 0xF5;
constexpr int kHeaderLength = 32;
constexpr int kRows = 8;

std::string Numbered(const char* pattern, int i) {
  return ReplaceNumberMarks(pattern, i);
}

// The application's name as the application-info component of the window has it now.
std::string AppNameOf(const ui::Component* window) {
  if (window == nullptr) return {};
  for (const ui::Component* c : window->Components())
    if (const auto* info = dynamic_cast<const VQelAppInfo*>(c)) return info->AppName();
  return {};
}

}  // namespace

KXADCdect::KXADCdect(TQlsComm32& comm, ui::Component* mainWindow)
    : VUniModule(comm, mainWindow),
      reservedWords_(CommandWords()),
      top_(std::make_unique<VSettingTop>()),
      report_(std::make_unique<VEepReport>()) {
  BuildKx2Report(*report_, AppNameOf(mainWindow));

  VConfigByteArray& image = Image();
  image.settingTree = top_.get();
  top_->onModified = [this] {
    if (onModified) onModified();
  };
  top_->isBasicLevel = [this] { return isBasicLevel ? isBasicLevel() : false; };
  top_->onPending = [this] {
    if (onBusy) onBusy();
  };

  // The header reaches up to the used length, which a reading unit needs first.
  image.setHeaderLength(kHeaderLength);
  header_ = new VESGVorCRC();
  AddTop(header_);
  AddTop(new VESReserved(1));
  AddTop(new VESUsedLength2());
  auto* group1 = new VESGVorGroup();
  AddTop(group1);  // its address is the header's last word, added below
  BuildGeneral(*group1);

  std::array<VESGVorGroup*, 5> inputGroups{};
  for (VESGVorGroup*& g : inputGroups) g = AddGroup();
  std::array<VESGVorGroup*, 4> outputGroups{};
  for (VESGVorGroup*& g : outputGroups) g = AddGroup();

  {
    kx2::RowMaker page(mainWindow, Bound(BoundControl::SheetNumbers));
    new VSettingByte2GroupCheck(
        general_[ByteAcceptSms],
        page.Check("CheckTelAcceptSMSAll", kx2::kPhoneAcceptLeft, kx2::kPhoneAllTop,
                   Win1250("Ze všech telefonních čísel")));
    new VSettingByte2GroupCheck(
        general_[ByteEventsTo],
        page.Check("CheckTelSendEventsAll", kx2::kPhoneSendLeft, kx2::kPhoneAllTop,
                   Win1250("Odesílat události na všechna čísla")));
  }
  VESGVorGroup* numbers = AddGroup();
  VESGVorGroup* prefixes = AddGroup();
  BuildPhoneBook(*numbers, *prefixes);

  VESGVorGroup* station = AddGroup();
  BuildStation(*station);

  header_->addVVC(group1->addressWord());
  for (uint8_t magic : {kMagic0, kMagic1}) {
    auto* fixed = new VESFixedByte(magic);
    header_->addVVC(fixed);
    Descriptors().Add(fixed);
  }

  BuildInputs(inputGroups);
  BuildOutputs(outputGroups);
  BuildInternational();

  top_->notifyAccept();
  top_->retranslateAll();
}

KXADCdect::~KXADCdect() {
  // The tree first: its editors own controls of the window and its descriptors leave their groups;
  // then the report. The base then frees the image, the descriptors and the scripts.
  Image().settingTree = nullptr;
  top_.reset();
  report_.reset();
}

void KXADCdect::UpdateSettings() {
  top_->update();
}

bool KXADCdect::SettingsPending() const {
  return top_->isPending();
}

void KXADCdect::RetranslateSettings() {
  top_->retranslateAll();
}

void KXADCdect::AddTop(VEepSetting* descriptor) {
  Descriptors().Add(descriptor);
  Image().root().addVVC(descriptor);
}

VESGVorGroup* KXADCdect::AddGroup() {
  auto* group = new VESGVorGroup();
  header_->addVVC(group->addressWord());
  AddTop(group);
  return group;
}

void KXADCdect::BindBit(GeneralByte offset, int bit, ui::Control* checkBox, const char* hintKey,
                        const std::string& hintDefault) {
  auto* box = dynamic_cast<ui::CheckBox*>(checkBox);
  if (hintKey == nullptr) {
    new VSettingBit2Check(bits_[offset]->bit(bit), box);
  } else {
    new VSettingBit2Check(bits_[offset]->bit(bit), box, hintKey, hintDefault, bit);
  }
}

VSVBA_VorString* KXADCdect::Text(VEepSettingGroup& group, ui::Control* edit) {
  auto* text = new VSVBA_VorString(top_.get());
  group.addVVC(text->descriptor());
  new VSVBA2TEdit(text, dynamic_cast<ui::Edit*>(edit));
  return text;
}

void KXADCdect::BuildGeneral(VESGVorGroup& group1) {
  for (int offset = 0; offset < GeneralByteCount; ++offset) {
    auto* byte = new VSettingByte(top_.get());
    group1.addVVC(byte->descriptor());
    general_[offset] = byte;
    switch (offset) {
      case ByteValidity:
        new VSettingByte2ValidityPeriod(byte, Bound<ui::Edit>(BoundControl::EditVP));
        byte->loadValue(169);  // the unit's own default period
        break;
      case BytePulse:
        new VSettingByte2Tenths(byte, Bound<ui::Edit>(BoundControl::EditPulseTime));
        break;
      case ByteTries:
        new VSettingByte2ButButEdit(byte, Bound<ui::RadioButton>(BoundControl::RBtnSMSTriesFull),
                                    Bound<ui::RadioButton>(BoundControl::RBtnSMSTriesNumber),
                                    Bound<ui::Edit>(BoundControl::EditNrAttempts));
        break;
      default:
        // Bits without a control keep what the unit holds, so they are written back unchanged.
        bits_[offset] = new VSettingBitByte(byte);
        break;
    }
    if (offset == ByteFlags) {
      BindBit(ByteFlags, 0, Bound(BoundControl::CheckNotAuth2), nullptr, {});
      BindBit(ByteFlags, 5, Bound(BoundControl::CheckStateToT0), nullptr, {});
      BindBit(ByteFlags, 6, Bound(BoundControl::CheckNotAuthorized), nullptr, {});
      BindBit(ByteFlags, 7, Bound(BoundControl::CheckPINAuth), nullptr, {});
    } else if (offset == ByteMessages) {
      BindBit(ByteMessages, 0, Bound(BoundControl::CheckSendOnMsg), nullptr, {});
      BindBit(ByteMessages, 1, Bound(BoundControl::CheckSendOffMsg), nullptr, {});
      BindBit(ByteMessages, 2, Bound(BoundControl::CheckMainPwrOn), nullptr, {});
      BindBit(ByteMessages, 3, Bound(BoundControl::CheckMainPwrOff), nullptr, {});
      BindBit(ByteMessages, 4, Bound(BoundControl::CheckPowerSaveMode), nullptr, {});
    }
  }
}

void KXADCdect::BuildPhoneBook(VESGVorGroup& numbers, VESGVorGroup& prefixes) {
  kx2::RowMaker page(MainWindow(), Bound(BoundControl::SheetNumbers));
  for (int i = 0; i < kRows; ++i) {
    const int top = kx2::PhoneRowTop(i);
    page.Label(Numbered("LabelPhoneNumber%d", i), 4, top, kx2::kPhoneTitleWidth, 20,
               Numbered("T%d", i));

    auto* number = new VSVBA_TelNumPDU(top_.get());
    numbers.addVVC(number->descriptor());
    new VSVBA_TelNumPDU2TEdit(
        number, page.Edit(Numbered("EditPhoneNumber%d", i), kx2::kPhoneNumberLeft, top,
                          kx2::kPhoneNumberWidth, 20));
    // An entry without a number neither commands the unit nor receives its events.
    const uint8_t mask = static_cast<uint8_t>(1u << i);
    new VSB_ConstraintNStr2Bit(general_[ByteAcceptSms], mask, 0, {number}, false);
    new VSB_ConstraintNStr2Bit(general_[ByteEventsTo], mask, 0, {number}, false);
    phoneNumbers_[i] = number;

    BindBit(ByteAcceptSms, i,
            page.Check(Numbered("CheckAcceptSMSfrom%d", i), kx2::kPhoneAcceptLeft, top + 2),
            "HintAcceptSMSfrom", Win1250("Přijímat SMS z T%d"));
    BindBit(ByteEventsTo, i,
            page.Check(Numbered("CheckEventsTo%d", i), kx2::kPhoneSendLeft, top + 2),
            "HintEventsTo", Win1250("Události na T%d"));

    ui::Edit* prefixEdit = page.Edit(Numbered("EditPhonePrefix%d", i), kx2::kPhonePrefixLeft, top,
                                     kx2::kPhonePrefixWidth, 20);
    prefixes_[i] = Text(prefixes, prefixEdit);
    prefixEdit->SetMaxLength(99);
  }
}

void KXADCdect::BuildStation(VESGVorGroup& station) {
  Text(station, Bound(BoundControl::EditStationName));
  if (auto* pin = Bound<ui::Edit>(BoundControl::EditPIN)) {
    Text(station, pin);
    pin->SetMaxLength(8);
  } else {
    Text(station, nullptr);
  }
  auto* sca = new VSVBA_VorString(top_.get());
  station.addVVC(sca->descriptor());
  auto* combo = Bound<ui::ComboBox>(BoundControl::ComboSCA);
  new VSVBA2TComboBox_SCA(sca, combo);
  if (combo != nullptr) combo->SetMaxLength(57);

  const BoundControl edits[] = {BoundControl::EditNotAuthorized, BoundControl::EditACOffMsg,
                                BoundControl::EditACOnMsg, BoundControl::EditOffMsg,
                                BoundControl::EditOnMsg};
  for (int m = 0; m < 5; ++m) {
    messages_[m] = Text(station, Bound(edits[m]));
    new VSVBA_ConstraintSubChar(messages_[m], 0);  // plain letters only
  }
}

void KXADCdect::BuildInputs(const std::array<VESGVorGroup*, 5>& groups) {
  using kx2::kColumnLeft;
  using kx2::kColumnWidth;
  kx2::RowMaker page(MainWindow(), Bound(BoundControl::SheetDIns));
  struct AllBox {
    const char* name;
    int column;
    std::string hint;
    GeneralByte byte;
  };
  const AllBox all[] = {
      {"CheckDinLHAll", 4, Win1250("Všechny vstupy při L->H"), ByteInLowHigh},
      {"CheckDinHLAll", 6, Win1250("Všechny vstupy při H->L"), ByteInHighLow},
      {"CheckDinCplAll", 8, Win1250("Negovat všechny vstupy"), ByteNegateIn},
      {"CheckDinMentionAll", 9, Win1250("Uvádět všechny vstupy"), ByteMentionIn},
  };
  for (const AllBox& a : all)
    new VSettingByte2GroupCheck(general_[a.byte],
                                page.Check(a.name, kColumnLeft[a.column], kx2::kIoAllTop, a.hint));

  for (int i = 0; i < kRows; ++i) {
    const int top = kx2::IoRowTop(i);
    auto edit = [&](const char* pattern, int column) {
      return page.Edit(Numbered(pattern, i), kColumnLeft[column], top, kColumnWidth[column], 21);
    };
    auto check = [&](const char* pattern, int column) {
      return page.Check(Numbered(pattern, i), kColumnLeft[column], top + 2);
    };
    page.Label(Numbered("LabelDin%d", i), kColumnLeft[0], top, kColumnWidth[0], 20,
               Numbered("DIn%d", i));

    VSVBA_VorString* name = Text(*groups[0], edit("EditDinName%d", 1));
    new VSVBA_ConstraintSubstr(name, reservedWords_);
    new VSVBA_ConstraintSubChar(name, 0);
    new VSVBA_ConstraintSubChar(Text(*groups[1], edit("EditDinStateL%d", 2)), 0);
    new VSVBA_ConstraintSubChar(Text(*groups[2], edit("EditDinStateH%d", 3)), 0);

    BindBit(ByteInLowHigh, i, check("CheckDinMessLH%d", 4), "HintDigInLH", "Dig. vstup %d L->H");
    new VSVBA_ConstraintSubChar(Text(*groups[3], edit("EditDinMessLH%d", 5)), 0);

    ui::CheckBox* highLow = check("CheckDinMessHL%d", 6);
    highLow->SetHint(Numbered("Dig. vstup %d H->L", i));
    BindBit(ByteInHighLow, i, highLow, "HintDigInHL", "Dig. vstup %d H->L");
    new VSVBA_ConstraintSubChar(Text(*groups[4], edit("EditDinMessHL%d", 7)), 0);

    BindBit(ByteNegateIn, i, check("CheckDigInCpl%d", 8), "HintDigInCpl", "Negovat dig. vstup %d");
    BindBit(ByteMentionIn, i, check("CheckDigInMent%d", 9), "HintDigInMent",
            Win1250("Uvádět dig. vstup %d"));
  }
}

void KXADCdect::BuildOutputs(const std::array<VESGVorGroup*, 4>& groups) {
  using kx2::kColumnLeft;
  using kx2::kColumnWidth;
  kx2::RowMaker page(MainWindow(), Bound(BoundControl::SheetDOuts));
  new VSettingByte2GroupCheck(general_[ByteNegateOut],
                              page.Check("CheckDoutCplAll", kColumnLeft[8], kx2::kIoAllTop,
                                         Win1250("Negovat všechny výstupy")));
  new VSettingByte2GroupCheck(general_[ByteMentionOut],
                              page.Check("CheckDoutMentionAll", kColumnLeft[9], kx2::kIoAllTop,
                                         Win1250("Uvádět všechny výstupy")));

  for (int i = 0; i < kRows; ++i) {
    const int top = kx2::IoRowTop(i);
    auto edit = [&](const char* pattern, int column) {
      return page.Edit(Numbered(pattern, i), kColumnLeft[column], top, kColumnWidth[column], 21);
    };
    page.Label(Numbered("LabelDout%d", i), kColumnLeft[0], top, kColumnWidth[0], 20,
               Numbered("DOut%d", i));

    // Commands are single words: no spaces, and none may begin like another of the same output.
    VSVBA_VorString* name = Text(*groups[0], edit("EditDoutName%d", 1));
    new VSVBA_ConstraintSubstr(name, reservedWords_);
    new VSVBA_ConstraintSubChar(name, ' ');
    outputNames_[i] = name;
    VSVBA_VorString* low = Text(*groups[1], edit("EditDoutStateL%d", 2));
    new VSVBA_ConstraintSubChar(low, ' ');
    VSVBA_VorString* high = Text(*groups[2], edit("EditDoutStateH%d", 3));
    new VSVBA_ConstraintSubChar(high, ' ');
    VSVBA_VorString* pulse = Text(*groups[3], edit("EditDoutPulse%d", 5));
    new VSVBA_ConstraintSubChar(pulse, ' ');

    BindBit(ByteNegateOut, i, page.Check(Numbered("CheckDigOutCpl%d", i), kColumnLeft[8], top + 2),
            "HintDigOutCpl", Win1250("Negovat dig. výstup %d"));
    BindBit(ByteMentionOut, i,
            page.Check(Numbered("CheckDigOutMent%d", i), kColumnLeft[9], top + 2), "HintDigOutMent",
            Win1250("Uvádět dig. výstup %d"));

    new VSVBA_ConstraintDifPref(high, low);
    new VSVBA_ConstraintDifPref(pulse, low);
    new VSVBA_ConstraintDifPref(pulse, high);
  }

  // Output names are told apart by their beginnings too.
  std::vector<VSettingVarByteArray*> names(outputNames_.begin(), outputNames_.end());
  for (VSVBA_VorString* name : outputNames_) new VSVBA_ConstraintDifPrefX(name, names);
}

void KXADCdect::BuildInternational() {
  internationalPrefix_ = new VSettingVarByteArray(top_.get());
  new VSVBA2TEdit(internationalPrefix_, Bound<ui::Edit>(BoundControl::EditInternationalPrefix));
  internationalPrefix_->loadBytes(std::string("+420\0", 5));

  alwaysInternational_ = new VSettingBit(top_.get());
  new VSettingBit2Check(alwaysInternational_,
                        Bound<ui::CheckBox>(BoundControl::CheckAlwaysInterNumber));
  alwaysInternational_->loadValue(1);
  for (VSVBA_TelNumPDU* number : phoneNumbers_)
    new VValidatorNumToInternum(alwaysInternational_, number, internationalPrefix_);
}
