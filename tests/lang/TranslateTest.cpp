#include <gtest/gtest.h>

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "common/TempDir.h"
#include "common/TestLoop.h"
#include "lang/BuiltinLanguages.h"
#include "lang/LngFile.h"
#include "lang/VQelLanguage.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/Menu.h"

using namespace lang;

namespace {

template <class T>
T* Make(ui::Component* owner, const std::string& name, const std::string& text = {}) {
  auto* c = new T(owner, name);
  if (auto* control = dynamic_cast<ui::Control*>(c)) {
    if (auto* parent = dynamic_cast<ui::Control*>(owner)) control->SetParent(parent);
    control->SetText(text);
  }
  return c;
}

// Windows shaped like the program's, with their Czech captions.
struct TranslateFixture : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  TempDir dir;
  ui::Application app;
  ui::Form* main = new ui::Form(&app, "FormMain");
  ui::Form* options = new ui::Form(&app, "FormOptions");
  ui::Form* about = new ui::Form(&app, "FormAbout");
  VQelLanguage* lang = nullptr;

  ui::RadioGroup* terminal = nullptr;
  ui::ComboBox* combo = nullptr;
  ui::GroupBox* memory = nullptr;
  ui::CheckBox* acceptAll = nullptr;
  ui::Memo* address = nullptr;
  int terminalClicks = 0;

  void SetUp() override {
    main->SetText("KX2 Init");
    memory = Make<ui::GroupBox>(main, "GroupMemoryInfo", Win1250("Velikost paměti"));
    acceptAll = Make<ui::CheckBox>(main, "CheckTelAcceptSMSAll");
    acceptAll->SetHint(Win1250("Ze všech telefonních čísel"));
    auto* file = new ui::MenuItem(main, "MenuFile");
    file->SetCaption("&Soubor");
    auto* dialog = new ui::FileDialog(main, "SaveDialog2");
    dialog->SetFilter(Win1250("Zpráva HTML (*.html)|*.html|Všechny soubory (*.*)|*.*"));

    options->SetText("Nastaveni");
    terminal = Make<ui::RadioGroup>(options, "RGroupTerminal", Win1250("Terminál"));
    terminal->SetItems({Win1250("Skrýt"), "Zobrazit"});
    terminal->SetItemIndex(1);
    terminal->OnClick = [this](ui::Control&) { ++terminalClicks; };
    combo = Make<ui::ComboBox>(options, "ComboLanguage");

    address = Make<ui::Memo>(about, "MemoAddress");
    address->SetLines({"1", "2", "3", "4"});
    address->SetHint("as built");
    Make<ui::Button>(about, "BtnDone", "Hotovo");
  }

  void Load(const std::vector<std::string>& builtins = BuiltinLanguageTexts()) {
    lang = new VQelLanguage(main, "VQelLanguage1");
    lang->SetUserDefaultLanguageId(0x0405);
    lang->SetStartupLanguages(builtins);
    lang->SetCfgDirectory(dir.Path());
    lang->SetExceptionList({"FormAbout.MemoAddress", "FormAbout.MemoContact"});
    lang->Loaded();
    lang->SetLangCombo(combo);
  }
};

std::string Language(const std::string& id, const std::string& name, const std::string& body) {
  return "[General]\r\nLanguageName=\"" + name + "\"\r\nLanguageId=\"" + id + "\"\r\n\r\n" + body;
}

}  // namespace

