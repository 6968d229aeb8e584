// Fuzz-style properties of the text parsers: arbitrary bytes never break them, and what they
// produce reads back as itself. The same functions are the entry points of the fuzz targets.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "settings/NumberText.h"
#include "settings/PhoneNumber.h"

namespace {

// Strings biased towards the characters the parsers care about, with some arbitrary bytes.
class RandomText {
 public:
  explicit RandomText(uint32_t seed) : rng_(seed) {}
  std::string Next() {
    static const std::string kInteresting = "0123456789+-,.* #tTdDhHmMsSxXbBcC\"?";
    const size_t length = Pick(24);
    std::string s;
    for (size_t i = 0; i < length; ++i) {
      if (Pick(8) == 0)
        s += static_cast<char>(Pick(256));  // 0 bytes and the upper half included
      else
        s += kInteresting[Pick(kInteresting.size())];
    }
    return s;
  }
  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
  long long Between(long long lo, long long hi) {
    return std::uniform_int_distribution<long long>(lo, hi)(rng_);
  }

 private:
  std::mt19937 rng_;
};

constexpr int kRounds = 20000;

}  // namespace

TEST(ParserProperties, PhoneNumbersReadBackAsStoredAndNeverHoldAnEarlyZero) {
  RandomText random(1);
  for (int i = 0; i < kRounds; ++i) {
    const std::string text = random.Next();
    bool error = false;
    const std::string packed = phone::packText(text, error);
    ASSERT_FALSE(packed.empty());
    // The only 0 byte is the last one: the layout finds the end of every number.
    ASSERT_EQ(packed.find('\0'), packed.size() - 1) << text;
    ASSERT_LE(packed.size(), 13u);
    // Arbitrary stored bytes still give a text.
    phone::toText(text);
    std::string international;
    if (phone::toInternational(text, random.Next(), international)) {
      ASSERT_EQ(international.find('\0'), international.size() - 1);
    }
    // What the edit shows for the stored number is typed in as the same number. Typed text must
    // begin with '+' or a decimal digit, so a national number beginning with '*' (typed as
    // "+*5,129") or one without digits (",7") shows a text that cannot be typed back.
    const std::string shown = phone::toText(packed);
    if (!shown.empty() && shown[0] != '+' && (shown[0] < '0' || shown[0] > '9')) continue;
    bool again = true;
    ASSERT_EQ(phone::packText(shown, again), packed) << text << " -> " << shown;
    ASSERT_FALSE(again) << shown;
  }
}

TEST(ParserProperties, ServiceCentreNumbersAreDigitsOnly) {
  RandomText random(2);
  for (int i = 0; i < kRounds; ++i) {
    bool error = false;
    const std::string number = phone::scaNumber(random.Next(), error);
    ASSERT_LE(number.size(), 17u);
    ASSERT_EQ(number.find_first_not_of("+0123456789"), std::string::npos);
    if (!error) {
      bool again = true;
      ASSERT_EQ(phone::scaNumber(number, again), number);
      ASSERT_FALSE(again);
    }
  }
}

TEST(ParserProperties, NumbersAndIntervalsRoundTrip) {
  RandomText random(3);
  for (int i = 0; i < kRounds; ++i) {
    const std::string text = random.Next();
    bool error = false;
    parseNumber(text, 10, error, false);
    parseNumber(text, 1, error, true);
    parseInterval(text, error);
    bool vpError = false;
    textToValidityPeriod(text, vpError);

    const long long seconds = random.Between(-5000000000LL, 5000000000LL);
    const long long read = parseInterval(formatInterval(seconds), error);
    ASSERT_EQ(read, seconds) << formatInterval(seconds);
    ASSERT_FALSE(error);

    const long long tenths = random.Between(-2000000, 2000000);
    ASSERT_EQ(parseNumber(formatFixed(tenths, 10), 10, error, false), tenths);
    ASSERT_FALSE(error);
    ASSERT_EQ(parseNumber(formatFixed(tenths, 1), 1, error, true), tenths);
    ASSERT_FALSE(error);
  }
  // Extremes saturate instead of overflowing.
  bool error = false;
  EXPECT_GT(parseInterval(std::string(200, '9') + "t" + std::string(200, '9') + "d", error), 0);
  // Two saturated terms: their sum must saturate too (found by fuzzing).
  EXPECT_GT(parseInterval("9999999999999t9999999999999t", error), 0);
  EXPECT_TRUE(error);  // the same unit twice
  EXPECT_EQ(formatInterval(INT64_MIN).substr(0, 1), "-");
  EXPECT_EQ(formatFixed(INT64_MIN, 10).substr(0, 1), "-");
}
