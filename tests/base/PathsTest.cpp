#include "base/Paths.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/TempDir.h"

namespace {
EnvLookup FakeEnv(std::map<std::string, std::string> vars) {
  return [vars](const std::string& name) -> std::optional<std::string> {
    const auto it = vars.find(name);
    if (it == vars.end()) return std::nullopt;
    return it->second;
  };
}
}  // namespace

TEST(Paths, DocumentsDirFollowsUserDirs) {
  TempDir config;
  const auto env = FakeEnv({{"HOME", "/home/tech"}, {"XDG_CONFIG_HOME", config.Path()}});
  EXPECT_EQ(DocumentsDir(env), "/home/tech/Documents");  // no user-dirs.dirs

  WriteFile(config / "user-dirs.dirs",
            "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Plocha\"\n"
            "XDG_DOCUMENTS_DIR=\"$HOME/Dokumenty\"\n");
  EXPECT_EQ(DocumentsDir(env), "/home/tech/Dokumenty");

  WriteFile(config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/data/my \\\"docs\\\"/\"\n");
  EXPECT_EQ(DocumentsDir(env), "/data/my \"docs\"");

  WriteFile(config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"relative/docs\"\n");
  EXPECT_EQ(DocumentsDir(env), "/home/tech/Documents");

  // Without XDG_CONFIG_HOME the file is looked for in ~/.config.
  TempDir home;
  std::filesystem::create_directory(home / ".config");
  WriteFile(home / ".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=$HOME/Docs\n");
  EXPECT_EQ(DocumentsDir(FakeEnv({{"HOME", home.Path() + "/"}})), home / "Docs");
}

TEST(Paths, ConfigAndSystemFolders) {
  EXPECT_EQ(ConfigFilePath(FakeEnv({{"HOME", "/home/t"}, {"XDG_CONFIG_HOME", "/cfg"}})),
            "/cfg/Qel/KX2 Init.ini");
  EXPECT_EQ(ConfigFilePath(FakeEnv({{"HOME", "/home/t"}})), "/home/t/.config/Qel/KX2 Init.ini");
  EXPECT_EQ(ConfigFilePath(FakeEnv({{"HOME", "/home/t"}, {"XDG_CONFIG_HOME", "rel"}})),
            "/home/t/.config/Qel/KX2 Init.ini");

  EXPECT_EQ(SysConfDir(FakeEnv({{"KX2_SYSCONFDIR", "/opt/kx2"}}), "/usr/bin/kx2init"), "/opt/kx2/");
  EXPECT_EQ(SysConfDir(FakeEnv({{"KX2_SYSCONFDIR", ""}}), "/usr/local/bin/kx2init"),
            "/usr/local/etc/");
  EXPECT_EQ(SysConfDir(FakeEnv({}), ""), "");
  {
    TempDir prefix;  // an installed tree
    std::filesystem::create_directories(prefix / "share/kx2init");
    EXPECT_EQ(SysConfDir(FakeEnv({}), prefix / "bin/kx2init"), prefix / "share/kx2init/");
    EXPECT_EQ(SysConfDir(FakeEnv({{"KX2_SYSCONFDIR", "/opt/kx2"}}), prefix / "bin/kx2init"),
              "/opt/kx2/");
  }

  const std::string self = ProgramPath();
  ASSERT_FALSE(self.empty());
  EXPECT_EQ(self[0], '/');
  EXPECT_NE(self.find("test_base"), std::string::npos) << self;

  EXPECT_EQ(PathSeparator(), '/');
  EXPECT_EQ(IncludeTrailingSeparator("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingSeparator("/a/"), "/a/");
  EXPECT_EQ(IncludeTrailingSeparator(""), "");
}
