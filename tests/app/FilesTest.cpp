#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/CommandLine.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "base/Cp1250.h"
#include "common/TestLoop.h"
#include "lang/VQelLanguage.h"

namespace {

namespace fs = std::filesystem;

struct Files : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  fs::path dir = fs::temp_directory_path() / ("kx2files-" + std::to_string(::getpid()));
  std::unique_ptr<Program> program;

  void SetUp() override {
    fs::remove_all(dir);
    ProgramEnv env = TestEnv();
    env.documentsDir = dir.string();
    program = std::make_unique<Program>(env);
    program->Start();
    loop.Advance(20);
    ASSERT_TRUE(Main().startedUp);
  }
  void TearDown() override {
    program.reset();
    fs::remove_all(dir);
  }
  TFormMain& Main() { return program->Main(); }
  // Closes as the user does and lets the close sequence run.
  void UserCloses() {
    Main().UserClose();
    loop.Advance(50);
  }
};

TEST_F(Files, TheProgramFolderIsUnderTheDocumentsFolderAndMadeOnDemand) {
  TFormMain& m = Main();
  EXPECT_EQ(m.documentsDir, (dir / "Qel" / "KX2 Init").string() + "/");
  EXPECT_EQ(m.OpenDialog1->InitialDir(), m.documentsDir);
  EXPECT_EQ(m.SaveDialog1->FileName(), "KX2 Init.eep");
  EXPECT_FALSE(fs::exists(m.documentsDir));  // not made at start
  loop.AnswerNextFileDialog(std::nullopt);
  m.MenuFileLoadAnyCfg->UserClick();
  EXPECT_TRUE(fs::is_directory(m.documentsDir));
  EXPECT_EQ(loop.FileDialogs().back().title, Win1250("Nahrání konfigurace"));

  // A folder that cannot be made is reported with the prefix that failed.
  const fs::path blocker = dir / "file";
  std::ofstream(blocker) << "x";
  loop.AnswerNextBox(ui::IDOK);
  EXPECT_FALSE(m.EnsureDirectory((blocker / "sub").string()));
  ASSERT_EQ(loop.Boxes().size(), 1u);
  EXPECT_EQ(loop.Boxes()[0].text, Win1250("Nelze vytvořit adresář ") + blocker.string());
}

TEST_F(Files, AMissingFileIsReportedOnlyWhenAskedTo) {
  TFormMain& m = Main();
  EXPECT_FALSE(m.LoadConfigFile("nothing.eep", false));
  EXPECT_TRUE(loop.Boxes().empty());
  loop.AnswerNextBox(ui::IDOK);
  EXPECT_FALSE(m.LoadConfigFile("nothing.eep", true));
  ASSERT_EQ(loop.Boxes().size(), 1u);
  EXPECT_EQ(loop.Boxes()[0].text, Win1250("Nelze nalézt konfigurační soubor ") + "nothing.eep");
  // An unreadable file is reported as such.
  fs::create_directories(m.documentsDir);
  std::ofstream(m.documentsDir + "bad.eep") << "garbage";
  loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall&) { return ui::IDOK; });
  EXPECT_FALSE(m.LoadConfigFile("bad.eep", true));
  EXPECT_EQ(loop.Boxes().back().text,
            Win1250("Chyba při čtení souboru ") + m.documentsDir + "bad.eep");
}

TEST_F(Files, TheUnsavedChangesQuestionCancelNoAndAFailedYes) {
  TFormMain& m = Main();
  m.configSaved = false;
  loop.AnswerNextBox(ui::IDCANCEL);
  UserCloses();
  EXPECT_FALSE(m.closeRequested);  // Cancel keeps the window
  ASSERT_EQ(loop.Boxes().size(), 1u);
  EXPECT_EQ(loop.Boxes()[0].flags, ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);

  // Yes, but the save fails (its folder cannot be made): the window stays and asks again.
  fs::create_directories(dir);
  std::ofstream(dir / "file") << "x";
  m.SaveDialog1->SetInitialDir((dir / "file" / "sub").string());
  loop.AnswerNextBox(ui::IDYES);
  loop.AnswerNextBox(ui::IDOK);  // "CannotCreateDir"
  loop.AnswerNextBox(ui::IDOK);  // "CannotWriteEep"
  UserCloses();
  EXPECT_FALSE(m.closeRequested);
  EXPECT_FALSE(m.configSaved);
  EXPECT_EQ(loop.Boxes().back().flags & ui::MB_ICONMASK, ui::MB_ICONERROR);

  loop.AnswerNextBox(ui::IDNO);
  UserCloses();
  EXPECT_TRUE(m.closeDone);
  EXPECT_TRUE(m.configSaved);
  EXPECT_EQ(loop.UnexpectedBoxes(), 0);
}

}  // namespace

