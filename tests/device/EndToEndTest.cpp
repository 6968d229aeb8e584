// The KX2 configuration through the program's main window: read from and written to a simulated
// unit on a pseudo-terminal, saved to a file and loaded again.

#include <algorithm>
#include <cstdio>
#include <map>

#include "app/Dialogs.h"
#include "base/Cp1250.h"
#include "common/TempDir.h"
#include "components/VQelTerminal.h"
#include "device/Kx2Fixture.h"
#include "settings/VSettingBit2Check.h"
#include "sim/PtyUnit.h"
#include "sim/Wire.h"

namespace {

using Kind = sim::TrafficEntry::Kind;

// What the settings pages show: every edit, box and button under the page control.
template <class Fixture>
std::map<std::string, std::string> Snapshot(Fixture& f) {
  std::map<std::string, std::string> shown;
  for (ui::Component* c : f.Main().Components()) {
    auto* control = dynamic_cast<ui::Control*>(c);
    if (control == nullptr) continue;
    bool onPages = false;
    for (ui::Control* p = control->Parent(); p != nullptr; p = p->Parent())
      if (p == f.Main().PageControl1) onPages = true;
    if (!onPages) continue;
    if (auto* box = dynamic_cast<ui::CheckBox*>(control))
      shown[box->Name()] = std::to_string(static_cast<int>(box->State()));
    else if (auto* radio = dynamic_cast<ui::RadioButton*>(control))
      shown[radio->Name()] = radio->Checked() ? "1" : "0";
    else if (dynamic_cast<ui::Edit*>(control) != nullptr ||
             dynamic_cast<ui::ComboBox*>(control) != nullptr)
      shown[control->Name()] = control->Text();
  }
  return shown;
}

// Texts in every field, told apart by a tag; a few boxes and the tries.
template <class Fixture>
void Fill(Fixture& f, const std::string& tag) {
  auto n = [](const char* pattern, int i) { return ReplaceNumberMarks(pattern, i); };
  f.Type("EditStationName", "Stanice " + tag);
  f.Type("EditPIN", "12" + tag);
  f.Type("EditNotAuthorized", "Nepovoleno " + tag);
  f.Type("EditACOffMsg", "Vypadek " + tag);
  f.Type("EditOnMsg", "Zapnuto " + tag);
  for (int i = 0; i < 8; ++i) {
    const std::string k = tag + std::to_string(i);
    f.Type(n("EditPhoneNumber%d", i), "+4206021234" + std::to_string(i) + std::to_string(i));
    f.Type(n("EditPhonePrefix%d", i), "Pro T" + k);
    f.Type(n("EditDinName%d", i), "Vstup" + k);
    f.Type(n("EditDinStateL%d", i), "klid " + k);
    f.Type(n("EditDinStateH%d", i), "poplach " + k);
    f.Type(n("EditDinMessLH%d", i), "Zprava LH " + k);
    f.Type(n("EditDinMessHL%d", i), "Zprava HL " + k);
    f.Type(n("EditDoutName%d", i), "Out" + k);
    f.Type(n("EditDoutStateL%d", i), "VYP" + k);
    f.Type(n("EditDoutStateH%d", i), "ZAP" + k);
    f.Type(n("EditDoutPulse%d", i), "PUL" + k);
  }
  f.Click(tag == "A" ? "CheckEventsTo2" : "CheckAcceptSMSfrom4");
  f.Click(tag == "A" ? "CheckDinMessLH5" : "CheckDigOutCpl1");
  f.Click("RBtnSMSTriesNumber");
  f.Type("EditNrAttempts", tag == "A" ? "7" : "9");
}

struct EndToEnd : Kx2FixtureOn<ui::HeadlessLoop::Clock::Real> {
  sim::PtyUnit unit;

  void SetUp() override {
    Kx2FixtureOn::SetUp();
    ASSERT_TRUE(unit.start());
    loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall& call) {
      return (call.flags & ui::MB_ICONMASK) == ui::MB_ICONINFORMATION ? ui::IDOK : 0;
    });
    Main().ComboComm->UserReplace(unit.slavePath());
    Main().BtnConnect->UserClick();
    ASSERT_TRUE(loop.RunUntil([&] { return !Module().IsDisconnected(); }, 5000));
    ASSERT_TRUE(loop.RunUntil([&] { return Module().LinkState() == LinkIdle; }, 2000));
  }
  bool Transfer(ui::Button* button) {
    unit.clearTraffic();
    loop.ClearBoxes();
    button->UserClick();
    // The transfer ends with its message box.
    return loop.RunUntil([&] { return !loop.Boxes().empty() && Module().LinkState() == LinkIdle; },
                         30000) &&
           loop.Boxes().size() == 1;
  }
  std::vector<int> Addresses(uint8_t code) {
    std::vector<int> out;
    for (const auto& t : unit.traffic())
      if (t.kind == Kind::Received && t.bytes.size() >= 7 && t.bytes[0] == code)
        out.push_back(sim::DecodeHexWord(t.bytes.data() + 1));
    return out;
  }
  // Every block of a configuration of n bytes read `times` times, nothing beyond.
  void ExpectReads(int n, int times) {
    const auto reads = Addresses(0x04);
    for (int a = 0; a < n; a += 8) EXPECT_EQ(std::count(reads.begin(), reads.end(), a), times) << a;
    for (int a : reads) EXPECT_LT(a, n) << a;
  }
};

