// The pictures the README and the AppStream metadata name are committed under
// docs/screenshots/ (scripts/screenshots makes them): a renamed or forgotten picture is caught
// here rather than as a broken image on a web page.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Matches(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
    found.push_back((*it)[1]);
  return found;
}

TEST(Screenshots, EveryPictureNamedIsCommittedAndSmall) {
  const fs::path root = KX2_SOURCE_DIR;
  const std::vector<std::string> readme =
      Matches(ReadAll(root / "README.md"), std::regex(R"(\]\((docs/screenshots/[^)]+\.png)\))"));
  const std::vector<std::string> metainfo =
      Matches(ReadAll(root / "data/cz.qel.kx2init.metainfo.xml"),
              std::regex(R"(<image>[^<]*/([^/<]+\.png)</image>)"));
  ASSERT_FALSE(readme.empty());
  ASSERT_EQ(metainfo.size(), 1u);
  std::vector<std::string> files = readme;
  files.push_back("docs/screenshots/" + metainfo.front());
  for (const std::string& file : files) {
    ASSERT_TRUE(fs::is_regular_file(root / file)) << file;
    EXPECT_LT(fs::file_size(root / file), 200u * 1024) << file;
  }
}

}  // namespace
