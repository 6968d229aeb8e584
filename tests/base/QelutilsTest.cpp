#include "base/Qelutils.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

TEST(Qelutils, CompareWildcard) {
  EXPECT_TRUE(CompareWildcard("Hint*", "HintDigInLH"));
  EXPECT_TRUE(CompareWildcard("H?nt", "Hint"));
  EXPECT_TRUE(CompareWildcard("abc*", "abc"));
  EXPECT_TRUE(CompareWildcard("abc*", "abcd"));
  EXPECT_FALSE(CompareWildcard("a*c", "ab"));
  EXPECT_FALSE(CompareWildcard("", "x"));
  EXPECT_TRUE(CompareWildcard("", ""));
  EXPECT_TRUE(CompareWildcard("*", ""));
  EXPECT_TRUE(CompareWildcard("**", "anything"));
  EXPECT_FALSE(CompareWildcard("?", ""));
  EXPECT_FALSE(CompareWildcard("hint*", "HintX"));  // case counts
  EXPECT_FALSE(CompareWildcard("Hint", "HintX"));   // the whole text has to be covered
  // The first place a star could stop is not always the right one.
  EXPECT_TRUE(CompareWildcard("a*b*c", "axbxxbyc"));
  EXPECT_TRUE(CompareWildcard("*Mess??", "CheckDinMessLH"));
  EXPECT_FALSE(CompareWildcard("*Mess?", "CheckDinMessLH"));
  // A star in the pattern stays a wildcard where the text holds a literal star or question mark.
  EXPECT_TRUE(CompareWildcard("*", "*x"));
  EXPECT_TRUE(CompareWildcard("a*", "a*b"));
  EXPECT_TRUE(CompareWildcard("a?c", "a?c"));
  // Many stars against a long text that does not match must not explode.
  EXPECT_FALSE(CompareWildcard("a*a*a*a*a*a*a*a*b", std::string(2000, 'a')));
}

TEST(Qelutils, JoinConfigsKeepsDestinationValues) {
  Lines dest = {"[A]", "k1=1", "", "[B]", "x=1"};
  const Lines src = {
      "stray=before any header", "[A]", "k1=9", "k2=2", "   ", "k3=3", "[C]", "c=1", "[B]", "x=2"};
  JoinConfigs(dest, src, false);
  // New keys follow the section's last non-blank line, in the source's order; a missing section
  // is appended after a blank line.
  EXPECT_EQ(dest, (Lines{"[A]", "k1=1", "k2=2", "k3=3", "", "[B]", "x=1", "", "[C]", "c=1"}));

  Lines empty;
  JoinConfigs(empty, {"[S]", "a=1"}, false);
  EXPECT_EQ(empty, (Lines{"[S]", "a=1"}));
}

TEST(Qelutils, JoinConfigsOverwrite) {
  Lines dest = {"[A]", "k1=1", "same", "[B]", "k1=untouched"};
  JoinConfigs(dest, {"[A]", "k1=9", "k2=2", "k3=3", "same", "==k4=x"}, true);
  // Replaced in place; new keys land directly below the header, so they come out reversed.
  EXPECT_EQ(dest, (Lines{"[A]", "==k4=x", "k3=3", "k2=2", "k1=9", "same", "[B]", "k1=untouched"}));

  // Keys compare exactly, up to the first "=" after any leading ones.
  Lines keys = {"[K]", "Key=1", "=b=2"};
  JoinConfigs(keys, {"[K]", "key=3", "b=4"}, true);
  EXPECT_EQ(keys, (Lines{"[K]", "key=3", "Key=1", "b=4"}));
}

TEST(Qelutils, CutPrefixAndCutInteger) {
  std::string s = "Version";
  EXPECT_TRUE(CutPrefix(s, "VER"));
  EXPECT_EQ(s, "sion");
  s = "Ve";
  EXPECT_FALSE(CutPrefix(s, "VER"));
  EXPECT_EQ(s, "Ve");
  s = "\xC8x";  // national letters are not folded: Č is not č
  EXPECT_FALSE(CutPrefix(s, "\xE8x"));
  EXPECT_TRUE(CutPrefix(s, ""));

  struct Case {
    std::string in;
    int value;
    std::string rest;
  };
  for (const Case& c :
       {Case{"-", 7, "-"}, Case{"abc", 7, "abc"}, Case{"", 7, ""}, Case{"1.10", 1, ".10"},
        Case{"-42x", -42, "x"}, Case{"007", 7, ""}, Case{"1000000", 1000000, ""},
        Case{"12345678", 1234567, "8"}, Case{"-99999999", -9999999, "9"}, Case{"--1", 7, "--1"}}) {
    std::string text = c.in;
    EXPECT_EQ(CutInteger(text, 7), c.value) << c.in;
    EXPECT_EQ(text, c.rest) << c.in;
  }
}