namespace {

TEST_F(Files, SaveAndLoadThroughTheMenusAndStartUpLoadsTheNamedOrTheLastFile) {
  TFormMain& m = Main();
  m.EditStationName->UserReplace("Vrt 7");
  m.SetActiveControl(nullptr);
  loop.Advance(30);
  EXPECT_FALSE(m.configSaved);
  const std::string saved = (dir / "saved" / "vrt7.eep").string();
  loop.AnswerNextFileDialog(saved);
  m.MenuFileSaveBrCfg->UserClick();
  EXPECT_TRUE(fs::exists(saved));  // the folder was made
  EXPECT_TRUE(m.configSaved);
  // Both dialogs now show the folder and name just used.
  EXPECT_EQ(m.OpenDialog1->InitialDir(), (dir / "saved").string() + "/");
  EXPECT_EQ(m.OpenDialog1->FileName(), "vrt7.eep");

  m.EditStationName->UserReplace("jiny");
  m.SetActiveControl(nullptr);
  loop.AnswerNextBox(ui::IDNO);  // the edits are given up
  loop.AnswerNextFileDialog(saved);
  m.MenuFileLoadAnyCfg->UserClick();
  EXPECT_EQ(m.EditStationName->Text(), "Vrt 7");
  EXPECT_TRUE(m.configSaved);

  // A file named on the command line is loaded at start; an option-like argument is not a file.
  {
    ProgramEnv env = TestEnv();
    env.documentsDir = dir.string();
    env.args = {"-nosuch", saved};
    Program other(env);
    other.Start();
    loop.Advance(20);
    EXPECT_EQ(other.Main().EditStationName->Text(), "Vrt 7");
    other.Main().Close();
    loop.Advance(20);
  }
  // Without one, the last file (the dialog's folder and name) is loaded silently.
  {
    ProgramEnv env = TestEnv();
    env.documentsDir = dir.string();
    fs::create_directories(dir / "Qel" / "KX2 Init");
    fs::copy_file(saved, dir / "Qel" / "KX2 Init" / "KX2 Init.eep");
    Program other(env);
    other.Start();
    loop.Advance(20);
    EXPECT_EQ(other.Main().EditStationName->Text(), "Vrt 7");
    other.Main().Close();
    loop.Advance(20);
  }
  EXPECT_EQ(loop.UnexpectedBoxes(), 0);
}

}  // namespace

namespace {

TEST(CommandLine, TheCommsLogOptionIsTakenOutAndTheFilesRemain) {
  std::vector<std::string> args{"a.eep", "--comms-log", "x.log", "b.eep", "--comms-log=y.log"};
  EXPECT_EQ(TakeValueOption(args, "--comms-log"), "y.log");
  EXPECT_EQ(args, (std::vector<std::string>{"a.eep", "b.eep"}));
  std::vector<std::string> dangling{"a.eep", "--comms-log"};
  EXPECT_EQ(TakeValueOption(dangling, "--comms-log"), std::nullopt);
  EXPECT_EQ(dangling, std::vector<std::string>{"a.eep"});
}

}  // namespace

namespace {

// One language at a time: in English the file dialogs' titles and filters are English, and back
// in Czech they are Czech again.
TEST_F(Files, TheFileDialogsSpeakTheProgramsLanguage) {
  TFormMain& m = Main();
  m.VQelLanguage1->SetCurrLanguage("English");
  for (int i = 0; i < 3; ++i) loop.AnswerNextFileDialog(std::nullopt);
  m.MenuFileLoadAnyCfg->UserClick();
  m.MenuFileSaveBrCfg->UserClick();
  m.MenuSaveReport->UserClick();
  ASSERT_EQ(loop.FileDialogs().size(), 3u);
  EXPECT_EQ(loop.FileDialogs()[0].title, "Load configuration");
  EXPECT_EQ(loop.FileDialogs()[0].filter, "Device configuration (*.eep)|*.eep");
  EXPECT_EQ(loop.FileDialogs()[1].title, "Save device configuration");
  EXPECT_EQ(loop.FileDialogs()[1].filter, "Device configuration (*.eep)|*.eep");
  EXPECT_EQ(loop.FileDialogs()[2].title, "Save settings report");
  EXPECT_EQ(loop.FileDialogs()[2].filter, "HTML pages|*.html");

  m.VQelLanguage1->SetCurrLanguage(Win1250("Česky"));
  loop.AnswerNextFileDialog(std::nullopt);
  m.MenuFileLoadAnyCfg->UserClick();
  EXPECT_EQ(loop.FileDialogs().back().title, Win1250("Nahrání konfigurace"));
  EXPECT_EQ(loop.FileDialogs().back().filter, Win1250("Konfigurace zařízení (*.eep)|*.eep"));
}

}  // namespace

