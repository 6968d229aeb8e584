#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempDir.h"
#include "lang/LanguageCatalogue.h"

using namespace lang;

// The catalogue on its own: no application, windows or event loop. Texts stored while a batch
// runs are found at once, but reach their file only when the outermost batch ends, in one write,
// and a write that failed anywhere in the batch is reported at its end.
TEST(LanguageCatalogue, BatchedTextsReachTheFileOnceAtTheOutermostEnd) {
  TempDir dir;
  const std::string path = dir / "german.lng";
  const std::string original = "[General]\r\nLanguageId=0x0407\r\n";
  WriteFile(path, original);
  LanguageCatalogue catalogue;
  catalogue.SetCfgDirectory(dir.Path());
  catalogue.Load();
  ASSERT_NE(catalogue.GetActiveLangRecord(), nullptr);
  ASSERT_EQ(catalogue.GetActiveLangRecord()->path, path);

  catalogue.BeginFileBatch();
  catalogue.BeginFileBatch();
  EXPECT_TRUE(catalogue.SetLangText("Texts", "A", "1"));
  EXPECT_TRUE(catalogue.EndFileBatch());
  EXPECT_TRUE(catalogue.SetLangText("Texts", "B", "2"));
  EXPECT_EQ(catalogue.GetLangText("Texts", "A", ""), "1");
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_TRUE(catalogue.EndFileBatch());
  EXPECT_EQ(ReadFile(path), original + "[Texts]\r\nA=\"1\"\r\nB=\"2\"\r\n");

  // The file is no longer readable: nothing replaces it, and the batch says so.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  catalogue.BeginFileBatch();
  EXPECT_FALSE(catalogue.SetLangText("Texts", "C", "3"));
  EXPECT_FALSE(catalogue.EndFileBatch());
  EXPECT_TRUE(std::filesystem::is_directory(path));
}
