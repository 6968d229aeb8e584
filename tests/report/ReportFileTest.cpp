#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/Cp1250.h"
#include "common/TempDir.h"
#include "report/ReportFile.h"
#include "report/ReportViewer.h"

using namespace report;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(ReportFile, SavesCrLfLinesAndReplacesOnlyWhenComplete) {
  TempDir dir;
  const std::string path = dir / "station.html";
  const std::vector<std::string> lines{"<html>", Win1250("Čerpadlo"), "</html>", ""};
  std::string error;
  ASSERT_TRUE(SaveReportFile(path, lines, error)) << error;
  EXPECT_EQ(ReadFile(path), "<html>\r\n" + Win1250("Čerpadlo") + "\r\n</html>\r\n\r\n");

  // A replaced report keeps its permissions; no temporary file stays behind.
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(SaveReportFile(path, {"second"}, error)) << error;
  EXPECT_EQ(ReadFile(path), "second\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"station.html"}));

  // Saving through a symbolic link updates the file it names and keeps the link.
  const std::string link = dir / "latest.html";
  ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
  ASSERT_TRUE(SaveReportFile(link, {"third"}, error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(path), "third\r\n");

  // A write that fails half-way (the file size limit stops it) leaves the old report whole.
  std::string big(64 * 1024, 'x');
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit oldLimit{};
  ::getrlimit(RLIMIT_FSIZE, &oldLimit);
  rlimit limit = oldLimit;
  limit.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  const bool saved = SaveReportFile(path, {big}, error);
  ::setrlimit(RLIMIT_FSIZE, &oldLimit);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
  EXPECT_EQ(ReadFile(path), "third\r\n");
  EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"latest.html", "station.html"}));

  // Places that cannot take the file fail with the reason and create nothing.
  EXPECT_FALSE(SaveReportFile(dir / "missing/r.html", lines, error));
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;
  fs::create_directory(dir / "folder.html");
  EXPECT_FALSE(SaveReportFile(dir / "folder.html", lines, error));
  EXPECT_TRUE(fs::is_directory(dir / "folder.html"));
  EXPECT_FALSE(SaveReportFile("", lines, error));
  EXPECT_FALSE(error.empty());
}

TEST(ReportFile, ProposedNameCannotLeaveTheFolder) {
  EXPECT_EQ(ProposeReportFileName("St.a<t>i\"o'n"), "Station");
  EXPECT_EQ(ProposeReportFileName("../../etc/passwd"), "etcpasswd");
  EXPECT_EQ(ProposeReportFileName("a\\b:c*d?e|f\tg\x7Fh"), "abcdefgh");
  EXPECT_EQ(ProposeReportFileName(Win1250("Čerpadlo č.2 (sever)")), "Čerpadlo č2 (sever)");
  EXPECT_EQ(ProposeReportFileName(""), "");
  EXPECT_EQ(ProposeReportFileName("./"), "");
}

TEST(ReportViewer, ViewerIsConfigurable) {
  auto env = [](std::optional<std::string> value) {
    return [value](const std::string& name) -> std::optional<std::string> {
      return name == "KX2_VIEWER" ? value : std::nullopt;
    };
  };
  EXPECT_EQ(ReportViewer(env(std::nullopt)), "xdg-open");
  EXPECT_EQ(ReportViewer(env("")), "xdg-open");
  EXPECT_EQ(ReportViewer(env("/opt/viewer")), "/opt/viewer");
}

// The viewer is started without a shell: whatever the file name holds arrives as one argument,
// and nothing in it runs.
TEST(ReportViewer, PassesTheFileNameAsOneArgumentWithoutAShell) {
  TempDir dir;
  const std::string record = dir / "argv";
  const std::string marker = dir / "leak-marker";
  const std::string viewer = dir / "viewer";
  // Records its arguments (NUL-terminated), where its output goes and which files it holds.
  WriteFile(viewer,
            "#!/bin/sh\n"
            "out='" +
                record +
                "'\n"
                "stdout=$(readlink /proc/$$/fd/1)\n"
                "{ printf '%s\\n' \"$#\"; for a in \"$@\"; do printf '%s\\0' \"$a\"; done; } > "
                "\"$out.tmp\"\n"
                "for f in /proc/$$/fd/*; do readlink \"$f\"; done > \"$out.fds\"\n"
                "printf '%s\\n' \"$stdout\" > \"$out.stdout\"\n"
                "mv \"$out.tmp\" \"$out\"\n");
  ::chmod(viewer.c_str(), 0755);
  // An open file of the program without close-on-exec must still not reach the viewer.
  const int leaked = ::open(marker.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(leaked, 0);

  const std::string hostile =
      dir / "r; $(touch " + dir.Path() + "/pwned) `touch " + dir.Path() + "/pwned2` 'a' \"b\".html";
  ASSERT_TRUE(OpenReportFile(hostile, viewer));
  ::close(leaked);

  // The viewer runs on its own; wait until it has written its record.
  for (int i = 0; i < 3000 && !fs::exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(fs::exists(record));
  EXPECT_EQ(ReadFile(record), "1\n" + hostile + std::string(1, '\0'));
  EXPECT_EQ(ReadFile(record + ".stdout"), "/dev/null\n");
  EXPECT_EQ(ReadFile(record + ".fds").find("leak-marker"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "pwned"));
  EXPECT_FALSE(fs::exists(dir / "pwned2"));

  // A name that looks like an option is passed as a path.
  fs::remove(record);
  ASSERT_TRUE(OpenReportFile("-x.html", viewer));
  for (int i = 0; i < 3000 && !fs::exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReadFile(record), "1\n./-x.html" + std::string(1, '\0'));

  EXPECT_FALSE(OpenReportFile(hostile, dir / "no-such-viewer"));
  EXPECT_FALSE(OpenReportFile("", viewer));
}
