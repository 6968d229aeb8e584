#pragma once
// Debug log of the serial component. Off until a file name is set; each call appends one line.
// Safe from any thread.

#include <string>

namespace serial {

// Empty name: logging off (the default).
void SetCommsLogFile(const std::string& fileName);
std::string CommsLogFile();

void LogDebugInfo(const std::string& text);
// prefix, "GetLastError returned: " and the system's text for the error in double quotes.
void LogDebugLastError(int error, const std::string& prefix = {});

}  // namespace serial
