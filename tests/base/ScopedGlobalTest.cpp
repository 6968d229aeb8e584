#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/LangText.h"

namespace {

// A language that knows one word.
struct OneWord : lang::TextSource {
  explicit OneWord(std::string w) : word(std::move(w)) {}
  std::string GetLangText(const std::string&, const std::string& key, const std::string& def, int,
                          int) override {
    return key == "Word" ? word : def;
  }
  std::string word;
};

std::string Word() {
  return GetLangText("Texts", "Word", "slovo");
}

TEST(ScopedGlobal, TextSourcesNestAndThePreviousComesBackEvenOnAnException) {
  OneWord english("word"), german("Wort");
  ASSERT_EQ(lang::GetTextSource(), nullptr);
  EXPECT_EQ(Word(), "slovo");
  {
    const lang::TextSourceScope outer(&english);
    EXPECT_EQ(outer.Previous(), nullptr);
    EXPECT_EQ(Word(), "word");
    {
      const lang::TextSourceScope inner(&german);
      EXPECT_EQ(inner.Previous(), &english);
      EXPECT_EQ(Word(), "Wort");
    }
    EXPECT_EQ(Word(), "word");
    try {
      const lang::TextSourceScope thrown(&german);
      throw std::runtime_error("a failed assertion");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(lang::GetTextSource(), &english);
  }
  EXPECT_EQ(lang::GetTextSource(), nullptr);
  EXPECT_EQ(Word(), "slovo");
}

}  // namespace
