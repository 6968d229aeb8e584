#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "common/TempDir.h"
#include "common/TestLoop.h"
#include "lang/BuiltinLanguages.h"
#include "lang/FormatSettings.h"
#include "lang/LangIcon.h"
#include "lang/LangLocale.h"
#include "lang/VQelLanguage.h"
#include "ui/Form.h"

using namespace lang;

namespace {

std::string Lng(const std::string& idLine, const std::string& body) {
  return "[General]\r\n" + idLine + "\r\n\r\n" + body;
}

struct LanguageFixture : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  TempDir dir;
  std::unique_ptr<VQelLanguage> lang;
  int changes = 0;

  // The built-in languages plus whatever files the test wrote into dir.
  void Load(bool builtins = true, int userLanguage = 0x0405) {
    // The component installs itself as the text source: the one it replaces goes first, or
    // the scopes would end out of order and leave the old one installed.
    lang.reset();
    lang = std::make_unique<VQelLanguage>(nullptr);
    lang->SetUserDefaultLanguageId(userLanguage);
    if (builtins) lang->SetStartupLanguages(BuiltinLanguageTexts());
    lang->SetCfgDirectory(dir.Path());
    lang->OnChangeLanguage = [this](VQelLanguage&) { ++changes; };
    lang->Loaded();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& r : lang->Languages()) names.push_back(r->displayName);
    return names;
  }
};

}  // namespace

TEST_F(LanguageFixture, BuiltInLanguagesAnswerLookUps) {
  Load();
  EXPECT_EQ(Names(), (std::vector<std::string>{Win1250("Česky"), "English"}));
  EXPECT_EQ(lang->GetCurrLanguage(), Win1250("Česky"));
  EXPECT_EQ(changes, 1);  // applied once at start
  const std::string blocked = Win1250("Port blokován");
  EXPECT_EQ(GetLangText("Texts", "CommPortBlocked", blocked), blocked);
  // Defaults come back unchanged, blanks and quotes included.
  EXPECT_EQ(GetLangText("Texts", "NoSuchKey", " \"odd\" default "), " \"odd\" default ");
  // The Czech [EEPROM] header carries trailing blanks: the caller's default shows.
  EXPECT_EQ(GetLangText("EEPROM", "HintEventsTo", "caller's"), "caller's");

  lang->SetCurrLanguage("english");  // no exact match: found regardless of case
  EXPECT_EQ(lang->GetCurrLanguage(), "English");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(GetLangText("Texts", "CommPortBlocked", blocked), "Port blocked");
  EXPECT_EQ(GetLangText("EEPROM", "HintAcceptSMSfrom", "x"), "Accept SMSs from T%d");
  EXPECT_EQ(GetLangText("FormOptions", "RGroupTerminal", "", 1), "Shown");
  EXPECT_EQ(GetLangText("FormOptions", "RGroupTerminal", "", 1, 0x0405), "Zobrazit");
  EXPECT_EQ(GetLangText("FormOptions", "RGroupTerminal", "d", 1, 0x0407), "d");
  EXPECT_EQ(lang->GetSimpleText("ConnectBreak"), "Force disc.");
  EXPECT_EQ(lang->GetSimpleText("Unknown"), "Unknown");
  EXPECT_EQ(lang->GetConfigFile(), "");

  lang->SetCurrLanguage("Nothing like it");
  lang->SetCurrLanguage("English");  // already active
  EXPECT_EQ(changes, 2);
  lang->SetCurrLanguage(Win1250("ČESKY"));  // national letters fold too
  EXPECT_EQ(lang->GetCurrLanguage(), Win1250("Česky"));

  // Stored texts of a built-in language stay in memory.
  EXPECT_TRUE(lang->SetLangText("Texts", "Added", "new text"));
  EXPECT_EQ(GetLangText("Texts", "Added", ""), "new text");
  EXPECT_FALSE(lang->SetLangText("", "Added", "x"));
  EXPECT_FALSE(lang->SetLangText("Texts", "Added", "x", -1, 0x0407));

  lang.reset();
  EXPECT_EQ(GetLangText("Texts", "CommPortBlocked", blocked), blocked);
}

TEST_F(LanguageFixture, WithoutLanguagesEverythingIsDefault) {
  Load(false);
  EXPECT_TRUE(lang->Languages().empty());
  EXPECT_EQ(lang->ActiveIndex(), -1);
  EXPECT_EQ(lang->GetCurrLanguage(), "");
  EXPECT_EQ(GetLangText("Texts", "CommPortBlocked", "d"), "d");
  EXPECT_FALSE(lang->ExportAllTexts());
  lang->SetCurrLanguage("English");
  EXPECT_EQ(changes, 0);
}

