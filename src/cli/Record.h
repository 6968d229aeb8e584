#pragma once
// The commissioning record: one CSV line per read or write, appended to a file the technician
// hands over after a day's work.

#include <string>

namespace cli {

struct RecordLine {
  std::string port;
  std::string type;  // empty when no unit was identified
  std::string firmware;
  std::string memory;
  std::string station;
  std::string operation;  // "read", "write"
  std::string result;     // "ok", "failed"
  std::string message;    // the last message shown, UTF-8
};

// The header line, without its line end.
std::string RecordHeader();
// One field as CSV holds it: quoted when it has a comma, a quote or a line break.
std::string CsvField(const std::string& text);
// The line for a run at utcTime (seconds since the epoch), without its line end.
std::string RecordText(const RecordLine& line, long long utcTime);

// Appends the line (and the header first when the file is new or empty) in one write, so that
// records of units commissioned side by side do not interleave. False with the system's reason.
bool AppendRecord(const std::string& path, const RecordLine& line, std::string& error);

}  // namespace cli