namespace {

// Ctrl+O and Ctrl+S reach the file commands, and the title names the file loaded or saved last,
// also after a change of language.
TEST_F(Files, ShortCutsOpenTheFileDialogsAndTheTitleNamesTheFile) {
  TFormMain& m = Main();
  const std::string plain = m.Text();
  const std::string saved = (dir / "station 3.eep").string();
  loop.AnswerNextFileDialog(saved);
  ASSERT_TRUE(m.UserShortCut("Ctrl+S"));
  EXPECT_FALSE(loop.FileDialogs().back().title.empty());
  EXPECT_TRUE(loop.FileDialogs().back().save);
  ASSERT_TRUE(fs::exists(saved));
  EXPECT_EQ(m.Text(), plain + " - station 3.eep");

  m.VQelLanguage1->SetCurrLanguage("English");
  EXPECT_EQ(m.Text(), "Configuration tool KX2 Init - station 3.eep");

  loop.AnswerNextFileDialog(std::nullopt);
  ASSERT_TRUE(m.UserShortCut("Ctrl+O"));
  EXPECT_FALSE(loop.FileDialogs().back().save);
  EXPECT_EQ(m.Text(), "Configuration tool KX2 Init - station 3.eep");  // nothing loaded
  EXPECT_FALSE(m.UserShortCut("Ctrl+Q"));
}

}  // namespace

namespace {

TEST_F(Files, AFailedLoadChangesNothingAndALoadAsksAboutUnsavedEdits) {
  TFormMain& m = Main();
  auto edit = [&](const char* name) {
    m.EditStationName->UserReplace(name);
    m.SetActiveControl(nullptr);
    loop.Advance(30);
  };
  edit("Vrt 7");
  const std::string saved = (dir / "saved" / "vrt7.eep").string();
  loop.AnswerNextFileDialog(saved);
  m.MenuFileSaveBrCfg->UserClick();
  ASSERT_TRUE(m.configSaved);
  const auto savedBytes = fs::file_size(saved);

  // A file that does not load leaves the current file (and what a save would overwrite) alone.
  fs::create_directories(dir / "other");
  const std::string bad = (dir / "other" / "bad.eep").string();
  std::ofstream(bad) << "garbage";
  loop.AnswerNextFileDialog(bad);
  loop.AnswerNextBox(ui::IDOK);  // "CannotReadCfg"
  m.MenuFileLoadAnyCfg->UserClick();
  EXPECT_EQ(loop.Boxes().back().flags & ui::MB_ICONMASK, ui::MB_ICONERROR);
  for (ui::FileDialog* d : {m.OpenDialog1, m.SaveDialog1}) {
    EXPECT_EQ(d->InitialDir(), (dir / "saved").string() + "/");
    EXPECT_EQ(d->FileName(), "vrt7.eep");
  }

  // Unsaved edits: the close's question comes first. Cancel keeps everything as it was, without
  // even a file dialog.
  edit("jiny");
  const size_t dialogs = loop.FileDialogs().size();
  loop.AnswerNextBox(ui::IDCANCEL);
  m.MenuFileLoadAnyCfg->UserClick();
  EXPECT_EQ(loop.Boxes().back().flags, ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
  EXPECT_NE(loop.Boxes().back().text.find(saved), std::string::npos);
  EXPECT_EQ(loop.FileDialogs().size(), dialogs);
  EXPECT_EQ(m.EditStationName->Text(), "jiny");
  EXPECT_FALSE(m.configSaved);

  // A failed load after No keeps the edits, and they are still unsaved.
  loop.AnswerNextBox(ui::IDNO);
  loop.AnswerNextFileDialog(bad);
  loop.AnswerNextBox(ui::IDOK);
  m.MenuFileLoadAnyCfg->UserClick();
  EXPECT_EQ(m.EditStationName->Text(), "jiny");
  EXPECT_FALSE(m.configSaved);

  // Yes saves them into the current file before the load.
  loop.AnswerNextBox(ui::IDYES);
  loop.AnswerNextFileDialog(saved);
  m.MenuFileLoadAnyCfg->UserClick();
  EXPECT_EQ(m.EditStationName->Text(), "jiny");
  EXPECT_TRUE(m.configSaved);
  EXPECT_EQ(fs::file_size(saved), savedBytes - 1);  // "Vrt 7" became "jiny"
  EXPECT_EQ(loop.UnexpectedBoxes(), 0);
}

}  // namespace