TEST_F(TranslateFixture, LanguageChangeTranslatesEveryWindow) {
  Load();
  terminalClicks = 0;
  EXPECT_EQ(combo->Items(), (std::vector<std::string>{Win1250("Česky"), "English"}));
  EXPECT_EQ(combo->ItemIndex(), 0);
  // Czech is applied at start: the frame is padded, the check box gets the language's hint.
  EXPECT_EQ(memory->Text(), Win1250(" Velikost paměti "));
  EXPECT_EQ(acceptAll->Hint(), Win1250("Přijímat SMS ze všech telefonních čísel"));
  EXPECT_EQ(options->FontCharset(), 238);

  options->Show();
  combo->UserSelect(1);  // the user picks English in the options dialog
  EXPECT_EQ(lang->GetCurrLanguage(), "English");
  EXPECT_EQ(main->Text(), "Configuration tool KX2 Init");
  EXPECT_EQ(memory->Text(), " Memory Size ");
  EXPECT_EQ(acceptAll->Hint(), "Accept SMSs from all phone numbers");
  EXPECT_EQ(main->FindDeepAs<ui::MenuItem>("MenuFile")->Caption(), "&File");
  EXPECT_EQ(terminal->Text(), " Terminal ");
  EXPECT_EQ(terminal->Items(), (std::vector<std::string>{"Hidden", "Shown"}));
  EXPECT_EQ(terminal->ItemIndex(), 1);
  EXPECT_EQ(terminalClicks, 0);
  EXPECT_EQ(options->FontCharset(), 0);
  // The language list itself is never translated.
  EXPECT_EQ(combo->Items(), (std::vector<std::string>{Win1250("Česky"), "English"}));
  EXPECT_EQ(combo->ItemIndex(), 1);
  // Excepted: the caption and hint stay, the lines come from the language.
  EXPECT_EQ(address->Hint(), "as built");
  EXPECT_EQ(address->Lines(), (std::vector<std::string>{"Qel s.r.o.", Win1250("Technická 12"),
                                                        "616 00 Brno", "Czech Republic"}));
  EXPECT_EQ(static_cast<ui::Control*>(about->FindDeep("BtnDone"))->Text(), "Close");

  lang->SetCurrLanguage(Win1250("Česky"));
  EXPECT_EQ(terminal->Items(), (std::vector<std::string>{Win1250("Skrýt"), "Zobrazit"}));
  EXPECT_EQ(main->Text(), Win1250("Konfigurační nástroj KX2 Init"));
}

TEST_F(TranslateFixture, ListsPaddingExceptionsAndFilters) {
  WriteFile(
      dir / "test.lng",
      Language("0x0407", "Test",
               "[FormMain]\r\nGroupMemoryInfo=\"Memory Size\"\r\nSaveDialog2_Filter_0=\"HTML\"\r\n"
               "Unnamed=\"never\"\r\nInner=\"never either\"\r\n"
               "\r\n[FormAbout]\r\nMemoAddress=\"caption\"\r\nMemoAddress_Hint=\"hint\"\r\n"
               "MemoAddress_Count=2\r\nMemoAddress_0=\"first\"\r\nBtnDone_Hint=\"Closes\"\r\n"
               "\r\n[FormOptions]\r\nRGroupTerminal_Count=\"many\"\r\n"));
  auto* unnamed = new ui::Panel(main);
  auto* inner = Make<ui::Label>(unnamed, "Inner", "stays");
  std::vector<std::string> translated;
  Load();
  lang->OnTranslated = [&](VQelLanguage&, ui::Component& c, const std::string& form) {
    translated.push_back(form + "." + c.Name());
  };
  lang->SetCurrLanguage("Test");
  EXPECT_EQ(memory->Text(), " Memory Size ");
  EXPECT_EQ(main->FindDeepAs<ui::FileDialog>("SaveDialog2")->Filter(),
            Win1250("HTML|*.html|Všechny soubory (*.*)|*.*"));
  EXPECT_EQ(inner->Text(), "stays");  // owned by a component without a name
  // A count of 2 leaves exactly two lines; a missing entry becomes empty.
  EXPECT_EQ(address->Lines(), (std::vector<std::string>{"first", ""}));
  EXPECT_EQ(address->Hint(), "as built");
  // An unreadable count leaves the list as it was.
  EXPECT_EQ(terminal->Items(), (std::vector<std::string>{Win1250("Skrýt"), "Zobrazit"}));
  EXPECT_NE(std::find(translated.begin(), translated.end(), "FormAbout.BtnDone"), translated.end());
  EXPECT_EQ(std::find(translated.begin(), translated.end(), "FormAbout.MemoAddress"),
            translated.end());
  EXPECT_EQ(std::find(translated.begin(), translated.end(), "FormOptions.ComboLanguage"),
            translated.end());

  // A frame caption already standing off by one blank stays; without padding none is added.
  memory->SetText(" Kept ");
  lang->TranslateTree("Nothing", *memory);
  EXPECT_EQ(memory->Text(), " Kept ");
  lang->SetPad(0);
  memory->SetText("Bare");
  lang->TranslateTree("Nothing", *memory);
  EXPECT_EQ(memory->Text(), "Bare");
}

