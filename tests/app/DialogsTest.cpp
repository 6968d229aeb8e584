#include <gtest/gtest.h>

#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "base/Cp1250.h"
#include "base/SettingsStore.h"
#include "common/TestLoop.h"
#include "components/VQelTerminal.h"
#include "lang/BuiltinLanguages.h"
#include "lang/LngFile.h"
#include "lang/VQelLanguage.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace {

struct Dialogs : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  Program program{TestEnv()};
  void SetUp() override {
    program.Start();
    loop.Advance(20);
    ASSERT_TRUE(program.Main().startedUp);
  }
};

TEST_F(Dialogs, ProgressRestoresExactlyTheEnabledStatesItFound) {
  TFormMain& m = program.Main();
  TFormProgress& p = program.FormProgress();
  ASSERT_FALSE(m.WriteEEPROM->Enabled());  // disabled before: must stay so
  ASSERT_TRUE(m.ComboComm->Enabled());
  p.Show();
  EXPECT_FALSE(m.Enabled());
  EXPECT_FALSE(m.ComboComm->Enabled());
  EXPECT_FALSE(m.PageControl1->Enabled());
  // Centred over the main window.
  EXPECT_EQ(p.Left() + p.Width() / 2, m.Left() + m.Width() / 2);
  p.Hide();
  EXPECT_TRUE(m.Enabled());
  EXPECT_TRUE(m.ComboComm->Enabled());
  EXPECT_TRUE(m.PageControl1->Enabled());
  EXPECT_FALSE(m.WriteEEPROM->Enabled());
  EXPECT_FALSE(m.BtnPrerusit->Enabled());
}

TEST_F(Dialogs, OptionsActAtOnceAndCancelReturnsToTheSnapshot) {
  TFormOptions& o = program.FormOptions();
  std::vector<int> levels;
  o.onLevelsChanged = [&](int level, bool) { levels.push_back(level); };
  EXPECT_FALSE(o.CheckSpoilCRC->Visible());
  EXPECT_FALSE(o.RGroupTerminal->Visible());
  EXPECT_TRUE(o.VerifyReads());

  loop.OnNextModal([&](ui::Form&) {
    o.RGroupExpLevel->UserSelect(2);  // Expert
    EXPECT_TRUE(o.CheckSpoilCRC->Visible());
    EXPECT_TRUE(o.RGroupTerminal->Visible());
    o.CheckCheckEEREAD->UserClick();  // verification off, honoured above Basic
    EXPECT_FALSE(o.VerifyReads());
    o.BtnCancel->UserClick();
  });
  EXPECT_EQ(o.ShowModal(), ui::mrCancel);
  EXPECT_EQ(o.Level(), 0);
  EXPECT_FALSE(o.CheckSpoilCRC->Visible());
  EXPECT_TRUE(o.CheckCheckEEREAD->Checked());
  EXPECT_EQ(levels, (std::vector<int>{2, 0}));

  loop.OnNextModal([&](ui::Form&) {
    o.RGroupExpLevel->UserSelect(1);
    o.CheckCheckEEREAD->UserClick();
    o.BtnOK->UserClick();
  });
  EXPECT_EQ(o.ShowModal(), ui::mrOk);
  EXPECT_EQ(o.Level(), 1);
  EXPECT_FALSE(o.VerifyReads());
  o.RGroupExpLevel->SetItemIndex(0);
  EXPECT_TRUE(o.VerifyReads());  // Basic always verifies
}

}  // namespace

