#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/TempDir.h"
#include "lang/LngFile.h"

using namespace lang;

TEST(LngValue, QuotedUnquotedAndDoubledQuotes) {
  EXPECT_EQ(DecodeLngValue("3"), "3");
  EXPECT_EQ(DecodeLngValue("plain text"), "plain text");
  // Without its quotes a value reads as if it had them: a lone quote ends it, a doubled one is
  // one quote.
  EXPECT_EQ(DecodeLngValue("ab\"c"), "ab");
  EXPECT_EQ(DecodeLngValue("a\"\"b"), "a\"b");
  EXPECT_EQ(DecodeLngValue("ab\"\""), "ab\"");
  EXPECT_EQ(DecodeLngValue("\""), "\"");
  EXPECT_EQ(DecodeLngValue("\"\""), "");
  EXPECT_EQ(DecodeLngValue("\"say \"\"hi\"\"\""), "say \"hi\"");
  EXPECT_EQ(DecodeLngValue("\"abc\"ignored\""), "abc");
  EXPECT_EQ(DecodeLngValue("\"abc"), "ab");  // closing quote missing
  for (const std::string text : {"", " both ends ", "\"", "\"\"\"", "a\"\"b", "x=\"y\""})
    EXPECT_EQ(DecodeLngValue(QuoteLngValue(text)), text) << text;
}

TEST(LngLookup, ExactHeadersWildcardKeysFirstMatchWins) {
  const Lines lines = SplitLines(
      "Key=\"before any header\"\r\n"
      "[Texts]\r\n"
      "\"quoted=not a key\r\n"
      "Hint*=\"any hint\"\r\n"
      "HintEventsTo=\"too late\"\r\n"
      "A?C=\"one character\"\r\n"
      "\r\n"
      "Later=\"after a blank line\"\r\n"
      "[EEPROM]  \r\n"
      "Trailing=\"still in Texts\"\r\n"
      "[Other]\r\n"
      "Key=\"other\"\r\n");
  EXPECT_EQ(FindLngValue(lines, "Texts", "HintEventsTo"), "\"any hint\"");
  EXPECT_EQ(FindLngValue(lines, "Texts", "ABC"), "\"one character\"");
  EXPECT_EQ(FindLngValue(lines, "Texts", "AC"), std::nullopt);
  EXPECT_EQ(FindLngValue(lines, "Texts", "Later"), "\"after a blank line\"");
  EXPECT_EQ(FindLngValue(lines, "Texts", "\"quoted"), std::nullopt);
  EXPECT_EQ(FindLngValue(lines, "Texts", "Key"), std::nullopt);
  // A header with trailing blanks is no header: not found, and it does not end [Texts].
  EXPECT_EQ(FindLngValue(lines, "EEPROM", "Trailing"), std::nullopt);
  EXPECT_EQ(FindLngValue(lines, "Texts", "Trailing"), "\"still in Texts\"");
  EXPECT_EQ(FindLngValue(lines, "texts", "Later"), std::nullopt);
  EXPECT_EQ(FindLngValue(lines, "Other", "Key"), "\"other\"");
}

TEST(LngStore, ReplacesInsertsBeforeBlankAndAppendsSections) {
  Lines lines = SplitLines("[A]\r\nK=\"1\"\r\n\r\nM=\"2\"\r\n[B]\r\n");
  StoreLngValue(lines, "A", "K", "one");
  StoreLngValue(lines, "A", "M", "two");  // the store does not look past a blank line
  StoreLngValue(lines, "B", "N", "say \"x\"");
  StoreLngValue(lines, "C", "P", "new");
  StoreLngValue(lines, "C", "", "nothing");
  EXPECT_EQ(JoinLines(lines),
            "[A]\r\nK=\"one\"\r\nM=\"two\"\r\n\r\nM=\"2\"\r\n[B]\r\nN=\"say \"\"x\"\"\"\r\n\r\n"
            "[C]\r\nP=\"new\"\r\n");
  // A key that only starts the same is another key.
  Lines keys = SplitLines("[A]\r\nKey2=\"x\"\r\n");
  StoreLngValue(keys, "A", "Key", "y");
  EXPECT_EQ(keys, (Lines{"[A]", "Key2=\"x\"", "Key=\"y\""}));
}

TEST(LngProfile, ReadsLikeAnIniReaderAndWritesInPlace) {
  Lines lines = SplitLines("[general]\nlanguageid = ' 0x0405 ' \n\n[Texts]\nA=1\n");
  EXPECT_EQ(ReadProfileString(lines, "General", "LanguageId"), " 0x0405 ");
  EXPECT_EQ(ReadProfileString(lines, "General", "Missing"), std::nullopt);
  WriteProfileString(lines, "General", "LanguageId", "\"0x0809\"");
  WriteProfileString(lines, "Texts", "B", "\"2\"");
  WriteProfileString(lines, "New", "C", "\"3\"");
  EXPECT_EQ(lines, (Lines{"[general]", "LanguageId=\"0x0809\"", "", "[Texts]", "A=1", "B=\"2\"",
                          "[New]", "C=\"3\""}));

  EXPECT_EQ(ParseLanguageId("0x0809"), 0x0809);
  EXPECT_EQ(ParseLanguageId("1029"), 1029);
  EXPECT_EQ(ParseLanguageId("-1"), -1);
  EXPECT_EQ(ParseLanguageId("0x"), std::nullopt);
  EXPECT_EQ(ParseLanguageId("12a"), std::nullopt);
  EXPECT_EQ(ParseLanguageId("99999999999"), std::nullopt);
}

TEST(LngFiles, LinesAndAtomicReplacement) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n\r\n"), (Lines{"a", "b", "c", "d", ""}));
  TempDir dir;
  const std::string path = dir / "x.lng";
  WriteFile(path, "old");
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteWholeFileAtomically(path, "new\r\n"));
  EXPECT_EQ(ReadFile(path), "new\r\n");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_FALSE(WriteWholeFileAtomically(dir / "missing/x.lng", "data"));
  std::string bytes;
  EXPECT_FALSE(ReadWholeFile(path, bytes, 3));  // larger than allowed
  EXPECT_TRUE(ReadWholeFile(path, bytes, 100));
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    ++files;
  EXPECT_EQ(files, 1u);  // no temporary left behind
}
