#include <gtest/gtest.h>

#include "base/Cp1250.h"
#include "base/Qelutils.h"
#include "lang/BuiltinLanguages.h"
#include "lang/LangIcon.h"
#include "lang/LngFile.h"

using namespace lang;

namespace {

// Sections with their keys, in file order.
std::vector<std::pair<std::string, std::vector<std::string>>> Outline(const std::string& text) {
  std::vector<std::pair<std::string, std::vector<std::string>>> outline;
  for (const auto& line : SplitLines(text)) {
    if (!line.empty() && line[0] == '[')
      outline.push_back({line, {}});
    else if (!line.empty())
      outline.back().second.push_back(line.substr(0, line.find('=')));
  }
  return outline;
}

}  // namespace

TEST(BuiltinTexts, FilesHaveTheSameSectionsAndKeysInOrder) {
  const std::string czech = BuiltinCzechText(), english = BuiltinEnglishText();
  EXPECT_EQ(BuiltinLanguageTexts(), (std::vector<std::string>{czech, english}));
  for (const std::string* text : {&czech, &english}) {
    ASSERT_GE(text->size(), 2u);
    EXPECT_EQ(text->substr(text->size() - 2), "\r\n");
    EXPECT_EQ(text->find('\n'), text->find("\r\n") + 1);
  }
  const auto cz = Outline(czech), en = Outline(english);
  ASSERT_EQ(cz.size(), 10u);
  const char* order[] = {"[General]",   "[FormMain]",    "[FormProgress]", "[FormOptions]",
                         "[FormAbout]", "[FormCompare]", "[FormAnaIn]",    "[Texts]",
                         "[Report]",    "[EEPROM]"};
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(en[i].first, order[i]);
    EXPECT_EQ(cz[i].second, en[i].second) << order[i];
  }
  // The Czech header of [EEPROM] carries its trailing blanks.
  EXPECT_EQ(cz[9].first, "[EEPROM]  ");
  EXPECT_EQ(cz[1].second.size(), 103u);
  EXPECT_EQ(cz[1].second.front(), "FormMain");
  EXPECT_EQ(cz[1].second.back(), "VQelTerminal1_BtnDirect_Hint");
  EXPECT_NE(czech.find("\r\nRGroupExpLevel_Count=3\r\n"), std::string::npos);
  // One blank line between sections.
  EXPECT_NE(english.find("\"\r\n\r\n[FormMain]\r\n"), std::string::npos);
  // Texts are Windows-1250 bytes.
  EXPECT_NE(czech.find("LanguageName=\"\xC8"
                       "esky\""),
            std::string::npos);
  const Lines lines = SplitLines(czech);
  EXPECT_EQ(FindLngValue(lines, "Texts", "CannotCreateDir"),
            Win1250("\"Nelze vytvořit adresář \""));
}

TEST(BuiltinTexts, FlagIconsAreSixteenColourIcons) {
  for (const std::string& text : BuiltinLanguageTexts()) {
    const auto raw = FindLngValue(SplitLines(text), "General", "IconString");
    ASSERT_TRUE(raw);
    const std::string hex = DecodeLngValue(*raw);
    EXPECT_EQ(hex.size(), 636u);
    EXPECT_EQ(hex, BytesToHexaString(HexaStringToBytes(hex)));  // upper-case digits
    const std::string bytes = HexaStringToBytes(hex);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\0\0\1\0\1\0", 6));
    EXPECT_EQ(bytes[6], 16);
    EXPECT_EQ(bytes[8], 16);  // colours
    EXPECT_EQ(bytes[12], 4);  // bits per pixel
  }
  const auto czech = DecodeIconFile(CzechFlagIconFile());
  ASSERT_TRUE(czech);
  EXPECT_EQ(czech->At(15, 3), 0xFFFFFFFFu);   // white above
  EXPECT_EQ(czech->At(15, 12), 0xFFFF0000u);  // red below
  EXPECT_EQ(czech->At(1, 8), 0xFF000080u);    // the blue wedge at the hoist
  EXPECT_EQ(czech->At(8, 0), 0u);             // transparent above the flag
  const auto british = DecodeIconFile(BritishFlagIconFile());
  ASSERT_TRUE(british);
  EXPECT_EQ(british->At(8, 8), 0xFFFF0000u);  // red cross in the middle
  EXPECT_EQ(british->At(5, 3), 0xFF000080u);  // blue field
  EXPECT_EQ(british->At(8, 15), 0u);

  // Damaged icon files give no icon instead of reading past their end.
  std::string cut = CzechFlagIconFile();
  EXPECT_FALSE(DecodeIconFile(cut.substr(0, 100)));
  cut[21] = '\x7F';  // image offset beyond the file
  EXPECT_FALSE(DecodeIconFile(cut));
  EXPECT_FALSE(DecodeIconFile(""));
}
