#include "base/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "common/TempDir.h"

namespace {
const std::string kGeneral = "Software\\Qel\\KX2 Init\\Options\\General";
const std::string kForm = "Software\\Qel\\KX2 Init\\Options\\Forms\\FormMain";
}  // namespace

TEST(SettingsStore, TypedValuesSurviveAReload) {
  TempDir dir;
  const std::string file = dir / "KX2 Init.ini";
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  const std::string tricky = "  lead \\x41 \\ trail\t \r\n=s:x  ";
  {
    SettingsStore store(file);
    EXPECT_TRUE(store.WriteString(kGeneral, "CommPort", "/dev/ttyUSB0"));
    EXPECT_TRUE(store.WriteString(kGeneral, "Language", "\xC8\x65\x9A\x74ina"));  // Čeština
    EXPECT_TRUE(store.WriteString(kGeneral, "Bytes", allBytes));
    EXPECT_TRUE(store.WriteString(kGeneral, "Tricky", tricky));
    EXPECT_TRUE(store.WriteString(kGeneral, "Empty", ""));
    EXPECT_TRUE(store.WriteInteger(kForm, "Left", -2147483647 - 1));
    EXPECT_TRUE(store.WriteInteger(kForm, "Top", 2147483647));
    EXPECT_TRUE(store.WriteInteger(kForm, "Visible", -1));
    for (const std::string name : {"=eq", " spaced ", "[x", ";c", "#h", "a\\b", ""}) {
      EXPECT_TRUE(store.WriteString(kForm, name, "n:" + name));
    }
    EXPECT_TRUE(store.WriteString("Software\\Other\\Key", "Outside", "root"));
    EXPECT_TRUE(store.WriteInteger("Software\\Qel\\KX2 Init", "AtRoot", 5));
  }
  SettingsStore store(file);
  EXPECT_EQ(store.ReadString(kGeneral, "CommPort", "COM2"), "/dev/ttyUSB0");
  EXPECT_EQ(store.ReadString(kGeneral, "Language", ""), "\xC8\x65\x9A\x74ina");
  EXPECT_EQ(store.ReadString(kGeneral, "Bytes", ""), allBytes);
  EXPECT_EQ(store.ReadString(kGeneral, "Tricky", ""), tricky);
  EXPECT_EQ(store.ValueType(kGeneral, "Empty"), SettingsValueType::String);
  EXPECT_EQ(store.ReadString(kGeneral, "Empty", "default"), "");
  EXPECT_EQ(store.ReadInteger(kForm, "Left", 0), -2147483647 - 1);
  EXPECT_EQ(store.ReadInteger(kForm, "Top", 0), 2147483647);
  EXPECT_EQ(store.ValueType(kForm, "Visible"), SettingsValueType::Integer);
  EXPECT_EQ(store.Read(kForm, "Visible"), SettingsValue::Integer(-1));
  for (const std::string name : {"=eq", " spaced ", "[x", ";c", "#h", "a\\b", ""}) {
    EXPECT_EQ(store.Read(kForm, name), SettingsValue::String("n:" + name)) << name;
  }
  EXPECT_EQ(store.ReadString("Software\\Other\\Key", "Outside", ""), "root");
  EXPECT_EQ(store.ReadInteger("Software\\Qel\\KX2 Init", "AtRoot", 0), 5);

  // Registry-like addressing: case of ASCII letters and stray backslashes do not matter.
  EXPECT_EQ(store.ReadString("software\\QEL\\\\kx2 init\\options\\general\\", "COMMPORT", ""),
            "/dev/ttyUSB0");
  // Each read form accepts the other type where it makes sense.
  EXPECT_EQ(store.ReadString(kForm, "Visible", ""), "-1");
  EXPECT_TRUE(store.WriteString(kGeneral, "Number", " 123 "));
  EXPECT_EQ(store.ReadInteger(kGeneral, "Number", 7), 123);
  EXPECT_EQ(store.ReadInteger(kGeneral, "CommPort", 7), 7);
  EXPECT_TRUE(store.WriteString(kGeneral, "Huge", "2147483648"));
  EXPECT_EQ(store.ReadInteger(kGeneral, "Huge", 7), 7);
  EXPECT_EQ(store.ValueType(kGeneral, "Missing"), SettingsValueType::None);
  EXPECT_EQ(store.ReadString(kGeneral, "Missing", "dflt"), "dflt");
  EXPECT_EQ(store.ReadInteger(kGeneral, "Missing", 42), 42);
}

