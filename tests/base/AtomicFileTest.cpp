#include "base/AtomicFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// Saves with the file size limited to `limit` bytes, so that a longer write fails half-way with
// EFBIG; permissions cannot stop root, the limit does.
AtomicFileResult WriteWithSizeLimit(const std::string& path, const std::string& bytes,
                                    rlim_t limit) {
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = limit;
  AtomicFileResult result{-1, AtomicFileStep::None};
  if (::setrlimit(RLIMIT_FSIZE, &small) == 0) {
    result = WriteFileAtomically(path, bytes);
    ::setrlimit(RLIMIT_FSIZE, &old);
  }
  std::signal(SIGXFSZ, oldHandler);
  return result;
}

// Sets the umask for one test and puts the old one back.
class Umask {
 public:
  explicit Umask(mode_t mask) : old_(::umask(mask)) {}
  ~Umask() { ::umask(old_); }
  Umask(const Umask&) = delete;
  Umask& operator=(const Umask&) = delete;

 private:
  mode_t old_;
};

}  // namespace

TEST(AtomicFile, ReplacesTheWholeFileByRenaming) {
  TempDir dir;
  const std::string path = dir / "unit.eep";
  ASSERT_TRUE(WriteFileAtomically(path, std::string("first\0line", 10)).ok());
  EXPECT_EQ(ReadFile(path), std::string("first\0line", 10));

  // A reader that has the old file open keeps reading the old bytes: the file is swapped, not
  // overwritten in place.
  const int reader = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  const AtomicFileResult result = WriteFileAtomically(path, "second");
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.error, 0);
  EXPECT_EQ(result.failedStep, AtomicFileStep::None);
  char old[16] = {};
  EXPECT_EQ(::read(reader, old, sizeof old), 10);
  ::close(reader);
  EXPECT_EQ(ReadFile(path), "second");

  // Shorter and empty contents leave nothing of the longer file behind.
  ASSERT_TRUE(WriteFileAtomically(path, "").ok());
  EXPECT_EQ(ReadFile(path), "");
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"unit.eep"});
}

TEST(AtomicFile, PermissionBits) {
  TempDir dir;
  const Umask umask(027);
  // A new file: the requested mode less the umask, as open(2) gives it.
  const std::string fresh = dir / "fresh";
  ASSERT_TRUE(WriteFileAtomically(fresh, "x").ok());
  EXPECT_EQ(ModeOf(fresh), 0640u);
  const std::string priv = dir / "private";
  ASSERT_TRUE(WriteFileAtomically(priv, "x", 0600).ok());
  EXPECT_EQ(ModeOf(priv), 0600u);

  // A replaced file keeps its bits, whatever the umask and the requested mode say.
  for (const mode_t mode : {mode_t{0640}, mode_t{0604}, mode_t{0755}, mode_t{0400}}) {
    ASSERT_EQ(::chmod(fresh.c_str(), mode), 0);
    ASSERT_TRUE(WriteFileAtomically(fresh, "again", 0600).ok());
    EXPECT_EQ(ModeOf(fresh), mode);
    EXPECT_EQ(ReadFile(fresh), "again");
  }
}