TEST_F(LanguageFixture, FilesAddButNeverReplaceAndNeutralsFillGaps) {
  WriteFile(dir / "a_czech.lng",
            Lng("LanguageId=\"0x0405\"",
                "[Texts]\r\nCommPortBlocked=\"replaced?\"\r\nOnlyFile=\"A\"\r\n"
                "Twice=\"first file\"\r\n\r\n[EEPROM]\r\nHintEventsTo=\"f\"\r\n"));
  WriteFile(dir / "b_czech.lng", Lng("LanguageId=1029", "[Texts]\r\nTwice=\"second file\"\r\n"));
  WriteFile(dir / "neutral5.lng",
            Lng("LanguageId=0x0005", "[Texts]\r\nNeutral=\"from 0x0005\"\r\n"));
  WriteFile(dir / "neutral0.lng", Lng("LanguageId=0", "[Texts]\r\nAny=\"from 0\"\r\n"));
  WriteFile(dir / "german_neutral.lng", Lng("LanguageId=0x0007", "[Texts]\r\nDe=\"x\"\r\n"));
  Load();
  ASSERT_EQ(lang->Languages().size(), 2u);
  ASSERT_EQ(lang->AnyLanguages().size(), 2u);  // the German one has no selectable language
  EXPECT_EQ(GetLangText("Texts", "CommPortBlocked", "d"), Win1250("Port blokován"));
  EXPECT_EQ(GetLangText("Texts", "OnlyFile", "d"), "A");
  EXPECT_EQ(GetLangText("Texts", "Twice", "d"), "first file");
  // The file's proper [EEPROM] header is found where the built-in one is not.
  EXPECT_EQ(GetLangText("EEPROM", "HintEventsTo", "d"), "f");
  EXPECT_EQ(GetLangText("Texts", "Neutral", "d"), "from 0x0005");
  EXPECT_EQ(GetLangText("Texts", "Any", "d"), "from 0");
  EXPECT_EQ(lang->GetActiveLangRecord()->path, "");  // still the built-in language

  lang->SetCurrLanguage("English");
  EXPECT_EQ(GetLangText("Texts", "Neutral", "d"), "d");  // primary language 9 has none
  EXPECT_EQ(GetLangText("Texts", "Any", "d"), "from 0");
}

TEST_F(LanguageFixture, ANameTakenFromTheFileNameReadsAsTheFileIsNamed) {
  // Languages the program has no name of are called after their files, whose names are the
  // file system's UTF-8; what Windows-1250 cannot hold shows replaced.
  WriteFile(dir / "žlutá řeč.lng", Lng("LanguageId=0x0436", ""));
  WriteFile(dir / "ελληνικά.lng", Lng("LanguageId=0x0437", ""));
  Load();
  EXPECT_EQ(Names(), (std::vector<std::string>{Win1250("Česky"), "English", "????????",
                                               Win1250("Žlutá řeč")}));
}

TEST_F(LanguageFixture, ScanPicksFilesByPassSortsAndSkipsBadOnes) {
  TempDir further;
  WriteFile(dir / "german.LNG",
            Lng("LanguageId=0x0407", "[Texts]\r\nCommPortBlocked=\"Port belegt\"\r\n"));
  WriteFile(dir / "aaa.lng", Lng("LanguageName=\"Aaa\"\r\nLanguageId=0x040C", ""));
  WriteFile(dir / "noid.lng", Lng("LanguageName=\"NoId\"", ""));
  WriteFile(dir / "minus.lng", Lng("LanguageId=-1", ""));
  WriteFile(dir / "big.lng", Lng("LanguageId=0x10405", ""));
  WriteFile(dir / "text.lng", Lng("LanguageId=Czech", ""));
  WriteFile(dir / "long.lng", Lng("LanguageId=" + std::string(200, '1'), ""));
  WriteFile(dir / "other.lngx", Lng("LanguageId=0x0415", ""));
  WriteFile(further / "polish.lng", Lng("LanguageId=0x0415", ""));
  WriteFile(further / "english.lng", Lng("LanguageId=0x0809", "[Texts]\r\nFurther=\"yes\"\r\n"));
  Load();
  lang->SetRuntimeDirs({further.Path()});
  // The user's own language first, then by character set and name.
  EXPECT_EQ(Names(), (std::vector<std::string>{Win1250("Česky"), "Aaa", "Deutsch", "English"}));
  EXPECT_EQ(lang->GetCurrLanguage(), Win1250("Česky"));
  EXPECT_EQ(GetLangText("Texts", "Further", "d", -1, 0x0809), "yes");
  lang->SetCurrLanguage("Deutsch");
  EXPECT_EQ(GetLangText("Texts", "CommPortBlocked", "d"), "Port belegt");
  EXPECT_EQ(lang->GetConfigFile(), dir / "german.LNG");

  // A language that appears in a later scan and sorts before the active one does not take its
  // place.
  lang->SetCurrLanguage("English");
  TempDir second;
  WriteFile(second / "ab.lng", Lng("LanguageId=0x0410\r\nLanguageName=\"Ab\"", ""));
  lang->SetCfgDirectory(second.Path());
  EXPECT_EQ(Names(),
            (std::vector<std::string>{Win1250("Česky"), "Aaa", "Ab", "Deutsch", "English"}));
  EXPECT_EQ(lang->GetCurrLanguage(), "English");

  // An English user sees English first, and it is the language active at start.
  Load(true, 0x0809);
  EXPECT_EQ(Names().front(), "English");
  EXPECT_EQ(lang->GetCurrLanguage(), "English");
}

