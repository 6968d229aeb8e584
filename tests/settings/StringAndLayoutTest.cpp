// Texts in edits and the service centre combo box; settings written through their descriptors
// into the image and read back.

#include "SettingsFixture.h"
#include "eeprom/VConfigByteArray.h"
#include "eeprom/VEepSettingGroup.h"
#include "settings/VSVBA2TComboBox.h"
#include "settings/VSVBA2TEdit.h"
#include "settings/VSVBA_TelNumPDU.h"
#include "settings/VSettingBit2Check.h"

namespace {

class Strings : public SettingsFixture {};

std::vector<uint8_t> Showing(const VConfigByteArray& image) {
  std::vector<uint8_t> out;
  for (int i = 0; i < image.usedLength(); ++i) out.push_back(image.getShowingByte(i));
  return out;
}

}  // namespace

TEST_F(Strings, TextEditCarriesBytesAndLimitsLength) {
  auto* name = new VSVBA_VorString(top.get());
  auto* edit = Place<ui::Edit>("EditStationName");
  new VSVBA2TEdit(name, edit);
  top->notifyAccept();
  EXPECT_EQ(edit->MaxLength(), 254);
  TypeAndLeave(edit, "Stanice \xE8.");  // Windows-1250 bytes pass unchanged without a constraint
  EXPECT_EQ(name->acceptedBytes(), "Stanice \xE8.");
  EXPECT_EQ(edit->FontColor(), ui::clBlack);

  // A value that only lives in the program may carry its final 0 byte; the edit shows the text.
  auto* prefix = new VSettingVarByteArray(top.get());
  auto* prefixEdit = Place<ui::Edit>("EditInternationalPrefix");
  new VSVBA2TEdit(prefix, prefixEdit);
  prefix->loadBytes(std::string("+420\0", 5));
  top->notifyAccept();
  EXPECT_EQ(prefixEdit->Text(), "+420");
  EXPECT_EQ(prefix->descriptor(), nullptr);
}

TEST_F(Strings, ServiceCentreComboBox) {
  auto* sca = new VSVBA_VorString(top.get());
  auto* combo = Place<ui::ComboBox>("ComboSCA");
  combo->SetItems({"+420602909909 \"CZE Eurotel\"", " +420 603-052-000 \"CZE Radiomobil\"",
                   "+420608005681 \"CZE Cesky Mobil\""});
  new VSVBA2TComboBox_SCA(sca, combo);
  top->notifyAccept();

  // Spaces and dashes are not stored; the entry with the same number is selected.
  combo->UserReplace("+420 603 052-000");
  EXPECT_EQ(sca->bytes(), "+420603052000");
  Leave();
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(sca->acceptedBytes(), "+420603052000");
  EXPECT_EQ(combo->FontColor(), ui::clBlack);

  // Picking an entry from the list stores its number, not the operator's name.
  combo->UserSelect(2);
  Leave();
  EXPECT_EQ(sca->acceptedBytes(), "+420608005681");

  // 18 digits: the first 17 are kept, and the box is red until accepted.
  combo->UserReplace("123456789012345678");
  EXPECT_EQ(sca->bytes(), "12345678901234567");
  Poll();
  EXPECT_EQ(combo->FontColor(), ui::clRed);
  combo->UserKey('\r');
  EXPECT_EQ(combo->Text(), "12345678901234567");
  EXPECT_EQ(combo->ItemIndex(), -1);
  // Enter leaves the whole text selected, so the next number typed replaces it.
  EXPECT_EQ(combo->SelStart(), 0);
  EXPECT_EQ(combo->SelText(), "12345678901234567");

  // A number loaded from the unit selects its entry.
  sca->loadBytes("+420602909909");
  top->notifyAccept();
  EXPECT_EQ(combo->ItemIndex(), 0);
  // Escape brings back the accepted number, in the box too.
  combo->UserReplace("+420");
  combo->UserKey(0x1B);
  EXPECT_EQ(sca->bytes(), "+420602909909");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->SelLength(), static_cast<int>(combo->Text().size()));
  EXPECT_EQ(combo->SelText(), combo->Items()[0]);
  // The next key replaces the selected text; the selection never outgrows the text.
  combo->UserKey('1');
  EXPECT_EQ(combo->Text(), "1");
  EXPECT_EQ(combo->SelStart(), 1);
  EXPECT_EQ(combo->SelLength(), 0);
  combo->UserKey('2');
  EXPECT_EQ(combo->Text(), "12");
  combo->SetComboText("12345");
  combo->SelectAll();
  combo->SetComboText("12");
  EXPECT_EQ(combo->SelText(), "12");
}

TEST_F(Strings, SettingsWrittenThroughTheLayoutAndReadBack) {
  VConfigByteArray image;
  image.setSizeCode(0);
  image.settingTree = top.get();
  image.messageBox = [](const std::string&, unsigned) { return 1; };

  auto* flags = new VSettingByte(top.get());
  auto* bits = new VSettingBitByte(flags);
  auto* box = Place<ui::CheckBox>("CheckPINAuth");
  new VSettingBit2Check(bits->bit(7), box);
  auto* name = new VSVBA_VorString(top.get());
  auto* nameEdit = Place<ui::Edit>("EditStationName");
  new VSVBA2TEdit(name, nameEdit);
  auto* number = new VSVBA_TelNumPDU(top.get());
  auto* numberEdit = Place<ui::Edit>("EditPhoneNumber0");
  new VSVBA_TelNumPDU2TEdit(number, numberEdit);
  auto* empty = new VSVBA_VorString(top.get());
  for (VEepSetting* d : std::vector<VEepSetting*>{flags->descriptor(), name->descriptor(),
                                                  number->descriptor(), empty->descriptor()})
    image.root().addVVC(d);

  flags->loadValue(0x05);  // bits without a check box are written back unchanged
  top->notifyAccept();
  box->UserClick();
  TypeAndLeave(nameEdit, "AB");
  TypeAndLeave(numberEdit, "+123");
  ASSERT_TRUE(image.writeSettings(false, false));
  EXPECT_EQ(Showing(image), (std::vector<uint8_t>{0x85, 'A', 'B', 0, 0xFC, 0x6E, 0xDE, 0x0C, 0,
                                                  0}));  // the empty text is its 0 byte

  // The same bytes interpreted by a tree that holds other values.
  flags->loadValue(0);
  name->loadBytes("something else");
  number->loadBytes(std::string(1, '\0'));
  top->notifyAccept();
  EXPECT_EQ(image.readSettings(), 10);
  EXPECT_EQ(flags->acceptedValue(), 0x85);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(nameEdit->Text(), "AB");
  EXPECT_EQ(numberEdit->Text(), "+123");
  EXPECT_EQ(number->acceptedBytes(), std::string("\xFC\x6E\xDE\x0C\0", 5));
  EXPECT_EQ(empty->acceptedBytes(), "");
  EXPECT_EQ(nameEdit->FontColor(), ui::clBlack);

  // A longer text is a change of the layout and moves what follows.
  image.updateMemoryInfo();
  EXPECT_FALSE(image.root().isChanged());
  TypeAndLeave(nameEdit, "ABC");
  EXPECT_TRUE(image.root().isChanged());
  image.updateMemoryInfo();
  EXPECT_EQ(image.usedLength(), 11);
  ASSERT_TRUE(image.writeSettings(false, false));
  EXPECT_EQ(image.getShowingByte(5), 0xFC);
}
