#pragma once
// The KX2 report: the HTML page that lists what the main window shows of a unit's configuration.
// The template names the window's controls, including the rows the device description creates,
// and is evaluated against them each time a report is saved.

#include <string>

class VEepReport;

// Appends the whole KX2 template to report. appName is the application's name as it stands now;
// it goes into the template as literal text.
void BuildKx2Report(VEepReport& report, const std::string& appName);