TEST_F(LanguageFixture, FileLanguageStoresIntoItsFileAndRereadsIt) {
  const std::string path = dir / "german.lng";
  WriteFile(path, Lng("LanguageId=0x0407", "[Texts]\r\nKeep=\"kept\"\r\nOld=\"old\"\r\n"));
  Load();
  lang->SetCurrLanguage("Deutsch");
  EXPECT_TRUE(lang->SetLangText("Texts", "Old", "new \"quoted\""));
  EXPECT_TRUE(lang->SetLangText("Report", "Item", "x", 2));
  EXPECT_EQ(GetLangText("Texts", "Old", ""), "new \"quoted\"");
  EXPECT_EQ(ReadFile(path), Lng("LanguageId=0x0407",
                                "[Texts]\r\nKeep=\"kept\"\r\nOld=\"new \"\"quoted\"\"\"\r\n"
                                "[Report]\r\nItem_2=\"x\"\r\n"));
  // Edited outside: the file wins when the language is applied again.
  WriteFile(path, Lng("LanguageId=0x0407", "[Texts]\r\nOld=\"edited\"\r\n"));
  lang->SetCurrLanguage("English");
  lang->SetCurrLanguage("Deutsch");
  EXPECT_EQ(GetLangText("Texts", "Old", ""), "edited");
  EXPECT_EQ(GetLangText("Texts", "Keep", ""), "kept");
  // A file that can no longer be written is reported, and stays as it was.
  std::filesystem::permissions(
      dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (access(dir.Path().c_str(), W_OK) != 0) {  // root writes anyway
    EXPECT_FALSE(lang->SetLangText("Texts", "Old", "lost"));
    EXPECT_EQ(ReadFile(path), Lng("LanguageId=0x0407", "[Texts]\r\nOld=\"edited\"\r\n"));
  }
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
}

TEST_F(LanguageFixture, ApplyingSwitchesFormatsAndLookUpsTerminate) {
  // Claims another id in its exact [General] than the profile reader sees: the fallback must
  // not go round in circles.
  WriteFile(dir / "loop.lng",
            "[general]\r\nLanguageId=0x0005\r\n[General]\r\nLanguageId=0x0405\r\n");
  Load();
  EXPECT_EQ(GetLangText("Texts", "Missing", "d"), "d");
  EXPECT_EQ(FormatShortDate(2001, 10, 23), "23.10.2001");
  EXPECT_EQ(FormatFixed(2.5, 2), "2,50");
  lang->SetCurrLanguage("English");
  EXPECT_EQ(FormatShortDate(2001, 10, 23), "23/10/2001");
  EXPECT_EQ(FormatFixed(2.5, 1), "2.5");
  EXPECT_EQ(FormatDateTime("dddd d mmmm yy hh:mm", DateTime{2001, 10, 23, 9, 5, 0}),
            "Tuesday 23 October 01 09:05");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", DateTime{2001, 1, 1, 13, 7, 0}), "1:07 pm");
  const FormatsScope iso(FormatsFor(0));
  EXPECT_EQ(FormatShortDate(2001, 1, 2), "2001-01-02");
}

TEST_F(LanguageFixture, GeneralEntriesGiveNameCharsetAndIcon) {
  WriteFile(dir / "fr.lng",
            Lng("LanguageId=0x040C\r\nLanguageCharset=\" easteurope_charset \"", ""));
  WriteFile(dir / "sk.lng", Lng("LanguageId=0x041B\r\nIconString=\"ZZ\"", ""));
  // The authors' tool puts the icon into the file; the language then shows it.
  WriteFile(dir / "ro.ico", BritishFlagIconFile());
  WriteFile(dir / "ro.lng", "[General]\r\nLanguageId=0x0418\r\nLanguageCharset=204\r\n");
  ASSERT_TRUE(VQelLanguage::ConvertIconToString(dir / "ro.ico"));
  const Lines ro = SplitLines(ReadFile(dir / "ro.lng"));
  EXPECT_EQ(ro[3].substr(0, 12), "IconString=\"");
  EXPECT_EQ(ro.back().substr(0, 17), "LOCALE_SMONTHNAME");
  Load();
  // The user's language first, then by character set (the user's own set before the other
  // Latin ones, Russian after them), then by name.
  EXPECT_EQ(Names(), (std::vector<std::string>{Win1250("Česky"), Win1250("Français"),
                                               Win1250("Slovenčina"), "English", "Ro"}));
  const auto& langs = lang->Languages();
  EXPECT_EQ(langs[1]->charset, 238);
  EXPECT_EQ(langs[2]->charset, 238);  // from the code page of the id
  EXPECT_EQ(langs[3]->charset, 0);
  EXPECT_EQ(langs[4]->charset, 204);
  EXPECT_EQ(langs[2]->iconIndex, -1);  // not an icon
  ASSERT_GE(langs[4]->iconIndex, 2);
  const LangImageList& images = lang->Images();
  EXPECT_EQ(images.Key(0), "LANG_WHITEBOARD");
  EXPECT_EQ(images.Key(1), "LANG_TWOFLAGS");
  EXPECT_EQ(images.Key(langs[4]->iconIndex), "0418");
  EXPECT_EQ(images.Image(langs[4]->iconIndex).At(8, 8), 0xFFFF0000u);
  EXPECT_EQ(images.Key(langs[0]->iconIndex), "0405");
}

TEST(LangLocale, UserLanguageCaseAndOrderOfNames) {
  EXPECT_EQ(LanguageIdFromLocaleName("cs_CZ.UTF-8"), 0x0405);
  EXPECT_EQ(LanguageIdFromLocaleName("en_GB.UTF-8@euro"), 0x0809);
  EXPECT_EQ(LanguageIdFromLocaleName("en_US"), 0x0409);
  EXPECT_EQ(LanguageIdFromLocaleName("C.UTF-8"), 0);
  const auto env = [](const std::string& name) -> std::optional<std::string> {
    if (name == "LC_ALL") return std::string();
    if (name == "LANG") return std::string("de_AT.UTF-8");
    return std::nullopt;
  };
  EXPECT_EQ(UserDefaultLanguageId(env), 0x0C07);
  EXPECT_TRUE(SameTextCp1250(Win1250("žluťoučký kůň"), Win1250("ŽLUŤOUČKÝ KŮŇ")));
  EXPECT_FALSE(SameTextCp1250(Win1250("č"), "c"));
  EXPECT_LT(CompareNamesCp1250(Win1250("Čeština"), "Cz"), 0);  // accents do not decide first
  EXPECT_LT(CompareNamesCp1250("Cesky", Win1250("Česky")), 0);
  EXPECT_LT(CompareNamesCp1250("abc", "Abc"), 0);
  EXPECT_EQ(CompareNamesCp1250("Same", "Same"), 0);
}

TEST_F(LanguageFixture, TheComponentInstallsItsTextsAndFormatsOnlyWhileItExists) {
  const std::string isoDate = FormatShortDate(2001, 1, 2);
  ASSERT_EQ(isoDate, "2001-01-02");
  Load(true, 0x0809);
  lang->SetCurrLanguage("English");
  EXPECT_EQ(lang::GetTextSource(), lang.get());
  EXPECT_EQ(FormatShortDate(2001, 1, 2), "02/01/2001");
  {
    // A scope inside the component's lifetime ends first and hands the language's formats back.
    const FormatsScope iso(FormatsFor(0));
    EXPECT_EQ(FormatShortDate(2001, 1, 2), isoDate);
  }
  EXPECT_EQ(FormatShortDate(2001, 1, 2), "02/01/2001");
  lang->SetCurrLanguage(Win1250("Česky"));
  EXPECT_EQ(FormatShortDate(2001, 1, 2), "2.1.2001");
  lang.reset();
  // Gone: the defaults and the formats from before it, however many languages it applied.
  EXPECT_EQ(lang::GetTextSource(), nullptr);
  EXPECT_EQ(GetLangText("Texts", "CommPortBlocked", "d"), "d");
  EXPECT_EQ(FormatShortDate(2001, 1, 2), isoDate);
}
