#include "base/Cp1250.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(Cp1250, CzechLettersBothWays) {
  // "Příliš žluťoučký kůň úpěl ďábelské ódy" and every accented capital and small letter.
  const std::string cp =
      "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 "
      "\xF3\x64y "
      "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E "
      "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E";
  const std::string utf8 = "Příliš žluťoučký kůň úpěl ďábelské ódy ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ áčďéěíňóřšťúůýž";
  EXPECT_EQ(Cp1250ToUtf8(cp), utf8);
  EXPECT_EQ(Utf8ToCp1250(utf8), cp);
  EXPECT_EQ(Cp1250ToUtf8("\x80\xA0\xFF"), "\u20AC\u00A0\u02D9");
}

TEST(Cp1250, EveryByteRoundTrips) {
  std::set<std::string> seen;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string utf8 = Cp1250ToUtf8(one);
    EXPECT_EQ(Utf8ToCp1250(utf8), one) << "byte " << b;
    EXPECT_TRUE(seen.insert(utf8).second) << "byte " << b << " shares its character";
  }
  // The bytes the code page leaves undefined come out as the C1 controls of the same number.
  EXPECT_EQ(Cp1250ToUtf8("\x81\x83\x88\x90\x98"), "\u0081\u0083\u0088\u0090\u0098");

  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, UnrepresentableAndMalformedInput) {
  EXPECT_EQ(Utf8ToCp1250("€ 日本 😀"), "\x80 ?? ?");
  EXPECT_EQ(Utf8ToCp1250("\u0080"), "?");               // a C1 control with no byte of its own
  EXPECT_EQ(Utf8ToCp1250("a\x80z"), "a?z");             // stray continuation byte
  EXPECT_EQ(Utf8ToCp1250("a\xC5"), "a?");               // truncated at the end
  EXPECT_EQ(Utf8ToCp1250("\xC5Z"), "?Z");               // truncated, next character kept
  EXPECT_EQ(Utf8ToCp1250("\xE2\x82Z"), "?Z");           // one "?" for the valid part of a sequence
  EXPECT_EQ(Utf8ToCp1250("\xC0\xAF"), "??");            // overlong
  EXPECT_EQ(Utf8ToCp1250("\xED\xA0\x80"), "???");       // surrogate
  EXPECT_EQ(Utf8ToCp1250("\xF4\x90\x80\x80"), "????");  // above U+10FFFF
  EXPECT_EQ(Utf8ToCp1250("\xFF\xFE"), "??");
  EXPECT_EQ(Utf8ToCp1250(std::string("a\0b", 3)), std::string("a\0b", 3));
}
