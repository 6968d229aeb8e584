// Rules between settings, seen through the controls as a user sees them.

#include "SettingsFixture.h"
#include "settings/Constraints.h"
#include "settings/PhoneNumber.h"
#include "settings/Transliteration.h"
#include "settings/VSVBA2TEdit.h"
#include "settings/VSVBA_TelNumPDU.h"
#include "settings/VSettingBit2Check.h"

namespace {

const std::vector<std::string> kReservedWords = {"STATE",  "STAV",  "BACK",     "ZPET", "NOBACK",
                                                 "NEZPET", "RESET", "SHUTDOWN", "NAME", "JMENO"};

class Constraints : public SettingsFixture {
 protected:
  VSVBA_VorString* Text(const std::string& name, ui::Edit** edit) {
    auto* setting = new VSVBA_VorString(top.get());
    *edit = Place<ui::Edit>(name);
    new VSVBA2TEdit(setting, *edit);
    return setting;
  }
};

}  // namespace

TEST_F(Constraints, EmptyNumberCannotAcceptSmsNorReceiveEvents) {
  auto* accept = new VSettingByte(top.get());
  auto* events = new VSettingByte(top.get());
  auto* acceptBits = new VSettingBitByte(accept);
  auto* acceptBox = Place<ui::CheckBox>("CheckAcceptSMSfrom2");
  new VSettingBit2Check(acceptBits->bit(2), acceptBox);
  auto* number = new VSVBA_TelNumPDU(top.get());
  auto* edit = Place<ui::Edit>("EditPhoneNumber2");
  new VSVBA_TelNumPDU2TEdit(number, edit);
  new VSB_ConstraintNStr2Bit(accept, 0x04, 0, {number}, false);
  new VSB_ConstraintNStr2Bit(events, 0x04, 0, {number}, false);
  accept->loadValue(0xFF);
  events->loadValue(0x0F);
  top->notifyAccept();
  EXPECT_EQ(accept->acceptedValue(), 0xFB);  // the entry has no number yet
  EXPECT_EQ(events->acceptedValue(), 0x0B);

  TypeAndLeave(edit, "602123456");
  acceptBox->UserClick();
  Leave();
  EXPECT_EQ(accept->acceptedValue(), 0xFF);
  events->loadValue(0x0F);
  top->notifyAccept();
  EXPECT_EQ(events->acceptedValue(), 0x0F);
  TypeAndLeave(edit, "");
  EXPECT_EQ(accept->acceptedValue(), 0xFB);  // cleared in the same update
  EXPECT_EQ(events->acceptedValue(), 0x0B);
  EXPECT_FALSE(acceptBox->Checked());
  acceptBox->UserClick();
  Poll();
  EXPECT_EQ(accept->getValue(), 0xFB);           // undone at once
  EXPECT_EQ(acceptBox->FontColor(), ui::clRed);  // the box says otherwise until it is left
  Leave();
  EXPECT_FALSE(acceptBox->Checked());
  EXPECT_EQ(acceptBox->FontColor(), ui::clBlack);

  // With notify, the watched texts show whether the bits use them.
  auto* prefix = new VSVBA_VorString(top.get());
  auto* prefixEdit = Place<ui::Edit>("EditPhonePrefix2");
  new VSVBA2TEdit(prefix, prefixEdit);
  auto* flags = new VSettingByte(top.get());
  new VSB_ConstraintNStr2Bit(flags, 0x01, 0, {prefix}, true);
  top->notifyAccept();
  EXPECT_EQ(prefixEdit->BackColor(), ui::clBtnFace);
  TypeAndLeave(prefixEdit, "x");
  flags->loadValue(0x01);
  top->notifyAccept();
  EXPECT_EQ(prefixEdit->BackColor(), ui::clWindow);
}

TEST_F(Constraints, ReservedWordsAndSevenBitTexts) {
  ui::Edit* nameEdit;
  auto* name = Text("EditDoutName0", &nameEdit);
  new VSVBA_ConstraintSubstr(name, kReservedWords);
  new VSVBA_ConstraintSubChar(name, ' ');
  top->notifyAccept();
  TypeAndLeave(nameEdit, "NOBACK");
  EXPECT_EQ(nameEdit->Text(), "NO");  // BACK comes first in the list
  TypeAndLeave(nameEdit, "STATESTAV");
  EXPECT_EQ(name->acceptedBytes(), "");
  TypeAndLeave(nameEdit,
               "\xC8"
               "erpadlo \x8A"
               "ACHTA\xA0"
               "1");  // Čerpadlo ŠACHTA<nbsp>1
  EXPECT_EQ(nameEdit->Text(), "CerpadloSACHTA1");

  ui::Edit* messageEdit;
  auto* message = Text("EditACOffMsg", &messageEdit);
  new VSVBA_ConstraintSubChar(message, '\0');
  TypeAndLeave(messageEdit, "V\xFDpadek s\xEDt\xEC \x84OK\x93");
  EXPECT_EQ(message->acceptedBytes(), "Vypadek site \"OK\"");

  // Every replacement is 7-bit and printable.
  for (int c = 0x80; c <= 0xFF; ++c) {
    const uint8_t r = Transliterate(static_cast<uint8_t>(c));
    EXPECT_TRUE(r >= 0x20 && r < 0x7F) << c;
  }
  EXPECT_EQ(Transliterate(0xE8), 'c');
  EXPECT_EQ(Transliterate(0xD8), 'R');
}