namespace {

TEST(About, ShowsVersionAndBuildDateAndParsesDateTexts) {
  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  Program program{TestEnv()};
  TFormAbout& about = program.FormAbout();
  EXPECT_EQ(about.LabelAppName->Text(), "KX2 Init");
  loop.OnNextModal([&](ui::Form&) { about.BtnDone->UserClick(); });
  program.Main().MenuAbout->UserClick();
  EXPECT_EQ(about.LabelVersion->Text(), "Verze 1.2.1");
  EXPECT_FALSE(about.LabelDate->Text().empty());
  const auto d = TFormAbout::ParseBuildDate("Oct 23 2001");
  EXPECT_EQ(d.month, 10);
  EXPECT_EQ(d.day, 23);
  EXPECT_EQ(d.year, 2001);
  EXPECT_EQ(TFormAbout::ParseBuildDate("Dec  9 2026").month, 12);
  EXPECT_EQ(TFormAbout::ParseBuildDate("Xyz").year, 2001);
}

TEST(FirstRun, TheOptionsOpenModallyOnceAndTheAnswerIsStored) {
  namespace fs = std::filesystem;
  const fs::path file = fs::temp_directory_path() / ("kx2firstrun-" + std::to_string(getpid()));
  fs::remove(file);
  for (int run = 0; run < 2; ++run) {
    TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
    SettingsStore store(file.string());
    ProgramEnv env = TestEnv();
    env.store = &store;
    Program program{env};
    int modals = 0;
    loop.SetModalHandler([&](ui::Form& f) {
      ++modals;
      EXPECT_EQ(f.Name(), "FormOptions");
      program.FormOptions().BtnOK->UserClick();
    });
    program.Start();
    loop.Advance(50);
    ASSERT_TRUE(program.Main().startedUp);
    EXPECT_EQ(modals, run == 0 ? 1 : 0) << "run " << run;
    program.Main().Close();
    loop.Advance(50);
    EXPECT_TRUE(program.Main().closeDone);
    EXPECT_EQ(store.ReadString("Software\\Qel\\KX2 Init\\Options", "FirstTime", "?"), "0");
  }
  fs::remove(file);
}

}  // namespace

namespace {

TEST_F(Dialogs, ExpertShowsTheBadChecksumBoxAndTheTerminalsTimingBoxesAndCancelHidesThemAgain) {
  TFormOptions& o = program.FormOptions();
  VQelTerminal& terminal = *program.Main().VQelTerminal1;
  EXPECT_FALSE(terminal.GetVisible());  // Basic: no terminal
  loop.OnNextModal([&](ui::Form&) {
    o.RGroupExpLevel->UserSelect(2);
    o.RGroupTerminal->UserSelect(1);
    EXPECT_TRUE(o.CheckSpoilCRC->Visible());
    EXPECT_TRUE(terminal.GetVisible());
    EXPECT_TRUE(terminal.GetDebugWindowsVisible());
    EXPECT_TRUE(terminal.DebugInTime()->Visible());
    EXPECT_TRUE(program.Main().FindDeep("CheckAlwaysInterNumber") != nullptr);
    o.BtnCancel->UserClick();
  });
  o.ShowModal();
  EXPECT_FALSE(o.CheckSpoilCRC->Visible());
  EXPECT_FALSE(terminal.GetVisible());
  EXPECT_EQ(o.Level(), 0);
}

}  // namespace

