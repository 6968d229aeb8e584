// The rows and all-bits boxes the KX2 description creates on the main window, their hints, and
// the byte and bit every bound control of the pages stands for.

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "device/Kx2Fixture.h"
#include "settings/VSettingBit2Check.h"

namespace {

using Pages = Kx2Fixture;

TEST_F(Pages, CreatedControlsSitOnTheirPagesAtTheirPlaces) {
  struct Place {
    const char* name;
    const char* page;
    ui::Rect bounds;
  };
  const Place places[] = {
      {"LabelPhoneNumber7", "SheetNumbers", {4, 233, 26, 20}},
      {"CheckAcceptSMSfrom7", "SheetNumbers", {214, 235, 17, 17}},
      {"CheckEventsTo7", "SheetNumbers", {306, 235, 17, 17}},
      {"EditPhonePrefix7", "SheetNumbers", {360, 233, 257, 20}},
      {"CheckTelAcceptSMSAll", "SheetNumbers", {214, 50, 17, 17}},
      {"LabelDin7", "SheetDIns", {2, 225, 38, 20}},
      {"EditDinName7", "SheetDIns", {42, 225, 110, 21}},
      {"CheckDinMessLH7", "SheetDIns", {306, 227, 17, 17}},
      {"CheckDigInMent7", "SheetDIns", {590, 227, 17, 17}},
      {"CheckDinMentionAll", "SheetDIns", {590, 34, 17, 17}},
      {"EditDoutPulse5", "SheetDOuts", {326, 179, 104, 21}},
      {"CheckDigOutCpl7", "SheetDOuts", {566, 227, 17, 17}},
      {"CheckDoutMentionAll", "SheetDOuts", {590, 34, 17, 17}},
  };
  for (const Place& p : places) {
    ui::Control* c = Control(p.name);
    ASSERT_NE(c, nullptr) << p.name;
    EXPECT_EQ(c->Bounds(), p.bounds) << p.name;
    ASSERT_NE(c->Parent(), nullptr) << p.name;
    EXPECT_EQ(c->Parent()->Name(), p.page) << p.name;
    EXPECT_EQ(c->Owner(), &Main()) << p.name;
  }
  EXPECT_NE(Main().FindDeepAs<ui::Edit>("EditDoutPulse5"), nullptr);
  EXPECT_EQ(TextOf("LabelPhoneNumber3"), "T3");
  EXPECT_EQ(TextOf("LabelDin3"), "DIn3");
  EXPECT_EQ(TextOf("LabelDout3"), "DOut3");
  EXPECT_EQ(TextOf("CheckDinMessLH3"), "");
  EXPECT_EQ(Control<ui::Edit>("EditPIN")->MaxLength(), 8);
  EXPECT_EQ(Control<ui::ComboBox>("ComboSCA")->MaxLength(), 57);
  EXPECT_EQ(Control<ui::Edit>("EditPhonePrefix4")->MaxLength(), 99);

  // Creation order is the tab order: the all-bits boxes first, then row by row.
  std::vector<std::string> created;
  for (ui::Control* c : Control("SheetDIns")->Children())
    if (!created.empty() || c->Name() == "CheckDinLHAll") created.push_back(c->Name());
  ASSERT_EQ(created.size(), 4u + 8 * 10);
  const std::vector<std::string> head(created.begin(), created.begin() + 14);
  EXPECT_EQ(head, (std::vector<std::string>{"CheckDinLHAll", "CheckDinHLAll", "CheckDinCplAll",
                                            "CheckDinMentionAll", "LabelDin0", "EditDinName0",
                                            "EditDinStateL0", "EditDinStateH0", "CheckDinMessLH0",
                                            "EditDinMessLH0", "CheckDinMessHL0", "EditDinMessHL0",
                                            "CheckDigInCpl0", "CheckDigInMent0"}));
}

// A language that has only some of the hint texts.
class Hints : public lang::TextSource {
 public:
  explicit Hints(bool english) : english_(english) {}
  std::string GetLangText(const std::string& section, const std::string& key,
                          const std::string& defaultText, int, int) override {
    if (english_ && section == "EEPROM" && key == "HintEventsTo") return "Events to T%d";
    return defaultText;
  }