TEST_F(TranslateFixture, WindowsCreatedLaterAreTranslatedOnceBuilt) {
  Load();
  lang->SetCurrLanguage("English");
  // Built the way a dialog's constructor builds itself: the form first, its controls after.
  auto* later = new ui::Form(&app, "FormOptions");
  auto* check = Make<ui::CheckBox>(later, "CheckSpoilCRC", Win1250("Zapsat chybně CRC"));
  auto* gone = new ui::Form(&app, "FormProgress");
  delete gone;  // destroyed before the translation arrives
  EXPECT_EQ(check->Text(), Win1250("Zapsat chybně CRC"));
  loop.RunPending();
  EXPECT_EQ(check->Text(), "Write bad CRC");
  EXPECT_EQ(later->Text(), "Options");
}

TEST_F(TranslateFixture, ExportWritesCaptionsHintsAndLists) {
  const std::string path = dir / "export.lng";
  WriteFile(path, "[General]\r\nlanguageid=0x0418\r\n");
  auto* noHint = Make<ui::CheckBox>(main, "CheckNoHint", "Bez");
  (void)noHint;
  Load();
  lang->SetCurrLanguage("Export");
  EXPECT_EQ(lang->GetCurrLanguage(), "Export");
  ASSERT_TRUE(lang->ExportAllTexts());
  const Lines lines = SplitLines(ReadFile(path));
  const auto has = [&lines](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has("LanguageId=\"0x0418\""));  // the exact key was missing
  EXPECT_TRUE(has("CheckTelAcceptSMSAll=\"\""));
  EXPECT_TRUE(
      has(Win1250("CheckTelAcceptSMSAll_Hint=\"Přijímat SMS ze všech telefonních čísel\"")));
  EXPECT_TRUE(has("CheckNoHint=\"Bez\""));
  EXPECT_FALSE(has("CheckNoHint_Hint=\"\""));
  EXPECT_TRUE(has("RGroupTerminal_Count=\"2\""));
  EXPECT_TRUE(has("RGroupTerminal_1=\"Zobrazit\""));
  EXPECT_TRUE(has("MemoAddress_Count=\"4\""));
  EXPECT_TRUE(has(Win1250("SaveDialog2_Filter_1=\"Všechny soubory (*.*)\"")));
  for (const auto& line : lines) EXPECT_EQ(line.find("ComboLanguage"), std::string::npos) << line;

  // Into a built-in language the texts go to memory, with the language's id and name.
  lang->SetCurrLanguage("English");
  ASSERT_TRUE(lang->ExportAllTexts());
  EXPECT_EQ(GetLangText("FormMain", "CheckNoHint", ""), "Bez");
  EXPECT_EQ(GetLangText("General", "LanguageName", ""), "English");
}

