#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "common/TempDir.h"
#include "serial/CommsLog.h"

namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CommsLog, ScopesNestAndLoggingGoesBackToThePreviousFileEvenOnAnException) {
  TempDir dir;
  const std::string first = dir.Path() + "/first.log";
  const std::string second = dir.Path() + "/second.log";
  ASSERT_EQ(serial::CommsLogFile(), "");
  serial::LogDebugInfo("nowhere");  // off by default
  {
    const serial::CommsLogScope outer(first);
    serial::LogDebugInfo("one");
    {
      const serial::CommsLogScope inner(second);
      serial::LogDebugInfo("two");
    }
    EXPECT_THROW(
        {
          const serial::CommsLogScope thrown(second);
          throw std::runtime_error("a failed assertion");
        },
        std::runtime_error);
    EXPECT_EQ(serial::CommsLogFile(), first);
    serial::LogDebugLastError(2, "open: ");
  }
  EXPECT_EQ(serial::CommsLogFile(), "");
  serial::LogDebugInfo("off again");
  EXPECT_EQ(Contents(first), "one\nopen: GetLastError returned: \"No such file or directory\"\n");
  EXPECT_EQ(Contents(second), "two\n");
}

}  // namespace