TEST(AtomicFile, FailureKeepsTheOldFileAndRemovesTheTemporary) {
  TempDir dir;
  const std::string path = dir / "unit.eep";
  WriteFile(path, "old content");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

  // Writing stops half-way: the file size limit lets 4 KiB of 64 through.
  AtomicFileResult result = WriteWithSizeLimit(path, std::string(64 * 1024, 'x'), 4096);
  EXPECT_EQ(result.error, EFBIG);
  EXPECT_EQ(result.failedStep, AtomicFileStep::Write);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(ReadFile(path), "old content");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"unit.eep"});

  // A folder in the way: everything is written, and the rename refuses.
  const std::string folder = dir / "folder.eep";
  fs::create_directory(folder);
  WriteFile(dir / "folder.eep/inside", "kept");
  result = WriteFileAtomically(folder, "data");
  EXPECT_EQ(result.error, EISDIR);
  EXPECT_EQ(result.failedStep, AtomicFileStep::Replace);
  EXPECT_EQ(Entries(folder), std::vector<std::string>{"inside"});
  EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"folder.eep", "unit.eep"}));

  // No folder: nothing can be created.
  result = WriteFileAtomically(dir / "missing/unit.eep", "data");
  EXPECT_EQ(result.error, ENOENT);
  EXPECT_EQ(result.failedStep, AtomicFileStep::Create);
  EXPECT_FALSE(fs::exists(dir / "missing"));
  result = WriteFileAtomically(dir / "unit.eep/below", "data");
  EXPECT_EQ(result.error, ENOTDIR);
  EXPECT_EQ(ReadFile(path), "old content");
  result = WriteFileAtomically("", "data");
  EXPECT_EQ(result.error, ENOENT);

  // A pipe is not swapped for a file (a device would be neither).
  const std::string fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  result = WriteFileAtomically(fifo, "data");
  EXPECT_EQ(result.error, EINVAL);
  EXPECT_EQ(result.failedStep, AtomicFileStep::Target);
  EXPECT_TRUE(fs::is_fifo(fifo));

  // Links that go round in a circle.
  ASSERT_EQ(::symlink("loop-b", (dir / "loop-a").c_str()), 0);
  ASSERT_EQ(::symlink("loop-a", (dir / "loop-b").c_str()), 0);
  result = WriteFileAtomically(dir / "loop-a", "data");
  EXPECT_EQ(result.error, ELOOP);
  EXPECT_EQ(result.failedStep, AtomicFileStep::Target);

  EXPECT_EQ(Entries(dir.Path()),
            (std::vector<std::string>{"folder.eep", "loop-a", "loop-b", "pipe", "unit.eep"}));
  EXPECT_EQ(ReadFile(path), "old content");
}

TEST(AtomicFile, SymbolicLinksStayLinksAndTheirTargetIsReplaced) {
  TempDir dir;
  fs::create_directories(dir / "data");
  fs::create_directories(dir / "links/deeper");
  const std::string real = dir / "data/unit.eep";
  WriteFile(real, "old");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);

  // An absolute link beside the file.
  const std::string beside = dir / "data/latest.eep";
  ASSERT_EQ(::symlink(real.c_str(), beside.c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(beside, "through the link").ok());
  EXPECT_TRUE(fs::is_symlink(beside));
  EXPECT_EQ(fs::read_symlink(beside), real);
  EXPECT_EQ(ReadFile(real), "through the link");
  EXPECT_EQ(ModeOf(real), 0640u);

  // A relative link in another folder names the file from its own folder, not from the current
  // one; a chain of links is followed to its end.
  const std::string relative = dir / "links/unit.eep";
  ASSERT_EQ(::symlink("../data/unit.eep", relative.c_str()), 0);
  const std::string chained = dir / "links/deeper/chain.eep";
  ASSERT_EQ(::symlink("../unit.eep", chained.c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(relative, "relative").ok());
  EXPECT_EQ(ReadFile(real), "relative");
  ASSERT_TRUE(WriteFileAtomically(chained, "chained").ok());
  EXPECT_EQ(ReadFile(real), "chained");
  EXPECT_EQ(fs::read_symlink(relative), "../data/unit.eep");
  EXPECT_EQ(fs::read_symlink(chained), "../unit.eep");
  EXPECT_EQ(ModeOf(real), 0640u);

  // A link to a file not there yet creates that file.
  const std::string ahead = dir / "links/ahead.eep";
  ASSERT_EQ(::symlink("../data/new.eep", ahead.c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(ahead, "new").ok());
  EXPECT_TRUE(fs::is_symlink(ahead));
  EXPECT_EQ(ReadFile(dir / "data/new.eep"), "new");

  // A failure through a link leaves the linked file as well as the link.
  EXPECT_EQ(WriteWithSizeLimit(relative, std::string(64 * 1024, 'y'), 4096).error, EFBIG);
  EXPECT_EQ(ReadFile(real), "chained");
  EXPECT_TRUE(fs::is_symlink(relative));

  // No temporary file is left in either folder.
  EXPECT_EQ(Entries(dir / "data"), (std::vector<std::string>{"latest.eep", "new.eep", "unit.eep"}));
  EXPECT_EQ(Entries(dir / "links"), (std::vector<std::string>{"ahead.eep", "deeper", "unit.eep"}));
  EXPECT_EQ(Entries(dir / "links/deeper"), std::vector<std::string>{"chain.eep"});
}