TEST(SettingsStore, FileFormIsReadableUtf8) {
  TempDir dir;
  const std::string file = dir / "s.ini";
  SettingsStore store(file);
  store.WriteString(kGeneral, "Language", "\xC8\x65\x9A\x74ina");
  store.WriteInteger(kGeneral, "UserExpLevel", 2);
  store.WriteString("Software\\Qel\\KX2 Init\\Options", "FirstTime", "0");
  const std::string text = ReadFile(file);
  EXPECT_NE(text.find("[Options\\General]\nLanguage=s:Čeština\nUserExpLevel=i:2\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("[Options]\nFirstTime=s:0\n"), std::string::npos) << text;

  // A hand-edited file: blanks around "=", CRLF, comments, a BOM.
  WriteFile(file,
            "\xEF\xBB\xBF; edited\r\n[Options\\General]\r\n  CommPort = s:COM1\r\n"
            "# note\r\nUserExpLevel= i: 1 \r\n");
  SettingsStore edited(file);
  EXPECT_EQ(edited.ReadString(kGeneral, "CommPort", ""), "COM1");
  EXPECT_EQ(edited.ReadInteger(kGeneral, "UserExpLevel", 0), 1);
}

TEST(SettingsStore, DeleteAndSectionExistence) {
  TempDir dir;
  const std::string file = dir / "s.ini";
  SettingsStore store(file);
  EXPECT_FALSE(store.SectionExists(kForm));
  store.WriteInteger(kForm, "Left", 1);
  store.WriteInteger(kForm, "Top", 2);
  EXPECT_TRUE(store.SectionExists(kForm));
  EXPECT_TRUE(store.SectionExists("Software\\Qel\\KX2 Init\\Options"));  // a parent key
  EXPECT_FALSE(store.SectionExists("Software\\Qel\\KX2 Init\\Opt"));
  EXPECT_EQ(store.ValueNames(kForm), (std::vector<std::string>{"Left", "Top"}));

  EXPECT_TRUE(store.DeleteValue(kForm, "LEFT"));
  EXPECT_TRUE(store.DeleteValue(kForm, "NotThere"));
  SettingsStore reloaded(file);
  EXPECT_EQ(reloaded.ValueType(kForm, "Left"), SettingsValueType::None);
  EXPECT_EQ(reloaded.ReadInteger(kForm, "Top", 0), 2);
  // A key whose values were all deleted still exists.
  reloaded.DeleteValue(kForm, "Top");
  EXPECT_TRUE(SettingsStore(file).SectionExists(kForm));
}

TEST(SettingsStore, DamagedOrForeignFilesReadAsFarAsTheyMakeSense) {
  TempDir dir;
  const std::string file = dir / "s.ini";
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
  WriteFile(file, garbage);
  SettingsStore store(file);
  EXPECT_FALSE(store.SectionExists(""));
  EXPECT_EQ(store.ReadString(kGeneral, "CommPort", "COM2"), "COM2");
  EXPECT_TRUE(store.WriteInteger(kGeneral, "Terminal", 1));  // replaces the garbage
  EXPECT_EQ(SettingsStore(file).ReadInteger(kGeneral, "Terminal", 0), 1);

  WriteFile(file,
            "Orphan=s:before any header\n[Options\\General]\nNoType=x\nBadInt=i:12a\n"
            "Unknown=q:1\nGood=s:yes\n[broken header\nLost=s:no\n");
  SettingsStore partial(file);
  EXPECT_EQ(partial.ValueNames(kGeneral), (std::vector<std::string>{"Good"}));

  // A folder where the file should be: reads empty, saving fails without throwing.
  const std::string folder = dir / "folder.ini";
  std::filesystem::create_directory(folder);
  SettingsStore onFolder(folder);
  EXPECT_FALSE(onFolder.SectionExists(""));
  EXPECT_FALSE(onFolder.WriteInteger(kGeneral, "x", 1));
}

TEST(SettingsStore, UnwritablePlaceFailsCleanlyAndRetries) {
  TempDir dir;
  const std::string blocker = dir / "file";
  WriteFile(blocker, "not a folder");
  // A path below a regular file cannot be created, not even by root.
  SettingsStore store(blocker + "/sub/x.ini");
  EXPECT_FALSE(store.WriteString(kGeneral, "CommPort", "COM3"));
  EXPECT_EQ(store.ReadString(kGeneral, "CommPort", ""), "COM3");  // kept in memory
  EXPECT_FALSE(store.Flush());
  EXPECT_EQ(ReadFile(blocker), "not a folder");

  // The folder of a new store is created on the first save.
  const std::string nested = dir / "a/b/KX2 Init.ini";
  SettingsStore fresh(nested);
  EXPECT_TRUE(fresh.Flush());  // nothing to save yet
  EXPECT_FALSE(std::filesystem::exists(nested));
  EXPECT_TRUE(fresh.WriteInteger(kGeneral, "Terminal", 1));
  EXPECT_TRUE(std::filesystem::exists(nested));
}

TEST(SettingsStore, FailedSaveKeepsTheOldFile) {
  TempDir dir;
  const std::string file = dir / "s.ini";
  SettingsStore store(file);
  ASSERT_TRUE(store.WriteString(kGeneral, "CommPort", "COM1"));
  const std::string before = ReadFile(file);

  // Make every write beyond 1 KiB fail (EFBIG), which stops root as well.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = store.WriteString(kGeneral, "Big", std::string(64 * 1024, 'x'));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadFile(file), before);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1) << "a temporary file was left behind";

  // The change was kept and goes out with the next successful save.
  EXPECT_TRUE(store.Flush());
  EXPECT_EQ(SettingsStore(file).ReadString(kGeneral, "Big", "").size(), 64u * 1024u);
}

TEST(SettingsStore, ConcurrentInstancesAndBatches) {
  TempDir dir;
  const std::string file = dir / "s.ini";
  SettingsStore first(file);
  SettingsStore second(file);
  first.WriteString(kGeneral, "Language", "English");
  second.WriteInteger(kGeneral, "Terminal", 1);  // must not drop the other program's value
  SettingsStore third(file);
  EXPECT_EQ(third.ReadString(kGeneral, "Language", ""), "English");
  EXPECT_EQ(third.ReadInteger(kGeneral, "Terminal", 0), 1);

  {
    SettingsStore::Batch batch(first);
    EXPECT_TRUE(first.WriteInteger(kForm, "Left", 10));
    {
      SettingsStore::Batch inner(first);
      first.WriteInteger(kForm, "Top", 20);
    }
    EXPECT_FALSE(SettingsStore(file).SectionExists(kForm));  // nothing saved yet
    EXPECT_TRUE(batch.Finish());
  }
  SettingsStore after(file);
  EXPECT_EQ(after.ReadInteger(kForm, "Left", 0), 10);
  EXPECT_EQ(after.ReadInteger(kForm, "Top", 0), 20);
  EXPECT_EQ(after.ReadInteger(kGeneral, "Terminal", 0), 1);
}