 private:
  bool english_;
};

TEST_F(Pages, PerBitHintsFollowTheLanguageAndAllBitsBoxesKeepTheirOwn) {
  EXPECT_EQ(Control("CheckEventsTo3")->Hint(), Win1250("Události na T3"));
  EXPECT_EQ(Control("CheckAcceptSMSfrom0")->Hint(), Win1250("Přijímat SMS z T0"));
  EXPECT_EQ(Control("CheckDinMessHL6")->Hint(), "Dig. vstup 6 H->L");
  EXPECT_EQ(Control("CheckDigOutMent2")->Hint(), Win1250("Uvádět dig. výstup 2"));
  EXPECT_EQ(Control("CheckTelSendEventsAll")->Hint(),
            Win1250("Odesílat události na všechna čísla"));
  EXPECT_EQ(Control("CheckDinHLAll")->Hint(), Win1250("Všechny vstupy při H->L"));

  Hints english(true);
  {
    const lang::TextSourceScope installed(&english);
    Module().Settings().retranslateAll();
    EXPECT_EQ(Control("CheckEventsTo3")->Hint(), "Events to T3");
    EXPECT_EQ(Control("CheckTelSendEventsAll")->Hint(),
              Win1250("Odesílat události na všechna čísla"));
  }
  Hints lacking(false);
  const lang::TextSourceScope installed(&lacking);
  Module().Settings().retranslateAll();
  EXPECT_EQ(Control("CheckEventsTo3")->Hint(), Win1250("Události na T3"));
}

TEST_F(Pages, EveryBoxSetsItsOwnBitAndTheNumericFieldsTheirBytes) {
  struct Bit {
    std::string box;
    int offset;
    uint8_t mask;
  };
  std::vector<Bit> bits = {
      {"CheckNotAuth2", 0, 0x01},  {"CheckStateToT0", 0, 0x20},  {"CheckNotAuthorized", 0, 0x40},
      {"CheckPINAuth", 0, 0x80},   {"CheckSendOnMsg", 1, 0x01},  {"CheckSendOffMsg", 1, 0x02},
      {"CheckMainPwrOn", 1, 0x04}, {"CheckMainPwrOff", 1, 0x08}, {"CheckPowerSaveMode", 1, 0x10},
  };
  const std::pair<const char*, int> rows[] = {
      {"CheckDigInMent%d", 5}, {"CheckDinMessLH%d", 6},  {"CheckDinMessHL%d", 7},
      {"CheckDigInCpl%d", 8},  {"CheckDigOutMent%d", 9}, {"CheckDigOutCpl%d", 10},
  };
  for (const auto& [pattern, offset] : rows)
    for (int i = 0; i < 8; ++i)
      bits.push_back({ReplaceNumberMarks(pattern, i), offset, static_cast<uint8_t>(1u << i)});

  const auto empty = Bytes();
  for (const Bit& bit : bits) {
    Click(bit.box);
    auto b = Bytes();
    EXPECT_EQ(b[32 + bit.offset], bit.mask) << bit.box;
    b[32 + bit.offset] = empty[32 + bit.offset];
    b[28] = empty[28];
    EXPECT_EQ(b, empty) << bit.box << " changed another byte";
    Click(bit.box);
  }
  EXPECT_EQ(Bytes(), empty);

  // The all-bits box sets a whole column; a single box then leaves it greyed.
  Click("CheckDinLHAll");
  EXPECT_EQ(Bytes()[32 + KXADCdect::ByteInLowHigh], 0xFF);
  EXPECT_TRUE(Checked("CheckDinMessLH4"));
  Click("CheckDinMessLH4");
  EXPECT_EQ(Bytes()[32 + KXADCdect::ByteInLowHigh], 0xEF);
  EXPECT_EQ(Control<ui::CheckBox>("CheckDinLHAll")->State(), ui::CheckState::Grayed);
  Click("CheckDoutMentionAll");
  EXPECT_EQ(Bytes()[32 + KXADCdect::ByteMentionOut], 0xFF);

  Type("EditPulseTime", "2,5");
  EXPECT_EQ(Bytes()[32 + KXADCdect::BytePulse], 25);
  Click("RBtnSMSTriesNumber");
  Type("EditNrAttempts", "5");
  EXPECT_EQ(Bytes()[32 + KXADCdect::ByteTries], 5);
  Click("RBtnSMSTriesFull");
  EXPECT_EQ(Bytes()[32 + KXADCdect::ByteTries], 0);
}

}  // namespace