TEST_F(TranslateFixture, ComboAndMenuAreReleasedAndForgotten) {
  Load();
  auto* menu = new ui::MenuItem(main, "MenuLanguage");
  lang->SetLangMenu(menu);
  ASSERT_EQ(menu->Items().size(), 2u);
  EXPECT_TRUE(menu->Items()[0]->Checked());
  EXPECT_TRUE(lang->isReserved(*menu->Items()[1]));
  menu->Items()[1]->UserClick();
  EXPECT_EQ(lang->GetCurrLanguage(), "English");
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_TRUE(menu->Items()[1]->Checked());

  // Destroyed elsewhere: forgotten, and language changes go on without it.
  delete menu;
  delete combo;
  EXPECT_EQ(lang->LangMenu(), nullptr);
  EXPECT_EQ(lang->LangCombo(), nullptr);
  lang->SetCurrLanguage(Win1250("Česky"));

  // Released: emptied and handed back as a plain list.
  auto* other = Make<ui::ComboBox>(options, "ComboOther");
  lang->SetLangCombo(other);
  EXPECT_EQ(other->Items().size(), 2u);
  lang->SetLangCombo(nullptr);
  EXPECT_TRUE(other->Items().empty());
  EXPECT_FALSE(other->OnSelect);
  lang->SetLangCombo(other);
  delete lang;  // releases it too
  EXPECT_TRUE(other->Items().empty());
}

// What a handler of the program does while a language change is still translating the windows:
// run from the OnTranslated of a component visited before the combo box and the menu, it leaves
// freed controls (or the whole window, and the language component with it) among those the
// translation has still to visit.
struct MidChange {
  const char* name;
  bool byMenu;       // English picked from the menu, else from the combo box
  const char* when;  // the component whose OnTranslated acts
  void (*act)(TranslateFixture&);
  bool menuStays, comboStays, windowStays;
};

void PrintTo(const MidChange& c, std::ostream* os) {
  *os << c.name;
}

struct MidChangeFixture : TranslateFixture, ::testing::WithParamInterface<MidChange> {};

TEST_P(MidChangeFixture, LeavesNothingDangling) {
  const MidChange& c = GetParam();
  Load();
  lang->SetLangMenu(new ui::MenuItem(main, "MenuLanguage"));
  const ui::Ref<ui::Form> window(main);
  bool acted = false;
  lang->OnTranslated = [&](VQelLanguage&, ui::Component& component, const std::string&) {
    if (acted || component.Name() != c.when) return;
    acted = true;
    c.act(*this);
  };
  options->Show();
  if (c.byMenu)
    lang->LangMenu()->Items()[1]->UserClick();
  else
    combo->UserSelect(1);
  ASSERT_TRUE(acted);
  ASSERT_EQ(static_cast<bool>(window), c.windowStays);
  if (!window) {
    EXPECT_EQ(GetTextSource(), nullptr);  // the language went with its window
    return;
  }
  EXPECT_EQ(lang->GetCurrLanguage(), "English");
  EXPECT_EQ(acceptAll->Hint(), "Accept SMSs from all phone numbers");
  ASSERT_EQ(lang->LangMenu() != nullptr, c.menuStays);
  ASSERT_EQ(lang->LangCombo() != nullptr, c.comboStays);
  // What is left goes on following the language.
  lang->SetCurrLanguage(Win1250("Česky"));
  EXPECT_EQ(memory->Text(), Win1250(" Velikost paměti "));
  if (c.menuStays) {
    ASSERT_EQ(lang->LangMenu()->Items().size(), 2u);
    EXPECT_TRUE(lang->LangMenu()->Items()[0]->Checked());
    EXPECT_FALSE(lang->LangMenu()->Items()[1]->Checked());
  }
  if (c.comboStays) {
    EXPECT_EQ(combo->ItemIndex(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, MidChangeFixture,
    ::testing::Values(MidChange{"MenuDestroysMenu", true, "CheckTelAcceptSMSAll",
                                [](TranslateFixture& f) { delete f.lang->LangMenu(); }, false, true,
                                true},
                      MidChange{"ComboDestroysCombo", false, "RGroupTerminal",
                                [](TranslateFixture& f) { delete f.combo; }, true, false, true},
                      MidChange{"MenuRebuildsMenu", true, "CheckTelAcceptSMSAll",
                                [](TranslateFixture& f) { f.lang->updateLanguages(); }, true, true,
                                true},
                      MidChange{"MenuDestroysWindowAndLanguage", true, "CheckTelAcceptSMSAll",
                                [](TranslateFixture& f) { delete f.main; }, false, false, false}),
    [](const ::testing::TestParamInfo<MidChange>& info) { return std::string(info.param.name); });
