#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace {

// True when a string literal (with its quotes) spells a byte of 0x80..0xFF as an escape, "\xF8"
// or "\370". An escaped backslash ("\\xF8") is no escape.
bool HasHighByteEscape(const std::string& literal) {
  auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  for (size_t i = 0; i + 1 < literal.size(); ++i) {
    if (literal[i] != '\\') continue;
    const char next = literal[++i];
    if (next == 'x') {
      size_t end = i + 1;
      while (end < literal.size() && hex(literal[end])) ++end;
      if (end > i + 1 && std::stoul(literal.substr(i + 1, end - i - 1), nullptr, 16) >= 0x80)
        return true;
    } else if (next >= '0' && next <= '7') {
      size_t end = i;
      while (end < literal.size() && end < i + 3 && literal[end] >= '0' && literal[end] <= '7')
        ++end;
      if (std::stoul(literal.substr(i, end - i), nullptr, 8) >= 0x80) return true;
    }
  }
  return false;
}

// Calls check(file:line, code before any line comment, the comment) for each line of the core's
// sources. The Qt front end works in UTF-8 and is exempt.
void ForEachCoreLine(
    const std::function<void(const std::string&, const std::string&, const std::string&)>& check) {
  namespace fs = std::filesystem;
  const fs::path src = fs::path(KX2_SOURCE_DIR) / "src";
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const auto ext = entry.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    if (entry.path().parent_path().filename() == "qt") continue;
    std::ifstream in(entry.path());
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      const size_t comment = std::min(line.find("//"), line.size());
      check(entry.path().string() + ":" + std::to_string(number), line.substr(0, comment),
            line.substr(comment));
    }
  }
}

const std::regex& Literal() {
  static const std::regex literal(R"re("(?:[^"\\\n]|\\.)*")re");
  return literal;
}

}  // namespace

// The program's texts are Windows-1250 bytes while its sources are UTF-8: a literal with letters
// beyond ASCII must go through Win1250(), or it would reach controls, files and the unit as
// UTF-8.
TEST(SourceText, NonAsciiLiteralsOfTheCoreAreConverted) {
  std::vector<std::string> offenders;
  ForEachCoreLine([&](const std::string& where, const std::string& code, const std::string&) {
    for (std::sregex_iterator it(code.begin(), code.end(), Literal()), end; it != end; ++it) {
      const std::string lit = it->str();
      const bool nonAscii =
          std::any_of(lit.begin(), lit.end(), [](char c) { return (c & 0x80) != 0; });
      const size_t at = static_cast<size_t>(it->position());
      const bool wrapped = at >= 8 && code.compare(at - 8, 8, "Win1250(") == 0;
      if (nonAscii && !wrapped) offenders.push_back(where);
    }
  });
  EXPECT_TRUE(offenders.empty()) << "first: " << offenders.front();
}

// Czech text is written one way, readable: Win1250("Přerušit"), not "P\xF8eru\x9Ait". A byte
// escape above 0x7F is left for bytes that are data rather than text (a byte order mark, a
// separator byte), and such a line says so with a comment beginning "// bytes".
TEST(SourceText, HighByteEscapesOfTheCoreAreMarkedAsData) {
  EXPECT_TRUE(HasHighByteEscape(R"("P\xF8ipojit")"));
  EXPECT_TRUE(HasHighByteEscape(R"("\xa0")"));
  EXPECT_TRUE(HasHighByteEscape(R"("P\370ipojit")"));
  EXPECT_TRUE(HasHighByteEscape(R"("a\\\xF8")"));
  EXPECT_FALSE(HasHighByteEscape(R"("a\\xF8")"));
  EXPECT_FALSE(HasHighByteEscape(R"("\x7F\x1B\0\177\n")"));

  std::vector<std::string> offenders;
  ForEachCoreLine(
      [&](const std::string& where, const std::string& code, const std::string& comment) {
        if (comment.rfind("// bytes", 0) == 0) return;
        for (std::sregex_iterator it(code.begin(), code.end(), Literal()), end; it != end; ++it)
          if (HasHighByteEscape(it->str())) offenders.push_back(where);
      });
  EXPECT_TRUE(offenders.empty()) << "first: " << offenders.front();
}
