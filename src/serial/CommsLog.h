#pragma once
// Debug log of the serial component. Off until a file name is set; each call appends one line.
// Safe from any thread.

#include <string>

#include "base/ScopedGlobal.h"

namespace serial {

// Empty name: logging off (the default).
std::string CommsLogFile();

struct CommsLogGlobal {
  using Value = std::string;
  static Value Get() { return CommsLogFile(); }

 private:
  friend class ScopedGlobal<CommsLogGlobal>;
  static void Set(Value fileName);
};
// Logs to the named file for its lifetime; the file logged to before comes back.
using CommsLogScope = ScopedGlobal<CommsLogGlobal>;

void LogDebugInfo(const std::string& text);
// prefix, "GetLastError returned: " and the system's text for the error in double quotes.
void LogDebugLastError(int error, const std::string& prefix = {});

}  // namespace serial