TEST_F(EndToEnd, AUnitFilledWithTextsIsReadWithAndWithoutVerification) {
  Fill(*this, "A");
  const auto bytes = Bytes();
  const auto shown = Snapshot(*this);
  unit.setBytes(0, sim::Bytes(bytes.begin(), bytes.end()));
  Fill(*this, "B");
  ASSERT_NE(Snapshot(*this), shown);

  ASSERT_TRUE(Transfer(Main().ReadEEPROM));
  EXPECT_EQ(loop.Boxes()[0].text, Win1250("Nastavení zařízení bylo načteno"));
  EXPECT_EQ(Snapshot(*this), shown);
  EXPECT_EQ(Bytes(), bytes);
  ExpectReads(static_cast<int>(bytes.size()), 2);

  // An advanced user may switch the double reading off.
  Main().FormOptions->RGroupExpLevel->SetItemIndex(TFormOptions::Advanced);
  Main().FormOptions->CheckCheckEEREAD->SetChecked(false);
  Fill(*this, "B");
  ASSERT_TRUE(Transfer(Main().ReadEEPROM));
  EXPECT_EQ(Snapshot(*this), shown);
  ExpectReads(static_cast<int>(bytes.size()), 1);
}

TEST_F(EndToEnd, AnEditedConfigurationIsWrittenHeaderLastAndReadBack) {
  Fill(*this, "A");
  const auto shown = Snapshot(*this);
  ASSERT_TRUE(Transfer(Main().WriteEEPROM));
  EXPECT_EQ(loop.Boxes()[0].text, Win1250("Zařízení bylo úspěšně naprogramováno"));
  const auto bytes = Bytes();
  EXPECT_EQ(unit.bytes(0, bytes.size()), sim::Bytes(bytes.begin(), bytes.end()));

  // The header goes out zeroed first and for real last; everything written is read back.
  const auto writes = Addresses(0x05);
  ASSERT_GE(writes.size(), 8u);
  EXPECT_EQ(writes.front(), 0);
  std::vector<int> last(writes.end() - 4, writes.end());
  std::sort(last.begin(), last.end());
  EXPECT_EQ(last, (std::vector<int>{0, 8, 16, 24}));
  EXPECT_EQ(std::count_if(writes.begin(), writes.end(), [](int a) { return a < 32; }), 8);
  const auto reads = Addresses(0x04);
  for (int a : writes) EXPECT_NE(std::find(reads.begin(), reads.end(), a), reads.end()) << a;

  Fill(*this, "B");
  ASSERT_TRUE(Transfer(Main().ReadEEPROM));
  EXPECT_EQ(Snapshot(*this), shown);
}

TEST_F(EndToEnd, TheTerminalShowsEveryFrameOfAVerifiedReadOnALineOfItsOwnInOrder) {
  const auto bytes = Bytes();  // the configuration a fresh start shows
  unit.setBytes(0, sim::Bytes(bytes.begin(), bytes.end()));
  Main().VQelTerminal1->ClearHistory();
  ASSERT_TRUE(Transfer(Main().ReadEEPROM));
  EXPECT_EQ(loop.Boxes()[0].text, Win1250("Nastavení zařízení bylo načteno"));
  ExpectReads(static_cast<int>(bytes.size()), 2);

  // Sent frames as " - #", replies as "+ #", each byte as a space and two hex digits: the
  // command's line always before its reply's.
  std::vector<std::string> frames;
  for (const auto& t : unit.traffic()) {
    if (t.kind == Kind::Event) continue;
    std::string line = t.kind == Kind::Received ? " - #" : "+ #";
    for (uint8_t b : t.bytes) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", b);
      line += hex;
    }
    frames.push_back(line);
  }
  std::vector<std::string> lines;
  for (const auto& line : Main().VQelTerminal1->RichEdit()->Lines()) lines.push_back(line.Text());
  EXPECT_EQ(lines, frames);
  EXPECT_EQ(lines.size(), 2 * Addresses(0x04).size());
}

using Files = Kx2Fixture;

TEST_F(Files, ASavedConfigurationLoadsBackToTheSameBytesAndSettings) {
  TempDir dir;
  Fill(*this, "A");
  const auto shown = Snapshot(*this);
  ASSERT_TRUE(Module().SaveFile(dir / "a.eep"));
  Fill(*this, "B");
  Type("EditDinName3", "");
  ASSERT_TRUE(Module().LoadFile(dir / "a.eep"));
  Settle();
  EXPECT_EQ(Snapshot(*this), shown);
  ASSERT_TRUE(Module().SaveFile(dir / "b.eep"));
  const std::string a = ReadFile(dir / "a.eep");
  EXPECT_EQ(ReadFile(dir / "b.eep"), a);
  EXPECT_EQ(a.size(), 14 + Bytes().size());
}

}  // namespace
