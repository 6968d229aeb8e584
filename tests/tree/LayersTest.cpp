#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The README's Layout table is the one statement of which layer may use which. These checks read
// it and hold every source file of src/ and every layer's DEPS list to it, so a shortcut from a
// lower layer to a higher one fails here instead of growing into a cycle.

namespace fs = std::filesystem;

namespace {

using LayerTable = std::map<std::string, std::set<std::string>>;

// Rows of the form "| `name/` | what | a, b, c |"; "—" stands for no layer.
LayerTable ReadLayerTable(const fs::path& readme) {
  LayerTable table;
  std::ifstream in(readme);
  const std::regex row(R"(^\|\s*`([a-z]+)/`\s*\|.*\|\s*([^|]*?)\s*\|\s*$)");
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (!std::regex_match(line, m, row)) continue;
    std::set<std::string> uses;
    std::istringstream cell(m[2].str());
    std::string name;
    while (std::getline(cell, name, ',')) {
      name.erase(0, name.find_first_not_of(' '));
      name.erase(name.find_last_not_of(' ') + 1);
      if (!name.empty() && name != "\xE2\x80\x94") uses.insert(name);
    }
    table[m[1].str()] = uses;
  }
  return table;
}

// Layers named by the #include "layer/..." lines of one file.
std::set<std::string> IncludedLayers(const fs::path& file) {
  std::set<std::string> layers;
  std::ifstream in(file);
  const std::regex include(R"re(^\s*#\s*include\s*"([A-Za-z0-9_]+)/)re");
  std::string line;
  std::smatch m;
  while (std::getline(in, line))
    if (std::regex_search(line, m, include)) layers.insert(m[1].str());
  return layers;
}

// The kx2_* names after DEPS in the layer's kx2_layer(...) call, without the prefix.
std::set<std::string> DeclaredDeps(const fs::path& cmakeLists) {
  std::ifstream in(cmakeLists);
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  std::set<std::string> deps;
  const std::regex call(R"(kx2_layer\s*\(([^)]*)\))");
  std::smatch m;
  if (!std::regex_search(text, m, call)) return deps;
  const std::string args = m[1].str();
  const auto at = args.find("DEPS");
  if (at == std::string::npos) return deps;
  const std::regex lib(R"(kx2_([a-z]+))");
  const std::string tail = args.substr(at);
  for (std::sregex_iterator it(tail.begin(), tail.end(), lib), end; it != end; ++it)
    deps.insert((*it)[1].str());
  return deps;
}

std::string Join(const std::set<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
  return out.empty() ? "(none)" : out;
}

// Every breach of the table under `root` (a checkout: README.md and src/), one line each.
std::vector<std::string> LayerViolations(const fs::path& root) {
  std::vector<std::string> problems;
  const LayerTable table = ReadLayerTable(root / "README.md");
  if (table.empty()) return {"README.md has no layer table"};
  for (const auto& dir : fs::directory_iterator(root / "src")) {
    if (!dir.is_directory()) continue;
    const std::string layer = dir.path().filename().string();
    const auto row = table.find(layer);
    if (row == table.end()) {
      problems.push_back("src/" + layer + "/ is not in the README's layer table");
      continue;
    }
    std::set<std::string> usedByLibrary;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
      const auto ext = entry.path().extension();
      if (ext != ".cpp" && ext != ".h") continue;
      const bool program = entry.path().filename().string().rfind("main_", 0) == 0;
      for (const auto& used : IncludedLayers(entry.path())) {
        if (used == layer) continue;
        if (!row->second.count(used))
          problems.push_back(fs::relative(entry.path(), root).string() + " includes " + used +
                             "/, which " + layer + "/ may not use");
        else if (!program)
          usedByLibrary.insert(used);
      }
    }
    const auto declared = DeclaredDeps(dir.path() / "CMakeLists.txt");
    if (declared != usedByLibrary)
      problems.push_back("src/" + layer + "/CMakeLists.txt DEPS: " + Join(declared) +
                         "; its sources include: " + Join(usedByLibrary));
  }
  return problems;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

// A throw-away checkout with a two-layer table.
class PlantedTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("kx2_tree_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    Write("README.md",
          "| layer | what | may use |\n|---|---|---|\n"
          "| `low/` | bottom | \xE2\x80\x94 |\n| `high/` | top | low |\n");
    Write("src/low/A.h", "#pragma once\n#include <string>\n");
    Write("src/low/CMakeLists.txt", "kx2_layer(low)\n");
    Write("src/high/B.cpp", "#include \"high/B.h\"\n#include \"low/A.h\"\n");
    Write("src/high/CMakeLists.txt", "kx2_layer(high DEPS kx2_low)\n");
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const std::string& name, const std::string& text) {
    fs::create_directories((root_ / name).parent_path());
    std::ofstream(root_ / name) << text;
  }
  fs::path root_;
};

}  // namespace

TEST(Layers, TheTreeKeepsToTheReadmeTable) {
  const fs::path root(KX2_SOURCE_DIR);
  const auto table = ReadLayerTable(root / "README.md");
  // The table itself: the bottom layer uses nothing, the simulator only the bottom layer.
  ASSERT_TRUE(table.count("base"));
  EXPECT_TRUE(table.at("base").empty());
  EXPECT_EQ(table.at("sim"), std::set<std::string>{"base"});
  EXPECT_FALSE(table.at("ui").count("components"));
  const auto problems = LayerViolations(root);
  EXPECT_TRUE(problems.empty()) << Lines(problems);
}

TEST_F(PlantedTree, CleanTreePasses) {
  EXPECT_TRUE(LayerViolations(root_).empty()) << Lines(LayerViolations(root_));
}

TEST_F(PlantedTree, IncludeFromBelowToAboveIsReported) {
  Write("src/low/A.cpp", "#include \"low/A.h\"\n  #  include \"high/B.h\"\n");
  const auto problems = LayerViolations(root_);
  ASSERT_EQ(problems.size(), 1u) << Lines(problems);
  EXPECT_NE(problems[0].find("src/low/A.cpp includes high/"), std::string::npos) << problems[0];
}

TEST_F(PlantedTree, DepsMustNameExactlyWhatIsIncluded) {
  Write("src/high/CMakeLists.txt", "kx2_layer(high)\n");
  EXPECT_EQ(LayerViolations(root_).size(), 1u);
  Write("src/high/CMakeLists.txt", "kx2_layer(high DEPS kx2_low)\n");
  Write("src/high/B.cpp", "#include <vector>\n");
  EXPECT_EQ(LayerViolations(root_).size(), 1u) << "a DEPS entry nothing includes";
}

TEST_F(PlantedTree, ProgramsMayUseMoreThanTheirLibrary) {
  // A program's main links what it needs itself; it still keeps to the table.
  Write("src/high/main_tool.cpp", "#include \"low/A.h\"\n");
  Write("src/high/B.cpp", "#include \"high/B.h\"\n");
  Write("src/high/CMakeLists.txt", "kx2_layer(high)\n");
  EXPECT_TRUE(LayerViolations(root_).empty()) << Lines(LayerViolations(root_));
}

TEST_F(PlantedTree, UnlistedLayerIsReported) {
  Write("src/extra/C.h", "#pragma once\n");
  const auto problems = LayerViolations(root_);
  ASSERT_EQ(problems.size(), 1u) << Lines(problems);
  EXPECT_NE(problems[0].find("src/extra/ is not in"), std::string::npos);
}