TEST_F(Constraints, CommandsMustNotBeginAlike) {
  ui::Edit *lowEdit, *highEdit, *pulseEdit;
  auto* low = Text("EditDoutStateL0", &lowEdit);
  auto* high = Text("EditDoutStateH0", &highEdit);
  auto* pulse = Text("EditDoutPulse0", &pulseEdit);
  new VSVBA_ConstraintDifPref(high, low);
  new VSVBA_ConstraintDifPref(pulse, low);
  new VSVBA_ConstraintDifPref(pulse, high);
  top->notifyAccept();
  TypeAndLeave(lowEdit, "OUT1");
  TypeAndLeave(highEdit, "OUT1");
  EXPECT_EQ(lowEdit->Text(), "OUT2");  // the text not being edited is bumped
  EXPECT_EQ(highEdit->Text(), "OUT1");
  TypeAndLeave(pulseEdit, "OU");  // the shorter length decides the bumped position
  EXPECT_EQ(pulseEdit->Text(), "OU");
  EXPECT_EQ(lowEdit->Text(), "OVT2");
  EXPECT_EQ(highEdit->Text(), "OVT1");
  EXPECT_EQ(low->acceptedBytes(), "OVT2");

  // Output names as a set: the entry being edited stays, the others move.
  std::vector<VSettingVarByteArray*> names;
  std::vector<ui::Edit*> edits(3);
  for (int i = 0; i < 3; ++i) names.push_back(Text("EditDoutName" + std::to_string(i), &edits[i]));
  for (VSettingVarByteArray* n : names) new VSVBA_ConstraintDifPrefX(n, names);
  top->notifyAccept();
  TypeAndLeave(edits[0], "PUMP9");
  TypeAndLeave(edits[1], "PUMP9X");
  EXPECT_EQ(edits[0]->Text(), "PUMPA");
  EXPECT_EQ(edits[1]->Text(), "PUMP9X");
  TypeAndLeave(edits[2], "PUMPA");
  EXPECT_EQ(edits[0]->Text(), "PUMPB");
  EXPECT_EQ(edits[2]->Text(), "PUMPA");

  EXPECT_EQ(BumpCharacter('z'), 'a');
  EXPECT_EQ(BumpCharacter('Z'), 'A');
  EXPECT_EQ(BumpCharacter('\xFF'), 'A');  // never the 0 byte that would end the text
}

TEST_F(Constraints, NationalNumbersBecomeInternational) {
  auto* always = new VSettingBit(top.get());
  auto* alwaysBox = Place<ui::CheckBox>("CheckAlwaysInterNumber");
  new VSettingBit2Check(always, alwaysBox);
  auto* prefix = new VSettingVarByteArray(top.get());
  auto* prefixEdit = Place<ui::Edit>("EditInternationalPrefix");
  new VSVBA2TEdit(prefix, prefixEdit);
  auto* number = new VSVBA_TelNumPDU(top.get());
  auto* edit = Place<ui::Edit>("EditPhoneNumber0");
  new VSVBA_TelNumPDU2TEdit(number, edit);
  new VValidatorNumToInternum(always, number, prefix);
  prefix->loadBytes(std::string("+420\0", 5));
  always->loadValue(1);
  top->notifyAccept();

  edit->UserReplace("0602123456");
  Poll();  // converted as soon as the tree updates, while the user is still in the edit
  EXPECT_EQ(phone::toText(number->bytes()), "+420602123456");
  Leave();
  EXPECT_EQ(edit->Text(), "+420602123456");
  for (const char* kept : {"602123456", "+0602123456"}) {
    TypeAndLeave(edit, kept);
    EXPECT_EQ(edit->Text(), kept);
  }
  TypeAndLeave(edit, "0602,145");  // international by its type
  EXPECT_EQ(edit->Text(), "+0602");

  // A typed prefix has no final 0; characters that are no digit count as 0.
  TypeAndLeave(prefixEdit, "+4x");
  TypeAndLeave(edit, "012");
  EXPECT_EQ(edit->Text(), "+4012");
  // A number whose international form would not fit the unit's twenty digits stays as typed:
  // cut short, it would be another number.
  TypeAndLeave(prefixEdit, "+123456789012345678");
  TypeAndLeave(edit, "0987654321");
  EXPECT_EQ(edit->Text(), "0987654321");
  TypeAndLeave(edit, "098");
  EXPECT_EQ(edit->Text(), "+12345678901234567898");

  TypeAndLeave(prefixEdit, "+420");
  alwaysBox->UserClick();
  TypeAndLeave(edit, "0602");
  EXPECT_EQ(edit->Text(), "0602");
  // At the Basic level the flag does not matter.
  top->isBasicLevel = [] { return true; };
  TypeAndLeave(edit, "0603");
  EXPECT_EQ(edit->Text(), "+420603");
}
