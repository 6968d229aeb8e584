#pragma once
// The report on disk: its bytes, saving it without ever losing the file it replaces, and the file
// name proposed in the save dialog.

#include <string>
#include <vector>

namespace report {

// Every line followed by CR LF, bytes as they are (the report declares windows-1250).
std::string ReportFileBytes(const std::vector<std::string>& lines);

// Writes the report to `path` (a file system path, as the save dialog gives it): the bytes go to a
// new file in the same folder, are flushed to the disk and only then take the name, so a failure
// at any point leaves an existing report as it was. A replaced file keeps its permissions; a
// symbolic link keeps pointing at the file it names. A file the user may not write is not
// replaced. On failure returns false and sets `errorText` to the path and the system's reason
// ("/x/r.html: Permission denied"), in Windows-1250.
bool SaveReportFile(const std::string& path, const std::vector<std::string>& lines,
                    std::string& errorText);

// The file name the save dialog proposes for a station (name in Windows-1250): the station name
// without full stops, angle brackets, quotes and apostrophes, and without anything a file name
// cannot hold (path separators, ":*?|", control characters), so a station name can never point
// the dialog at another folder. Returned in the file system's encoding (UTF-8), as the dialog
// takes file names; an empty station name proposes an empty name.
std::string ProposeReportFileName(const std::string& stationName);

}  // namespace report
