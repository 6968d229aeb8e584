#pragma once
// Showing a saved report in the desktop's viewer for HTML files.

#include <string>

#include "base/Paths.h"

namespace report {

// The program that opens a file in its viewer: $KX2_VIEWER when set and not empty, else
// "xdg-open".
std::string ReportViewer(const EnvLookup& env = SystemEnv);

// Starts `viewer` with the file as its one argument. No shell is involved, so nothing in the file
// name is ever interpreted; a name beginning with "-" is passed as "./-..." so the viewer cannot
// take it for an option. The viewer reads nothing, its output is discarded and it inherits none
// of the program's open files (a serial port included). The program does not wait for it; the
// finished process is reaped in the background. False when it could not be started.
bool OpenReportFile(const std::string& path, const std::string& viewer = ReportViewer());

}  // namespace report