namespace {

TEST_F(Dialogs, ALanguageChosenInTheOptionsActsAtOnceAndCancelSwitchesBack) {
  TFormOptions& o = program.FormOptions();
  TFormMain& m = program.Main();
  ASSERT_EQ(m.ReadEEPROM->Text(), Win1250("Načíst"));
  loop.OnNextModal([&](ui::Form&) {
    const int english = o.ComboLanguage->IndexOf("English");
    ASSERT_GE(english, 0);
    o.ComboLanguage->UserSelect(english);
    loop.RunPending();
    EXPECT_EQ(m.ReadEEPROM->Text(), "Read");
    EXPECT_EQ(o.RGroupTerminal->Items()[0], "Hidden");
    EXPECT_EQ(m.LabelComm->Text(), "Port freed");  // refreshed by the language change
    o.BtnCancel->UserClick();
  });
  o.ShowModal();
  loop.RunPending();
  EXPECT_EQ(m.ReadEEPROM->Text(), Win1250("Načíst"));
  EXPECT_EQ(m.LabelComm->Text(), Win1250("Port uvolněn"));
}

// Every text of the about box and the options dialog comes from the language: in English no
// Czech is left.
TEST_F(Dialogs, TheAboutBoxAndTheOptionsSpeakTheChosenLanguage) {
  TFormOptions& o = program.FormOptions();
  TFormAbout& about = program.FormAbout();
  EXPECT_EQ(o.LabelLanguage->Text(), "Jazyk:");
  EXPECT_EQ(about.LabelRights->Text(), Win1250("© Qel s.r.o. Všechna práva vyhrazena."));
  EXPECT_EQ(
      about.MemoContact->Lines(),
      (std::vector<std::string>{Win1250("Technická podpora:"), Win1250("u dodavatele zařízení")}));
  program.Main().VQelLanguage1->SetCurrLanguage("English");
  loop.RunPending();
  EXPECT_EQ(o.LabelLanguage->Text(), "Language:");
  EXPECT_EQ(about.LabelRights->Text(), Win1250("© Qel s.r.o. All rights reserved."));
  EXPECT_EQ(about.MemoContact->Lines(),
            (std::vector<std::string>{"Technical support:", "from the supplier of the unit"}));
  loop.OnNextModal([&](ui::Form&) { about.BtnDone->UserClick(); });
  program.Main().MenuAbout->UserClick();
  // Czech letters of Windows-1250 (ě, š, č, ř, ž, ý, á, í, é, ú, ů ...) lie above 0xA9, the
  // copyright sign.
  const std::string czech = Win1250("ěščřžýáíéúůťďňĚŠČŘŽÝÁÍÉÚŮŤĎŇ");
  for (ui::Component* c : about.Components()) {
    if (c == about.MemoAddress) continue;  // a postal address keeps its street's name
    std::vector<std::string> texts;
    if (auto* memo = dynamic_cast<ui::Memo*>(c))
      texts = memo->Lines();
    else if (auto* control = dynamic_cast<ui::Control*>(c))
      texts = {control->Text()};
    for (const std::string& t : texts)
      EXPECT_EQ(t.find_first_of(czech), std::string::npos) << c->Name() << ": " << t;
  }
}

}  // namespace

namespace {

TEST_F(Dialogs, TheAnalogInputDialogBindsOneObjectAtATime) {
  struct Probe : AnaInBinding {
    std::vector<std::string>& log;
    std::string name;
    Probe(std::vector<std::string>& l, std::string n) : log(l), name(std::move(n)) {}
    void Attach(TFormAnaIn& d) override {
      log.push_back("attach " + name);
      d.editName->SetText(name);
    }
    void Detach(TFormAnaIn&) override { log.push_back("detach " + name); }
    void Undo() override { log.push_back("undo " + name); }
  };
  std::vector<std::string> log;
  Probe a(log, "a"), b(log, "b");
  TFormAnaIn& d = program.FormAnaIn();
  d.ShowFor(&a);
  d.ShowFor(&a);  // the same object: nothing more
  d.ShowFor(&b);
  EXPECT_EQ(d.editName->Text(), "b");
  d.Rebind();
  d.BtnCancel->UserClick();
  EXPECT_FALSE(d.Visible());
  EXPECT_EQ(d.BoundInput(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"attach a", "detach a", "attach b", "detach b",
                                           "attach b", "undo b", "detach b"}));
  EXPECT_EQ(d.GroupLM.level->Text(), "100%");
}

}  // namespace

