#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

// The program's texts are Windows-1250 bytes while its sources are UTF-8: a literal with letters
// beyond ASCII must go through Win1250(), or it would reach controls, files and the unit as
// UTF-8. The Qt front end works in UTF-8 and is exempt.
TEST(SourceText, NonAsciiLiteralsOfTheCoreAreConverted) {
  namespace fs = std::filesystem;
  const fs::path src = fs::path(KX2_SOURCE_DIR) / "src";
  const std::regex literal(R"re("(?:[^"\\\n]|\\.)*")re");
  std::vector<std::string> offenders;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const auto ext = entry.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    if (entry.path().parent_path().filename() == "qt") continue;
    std::ifstream in(entry.path());
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      const auto code = line.substr(0, line.find("//"));
      for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it) {
        const std::string lit = it->str();
        const bool nonAscii =
            std::any_of(lit.begin(), lit.end(), [](char c) { return (c & 0x80) != 0; });
        const size_t at = static_cast<size_t>(it->position());
        const bool wrapped = at >= 8 && code.compare(at - 8, 8, "Win1250(") == 0;
        if (nonAscii && !wrapped)
          offenders.push_back(entry.path().string() + ":" + std::to_string(number));
      }
    }
  }
  EXPECT_TRUE(offenders.empty()) << "first: " << offenders.front();
}
