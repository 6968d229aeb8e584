// The KX2 memory map as the unit sees it: header, address words, checksum, groups, and what the
// settings bound to the main window put into them.

#include <algorithm>
#include <sstream>

#include "app/Dialogs.h"
#include "base/Cp1250.h"
#include "device/Kx2Fixture.h"

namespace {

// A configuration file around memory bytes, as the program writes one.
std::string FileOf(const std::vector<uint8_t>& bytes) {
  std::string f = {12, 0, 6, 2, char(0xDA), 1, 8, 1, 0, 0};
  const uint32_t n = static_cast<uint32_t>(bytes.size());
  for (int shift = 0; shift < 32; shift += 8) f += static_cast<char>((n >> shift) & 0xFF);
  f.append(bytes.begin(), bytes.end());
  return f;
}

using MemoryMap = Kx2Fixture;

TEST_F(MemoryMap, TheEmptyConfigurationHasTheHeaderGroupsAndChecksumsOfTheMap) {
  const auto b = Bytes();
  ASSERT_EQ(b.size(), 141u);
  // Groups 2 to 13 lie one after another from 45, eight one-byte items each; group 1's address
  // is the last word although the group comes first.
  for (int g = 0; g < 12; ++g) EXPECT_EQ(Word(b, 2 * g), 45 + 8 * g) << "word " << g;
  EXPECT_EQ(b[24], 32);
  EXPECT_EQ(b[25], 0);
  EXPECT_EQ(b[26], 0x3F);
  EXPECT_EQ(b[27], 0xF5);
  EXPECT_EQ(b[28], HeaderSum(b));
  EXPECT_EQ(b[29], 0);
  EXPECT_EQ(b[30], 0);  // used length, high byte first
  EXPECT_EQ(b[31], 141);
  const std::vector<uint8_t> general(b.begin() + 32, b.begin() + 45);
  EXPECT_EQ(general, (std::vector<uint8_t>{0, 0, 169, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  for (size_t i = 45; i < b.size(); ++i) EXPECT_EQ(b[i], 0) << i;

  // The international prefix and its flag (shown from the Advanced level on) live only in the
  // program.
  Main().FormOptions->RGroupExpLevel->SetItemIndex(TFormOptions::Advanced);
  Main().FormOptions->RGroupLevelsClick();
  EXPECT_EQ(TextOf("EditInternationalPrefix"), "+420");
  EXPECT_TRUE(Checked("CheckAlwaysInterNumber"));
  Type("EditInternationalPrefix", "+421");
  Click("CheckAlwaysInterNumber");
  EXPECT_FALSE(Checked("CheckAlwaysInterNumber"));
  EXPECT_EQ(Bytes(), b);
}

TEST_F(MemoryMap, OneMoreCharacterInAnInputNameMovesEveryLaterGroupAndItsAddress) {
  const auto before = Bytes();
  Type("EditDinName2", "X");
  const auto after = Bytes();
  ASSERT_EQ(after.size(), 142u);
  EXPECT_EQ(Word(after, 0), 45);  // the input names themselves stay
  EXPECT_EQ(after[47], 'X');
  EXPECT_EQ(after[48], 0);
  for (int g = 1; g < 12; ++g) EXPECT_EQ(Word(after, 2 * g), Word(before, 2 * g) + 1) << g;
  EXPECT_EQ(Word(after, 24), 32);
  EXPECT_EQ(after[31], 142);
  EXPECT_EQ(after[28], HeaderSum(after));
  EXPECT_NE(after[28], before[28]);

  // Station texts land in group 13 in their order: name, PIN, service centre, messages.
  Type("EditStationName", "Kotelna");
  Type("EditPIN", "1234");
  Type("EditOnMsg", "Zapnuto");
  const auto b = Bytes();
  const int station = Word(b, 22);
  EXPECT_EQ(std::string(b.begin() + station, b.begin() + station + 8), std::string("Kotelna\0", 8));
  EXPECT_EQ(std::string(b.begin() + station + 8, b.begin() + station + 13),
            std::string("1234\0", 5));
  EXPECT_EQ(std::string(b.end() - 8, b.end()), std::string("Zapnuto\0", 8));
  EXPECT_EQ(static_cast<int>(b.size()), b[30] * 256 + b[31]);
}

TEST_F(MemoryMap, EachAddressWordPointsAtItsOwnGroup) {
  // The first item of every group but the phone numbers, in the order of the address words.
  const char* const first[12] = {"EditDinName0",    "EditDinStateL0",   "EditDinStateH0",
                                 "EditDinMessLH0",  "EditDinMessHL0",   "EditDoutName0",
                                 "EditDoutStateL0", "EditDoutStateH0",  "EditDoutPulse0",
                                 nullptr,           "EditPhonePrefix0", "EditStationName"};
  for (int g = 0; g < 12; ++g)
    if (first[g] != nullptr) Type(first[g], std::string(1, static_cast<char>('A' + g)));
  Type("EditPhoneNumber0", "+420602123456");
  const auto b = Bytes();
  for (int g = 0; g < 12; ++g) {
    if (first[g] != nullptr) {
      EXPECT_EQ(b.at(Word(b, 2 * g)), 'A' + g) << first[g];
    }
    if (g > 0) {
      EXPECT_GT(Word(b, 2 * g), Word(b, 2 * g - 2)) << g;
    }
  }
  EXPECT_GT(Word(b, 20) - Word(b, 18), 8);  // the number takes more than its 0 byte
}

TEST_F(MemoryMap, AnImageWithAnotherConstantByteIsRefusedAndTheSettingsRevert) {
  Type("EditStationName", "Kotelna");
  const auto saved = Bytes();
  // Another value in a constant byte of the header is no KX2 configuration.
  Type("EditStationName", "Sklep");
  for (int at : {26, 27}) {
    auto foreign = saved;
    foreign[at] ^= 0x01;
    loop.ClearBoxes();
    loop.AnswerNextBox(ui::IDOK);
    std::istringstream in(FileOf(foreign));
    EXPECT_FALSE(Module().LoadFile(in)) << at;
    ASSERT_EQ(loop.Boxes().size(), 1u);
    EXPECT_EQ(loop.Boxes()[0].text, Win1250("Chyba při interpretaci nastavení zařízení"));
    EXPECT_EQ(loop.Boxes()[0].flags & ui::MB_ICONMASK, ui::MB_ICONERROR);
    Settle();
    EXPECT_EQ(TextOf("EditStationName"), "Sklep");
  }
}

TEST_F(MemoryMap, AnEntryWithoutANumberNeitherCommandsTheUnitNorReceivesEvents) {
  Type("EditPhoneNumber3", "+420602123456");
  Click("CheckAcceptSMSfrom3");
  Click("CheckEventsTo3");
  EXPECT_TRUE(Checked("CheckAcceptSMSfrom3"));
  EXPECT_TRUE(Checked("CheckEventsTo3"));
  auto b = Bytes();
  EXPECT_EQ(b[32 + KXADCdect::ByteAcceptSms], 0x08);
  EXPECT_EQ(b[32 + KXADCdect::ByteEventsTo], 0x08);

  Click("CheckAcceptSMSfrom5");  // entry 5 has no number: the box does not stay checked
  EXPECT_FALSE(Checked("CheckAcceptSMSfrom5"));

  Type("EditPhoneNumber3", "");
  EXPECT_FALSE(Checked("CheckAcceptSMSfrom3"));
  EXPECT_FALSE(Checked("CheckEventsTo3"));
  b = Bytes();
  EXPECT_EQ(b[32 + KXADCdect::ByteAcceptSms], 0);
  EXPECT_EQ(b[32 + KXADCdect::ByteEventsTo], 0);
  EXPECT_EQ(Word(b, 20) - Word(b, 18), 8);  // eight empty numbers again
}

TEST_F(MemoryMap, TextsFollowTheUnitsRulesForTheirKind) {
  // Names lose the unit's command words; inputs keep spaces, outputs and commands do not; only
  // plain letters reach the unit.
  Type("EditDinName0", "STAV kotle");
  EXPECT_EQ(TextOf("EditDinName0"), " kotle");
  Type("EditDinMessLH1", Win1250("Teplota vysoká"));
  EXPECT_EQ(TextOf("EditDinMessLH1"), "Teplota vysoka");
  Type("EditDoutName1", Win1250("Čerpadlo RESET 1"));
  EXPECT_EQ(TextOf("EditDoutName1"), "Cerpadlo1");
  Type("EditDoutStateL1", "ZAP 1");
  EXPECT_EQ(TextOf("EditDoutStateL1"), "ZAP1");
  Type("EditACOffMsg", Win1250("Výpadek sítě"));
  EXPECT_EQ(TextOf("EditACOffMsg"), "Vypadek site");
  // The station name and the message prefixes are the user's own.
  Type("EditStationName", Win1250("Kotelna č. 2"));
  EXPECT_EQ(TextOf("EditStationName"), Win1250("Kotelna č. 2"));

  // Commands of one output, and the output names, must not begin like one another.
  auto beginsWith = [](const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && (a.rfind(b, 0) == 0 || b.rfind(a, 0) == 0);
  };
  Type("EditDoutStateL2", "ZAP");
  Type("EditDoutStateH2", "ZAPNI");
  Type("EditDoutPulse2", "ZAPNOUT");
  const std::string low = TextOf("EditDoutStateL2"), high = TextOf("EditDoutStateH2"),
                    pulse = TextOf("EditDoutPulse2");
  EXPECT_FALSE(beginsWith(low, high)) << low << " " << high;
  EXPECT_FALSE(beginsWith(low, pulse)) << low << " " << pulse;
  EXPECT_FALSE(beginsWith(high, pulse)) << high << " " << pulse;
  Type("EditDoutName4", "PUMP");
  Type("EditDoutName5", "PUMPA");
  EXPECT_FALSE(beginsWith(TextOf("EditDoutName4"), TextOf("EditDoutName5")));
  EXPECT_EQ(TextOf("EditDoutName5"), "PUMPA");  // the name being edited is kept

  // A national number becomes international while the flag is set.
  Type("EditPhoneNumber0", "602123456");
  EXPECT_EQ(TextOf("EditPhoneNumber0"), "602123456");
  Type("EditPhoneNumber1", "0602123456");
  EXPECT_EQ(TextOf("EditPhoneNumber1"), "+420602123456");
}

}  // namespace

namespace {

TEST_F(MemoryMap, APhoneNumberTypedInGroupsIsStoredWithAllItsDigits) {
  auto* edit = Control<ui::Edit>("EditPhoneNumber0");
  ASSERT_NE(edit, nullptr);
  edit->UserReplace("+420 603-123 457");
  Settle();
  EXPECT_NE(edit->FontColor(), ui::clRed);
  edit->UserKey('\r');
  Settle();
  EXPECT_EQ(edit->Text(), "+420603123457");
  // The number sits in the phone book's first entry: 12 digits, international, then its digits.
  const auto b = Bytes();
  const std::vector<uint8_t> packed = {0xF3, 0x6E, 0xDB, 0x9F, 0xCF, 0xDE, 0xBC, 0x8A, 0x00};
  EXPECT_NE(std::search(b.begin(), b.end(), packed.begin(), packed.end()), b.end());
  // Other characters still end the number in red.
  edit->UserReplace("+420 603/123");
  Settle();
  EXPECT_EQ(edit->FontColor(), ui::clRed);
}

}  // namespace

namespace {

// The program lays its groups out in order, but the address words may put them anywhere: a unit
// or file with the phone numbers after their prefixes is read all the same.
TEST_F(MemoryMap, GroupsAreFoundWhereverTheirAddressWordsPutThem) {
  Type("EditPhoneNumber2", "+420602123456");
  Type("EditPhonePrefix2", "Pro T2");
  Type("EditStationName", "Kotelna");
  const auto b = Bytes();
  const int numbers = Word(b, 18), prefixes = Word(b, 20), station = Word(b, 22);
  ASSERT_LT(numbers, prefixes);
  std::vector<uint8_t> swapped(b.begin(), b.begin() + numbers);
  swapped.insert(swapped.end(), b.begin() + prefixes, b.begin() + station);
  swapped.insert(swapped.end(), b.begin() + numbers, b.begin() + prefixes);
  swapped.insert(swapped.end(), b.begin() + station, b.end());
  const int movedNumbers = numbers + (station - prefixes);
  swapped[18] = static_cast<uint8_t>(movedNumbers & 0xFF);
  swapped[19] = static_cast<uint8_t>(movedNumbers >> 8);
  swapped[20] = static_cast<uint8_t>(numbers & 0xFF);
  swapped[21] = static_cast<uint8_t>(numbers >> 8);
  swapped[28] = HeaderSum(swapped);

  Type("EditPhoneNumber2", "");
  Type("EditPhonePrefix2", "");
  Type("EditStationName", "");
  std::istringstream in(FileOf(swapped));
  EXPECT_TRUE(Module().LoadFile(in));
  Settle();
  EXPECT_EQ(TextOf("EditPhoneNumber2"), "+420602123456");
  EXPECT_EQ(TextOf("EditPhonePrefix2"), "Pro T2");
  EXPECT_EQ(TextOf("EditStationName"), "Kotelna");
  // Laid out again, the groups are back in the program's order.
  EXPECT_EQ(Bytes(), b);
}

}  // namespace
