#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "EepTestSupport.h"
#include "ui/Controls.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A configuration file: record length, the record, N, then the bytes.
std::string FileBytes(uint16_t recordLength, uint32_t n, const std::string& data,
                      size_t extraRecord = 0) {
  std::string f;
  f += static_cast<char>(recordLength & 0xFF);
  f += static_cast<char>(recordLength >> 8);
  f += std::string("\x06\x02\xDA\x01\x08\x01\x00\x00", 8);
  for (int shift = 0; shift < 32; shift += 8) f += static_cast<char>((n >> shift) & 0xFF);
  f += std::string(extraRecord, '\x55');
  return f + data;
}

struct FileFixture : ::testing::Test {
  FileFixture() {
    dir = fs::temp_directory_path() /
          ("kx2-eep-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~FileFixture() override { fs::remove_all(dir); }

  bool Load(VConfigByteArray& image, const std::string& bytes) {
    std::istringstream in(bytes);
    return image.loadFromFile(in);
  }

  RecordingLoop loop;
  fs::path dir;
};

const std::string kData(
    "\x0E\x00\x12\x00\x0C\x00\x3F\xF5\x61\x00\x00\x17\x11\x22"
    "ab\0\0xyz\0\x6C",
    23);

}  // namespace

TEST_F(FileFixture, SavedConfigurationLoadsBack) {
  VConfigByteArray image;
  SmallLayout layout(image);
  image.setSizeCode(6);
  image.setEEPROMid(1, 0xDA, 2, 1, 8);
  const fs::path path = dir / "unit.eep";
  ASSERT_TRUE(image.saveToFile(path.string()));
  EXPECT_EQ(ReadFile(path), FileBytes(12, 23, kData));

  VConfigByteArray other;
  SmallLayout otherLayout(other, "different", "");
  CountingTree tree;
  other.settingTree = &tree;
  ui::Label labelId(nullptr);
  other.labels.id = &labelId;
  labelId.SetText("-");
  ASSERT_TRUE(other.loadFromFile(path.string()));
  EXPECT_EQ(ShowingBytes(other), ShowingBytes(image));
  EXPECT_EQ(otherLayout.t0.loaded, "ab");
  EXPECT_EQ(otherLayout.t2.loaded, "xyz");
  EXPECT_EQ(tree.accepts, 1);
  // The file's identification is informative: the connected unit's stays.
  EXPECT_EQ(other.id().identity1, 0xFF);
  EXPECT_EQ(labelId.Text(), "-");
  EXPECT_TRUE(loop.boxes.empty());

  // Saving with no unit ever identified: no memory, no type, version 0.0.
  VConfigByteArray fresh;
  SmallLayout freshLayout(fresh);
  ASSERT_TRUE(fresh.saveToFile(path.string()));
  EXPECT_EQ(ReadFile(path).substr(0, 8), std::string("\x0C\x00\xFF\xFF\xFF\xFF\x00\x00", 8));
}

TEST_F(FileFixture, DamagedFilesAreRefusedSafely) {
  VConfigByteArray image;
  SmallLayout layout(image);
  CountingTree tree;
  image.settingTree = &tree;

  EXPECT_TRUE(Load(image, FileBytes(16, 23, kData, 4)));  // a later, longer record
  EXPECT_EQ(layout.t2.loaded, "xyz");
  const int allocated = image.allocated();

  EXPECT_FALSE(Load(image, ""));
  EXPECT_FALSE(Load(image, "\x0C"));
  EXPECT_FALSE(Load(image, FileBytes(10, 23, kData)));                // record too short
  EXPECT_FALSE(Load(image, FileBytes(12, 23, "").substr(0, 9)));      // record cut off
  EXPECT_FALSE(Load(image, FileBytes(300, 23, kData)));               // record runs past the end
  EXPECT_FALSE(Load(image, FileBytes(12, 23, kData.substr(0, 22))));  // data cut off
  // Larger than any memory: refused at the record, before the data is even looked at.
  std::istringstream huge(FileBytes(12, 65537, std::string(65537, '\0')));
  EXPECT_FALSE(image.loadFromFile(huge));
  EXPECT_EQ(huge.tellg(), 14);
  EXPECT_FALSE(Load(image, FileBytes(12, 0xFFFFFFFFu, kData)));
  EXPECT_FALSE(Load(image, FileBytes(12, 65536, kData)));  // plausible size, far too short
  // None of these touched the image.
  EXPECT_EQ(image.allocated(), allocated);
  EXPECT_EQ(ShowingBytes(image).size(), 23u);
  EXPECT_TRUE(loop.boxes.empty());
  EXPECT_EQ(tree.reverts, 0);

  // More bytes than the configuration describes: interpretation ends before N.
  EXPECT_FALSE(Load(image, FileBytes(12, 24, kData + '\0')));
  // No configuration at all: the interpretation itself fails and reverts.
  EXPECT_FALSE(Load(image, FileBytes(12, 0, "")));
  EXPECT_EQ(tree.reverts, 1);
  EXPECT_EQ(loop.boxes.size(), 1u);
  EXPECT_FALSE(image.loadFromFile((dir / "missing.eep").string()));
}

TEST_F(FileFixture, SavingNeverDestroysTheOldFile) {
  const fs::path path = dir / "keep.eep";
  WriteFile(path, "old content");
  ::chmod(path.c_str(), 0640);

  VConfigByteArray empty;  // no layout: nothing to save
  EXPECT_FALSE(empty.saveToFile(path.string()));
  EXPECT_EQ(ReadFile(path), "old content");

  VConfigByteArray image;
  SmallLayout layout(image);
  EXPECT_FALSE(image.saveToFile((dir / "no-such-folder" / "x.eep").string()));
  fs::create_directory(dir / "folder.eep");
  EXPECT_FALSE(image.saveToFile((dir / "folder.eep").string()));
  EXPECT_EQ(ReadFile(path), "old content");

  ASSERT_TRUE(image.saveToFile(path.string()));
  EXPECT_EQ(ReadFile(path), FileBytes(12, 23, kData).replace(2, 6, "\xFF\xFF\xFF\xFF\x00\x00", 6));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // Only the two entries we made are left: no temporary files.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);

  // Saving through a link updates the linked file and keeps the link.
  const fs::path link = dir / "link.eep";
  fs::create_symlink(path, link);
  layout.t0.set("linked");
  ASSERT_TRUE(image.saveToFile(link.string()));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_NE(ReadFile(path).find("linked"), std::string::npos);
}
