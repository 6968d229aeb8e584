#include "serial/CommsLog.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

namespace serial {
namespace {

std::mutex& LogMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& LogFileName() {
  static std::string name;
  return name;
}

}  // namespace

void CommsLogGlobal::Set(std::string fileName) {
  std::lock_guard lock(LogMutex());
  LogFileName() = std::move(fileName);
}

std::string CommsLogFile() {
  std::lock_guard lock(LogMutex());
  return LogFileName();
}

void LogDebugInfo(const std::string& text) {
  std::lock_guard lock(LogMutex());
  if (LogFileName().empty()) return;
  if (FILE* f = std::fopen(LogFileName().c_str(), "a")) {
    std::fprintf(f, "%s\n", text.c_str());
    std::fclose(f);
  }
}

void LogDebugLastError(int error, const std::string& prefix) {
  if (CommsLogFile().empty()) return;
  char buffer[256];
  // The GNU strerror_r returns the text, which may or may not live in the buffer.
  const char* message = strerror_r(error, buffer, sizeof buffer);
  if (message == nullptr) {
    LogDebugInfo(prefix + "Out of memory");
    return;
  }
  LogDebugInfo(prefix + "GetLastError returned: \"" + message + "\"");
}

}  // namespace serial
