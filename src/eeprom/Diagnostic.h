#pragma once
// Internal consistency diagnostics of the image and the layout: a wrongly built layout or a pass
// that contradicts itself. They are shown untranslated in a box titled "Error" with the error icon
// and the program goes on.

#include <string>

void ShowEepDiagnostic(const std::string& text);