namespace {

// Every window has a title, and the English program titles them in English.
TEST_F(Dialogs, EveryWindowIsTitledInTheProgramsLanguage) {
  std::vector<ui::Form*> forms = program.App().Forms();
  forms.push_back(program.Main().VQelTerminal1->TermForm());
  std::vector<std::string> czech;
  for (ui::Form* f : forms) {
    EXPECT_FALSE(f->Text().empty()) << f->Name();
    czech.push_back(f->Text());
  }
  program.Main().VQelLanguage1->SetCurrLanguage("English");
  for (size_t i = 0; i < forms.size(); ++i) {
    // The analog-input window (never shown: its page is hidden) has no section in the built-in
    // languages and keeps its Czech title.
    if (forms[i]->Name() == "FormAnaIn") continue;
    const std::string& title = forms[i]->Text();
    EXPECT_FALSE(title.empty()) << forms[i]->Name();
    // English needs no letters beyond ASCII: any there are Czech left over.
    EXPECT_TRUE(std::all_of(title.begin(), title.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        << forms[i]->Name() << ": " << Cp1250ToUtf8(title);
    EXPECT_NE(title, czech[i]) << forms[i]->Name();
  }
}

}  // namespace

namespace {

// Every caption of a window, by the name of its control ("" for the window's title).
std::map<std::string, std::string> CaptionsOf(const lang::VQelLanguage& language, ui::Form& form) {
  std::map<std::string, std::string> captions;
  std::string caption;
  if (language.GetCaption(form, caption)) captions[""] = caption;
  std::vector<ui::Component*> todo = form.Components();
  while (!todo.empty()) {
    ui::Component* c = todo.back();
    todo.pop_back();
    if (!c->Name().empty() && language.GetCaption(*c, caption)) captions[c->Name()] = caption;
    for (ui::Component* child : c->Components()) todo.push_back(child);
  }
  return captions;
}

// In English no window keeps a Czech title or caption: whatever reads the same in both
// languages does so because the English texts say so ("OK", "PIN"), not because the window's
// texts were never looked up.
TEST_F(Dialogs, InEnglishNoWindowKeepsACzechTitleOrCaption) {
  TFormMain& m = program.Main();
  lang::VQelLanguage& language = *m.VQelLanguage1;
  m.VQelLanguage1->SetCurrLanguage(Win1250("Česky"));
  std::map<std::string, std::map<std::string, std::string>> czech;
  for (ui::Form* form : program.App().Forms()) czech[form->Name()] = CaptionsOf(language, *form);
  ASSERT_TRUE(czech.count("FormAnaIn"));
  EXPECT_EQ(czech["FormAnaIn"][""], Win1250("Analogový vstup"));

  m.VQelLanguage1->SetCurrLanguage("English");
  const lang::Lines english = lang::SplitLines(lang::BuiltinEnglishText());
  std::vector<std::string> left;
  for (ui::Form* form : program.App().Forms()) {
    const std::string& section = form->Name();
    for (const auto& [name, caption] : CaptionsOf(language, *form)) {
      const std::string key = name.empty() ? section : name;
      if (name.empty()) {
        EXPECT_TRUE(lang::FindLngValue(english, section, key)) << section << " has no title";
      }
      if (caption != czech[section][name] || caption.empty()) continue;
      // The main window's captions that the program sets itself (numbers, "DIn0", "T0") are
      // the same in every language; a Czech word there has letters beyond ASCII.
      const bool national = std::any_of(caption.begin(), caption.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x80;
      });
      if (section == "FormMain" && !national) continue;
      if (caption == "KX2 Init") continue;  // the program's name, in the about box
      // Frame captions stand off their line by a blank on each side.
      const size_t first = caption.find_first_not_of(' ');
      const std::string bare =
          first == std::string::npos
              ? std::string()
              : caption.substr(first, caption.find_last_not_of(' ') + 1 - first);
      const auto value = lang::FindLngValue(english, section, key);
      if (!value || *value != "\"" + bare + "\"") left.push_back(section + "." + key);
    }
  }
  EXPECT_TRUE(left.empty()) << ::testing::PrintToString(left);
  EXPECT_EQ(program.FormAnaIn().Text(), "Analog input");
  EXPECT_EQ(program.FormAnaIn().ComboValueType->Items().back(), "Integer (0-255)");
}

}  // namespace