TEST(Qelutils, HexConversions) {
  EXPECT_EQ(Hex2Asc(0), '0');
  EXPECT_EQ(Hex2Asc(9), '9');
  EXPECT_EQ(Hex2Asc(10), 'A');
  EXPECT_EQ(Hex2Asc(15), 'F');
  EXPECT_EQ(Hex2Asc(16), '?');
  EXPECT_EQ(Hex2Asc(-1), '?');
  EXPECT_EQ(Asc2Hex('7', -1), 7);
  EXPECT_EQ(Asc2Hex('b', -1), 11);
  EXPECT_EQ(Asc2Hex('B', -1), 11);
  EXPECT_EQ(Asc2Hex('g', -5), -5);

  EXPECT_EQ(HexaStringToBytes("0a1B"), std::string("\x0A\x1B"));
  EXPECT_EQ(BytesToHexaString(std::string("\x0A\x1B")), "0A1B");
  EXPECT_EQ(HexaStringToBytes("0a1"), std::string("\x0A"));  // odd last character ignored
  EXPECT_EQ(HexaStringToBytes(""), "");
  EXPECT_EQ(HexaStringToBytes("zz"), std::string(1, '\0'));
  EXPECT_EQ(HexaStringToBytes("x5"), std::string(1, '\0'));
  EXPECT_EQ(HexaStringToBytes("Fx"), std::string("\xE0"));
  EXPECT_EQ(BytesToHexaString(""), "");

  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string hex = BytesToHexaString(all);
  EXPECT_EQ(hex.substr(0, 6), "000102");
  EXPECT_EQ(hex.substr(hex.size() - 4), "FEFF");
  EXPECT_EQ(HexaStringToBytes(hex), all);
}

namespace {
struct Counted : StringObject {
  explicit Counted(int& counter) : counter_(counter) {}
  ~Counted() override { ++counter_; }
  int& counter_;
};
}  // namespace

TEST(Qelutils, StringListsWithObjects) {
  int destroyed = 0;
  TStringList list;
  list.Add("Czech", std::make_unique<Counted>(destroyed));
  list.Add("English", std::make_unique<Counted>(destroyed));
  list.Add("plain");
  EXPECT_EQ(list.IndexOf("ENGLISH"), 1);
  EXPECT_EQ(list.IndexOf("missing"), -1);

  ClearTStrings(list);
  EXPECT_EQ(destroyed, 2);
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Strings(0), "Czech");
  EXPECT_EQ(list.Objects(0), nullptr);

  list.items[2].object = std::make_unique<Counted>(destroyed);
  ClearTStrings2(list);
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(list.Count(), 0u);
}

TEST(Qelutils, AsciiCaseHelpers) {
  EXPECT_TRUE(SameTextAscii("FormMain", "formMAIN"));
  EXPECT_FALSE(SameTextAscii("Form", "Forms"));
  // Windows-1250 Ř (0xD8) and ř (0xF8) stay distinct: only a-z are folded.
  EXPECT_FALSE(SameTextAscii("\xD8", "\xF8"));
  EXPECT_EQ(UpperAscii(std::string("abc\xF8z")), std::string("ABC\xF8Z"));
  EXPECT_EQ(LowerAscii(std::string("ABC\xD8Z")), std::string("abc\xD8z"));
  EXPECT_LT(CompareTextAscii("abc", "ABD"), 0);
  EXPECT_GT(CompareTextAscii("b", "A"), 0);
  EXPECT_LT(CompareTextAscii("ab", "ABC"), 0);
  EXPECT_GT(CompareTextAscii("\xE8", "z"), 0);  // bytes compare unsigned
}
