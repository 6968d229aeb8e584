#pragma once
// Texts and colours at the Qt edge. The core keeps Windows-1250 byte strings and the platform's
// 0x00BBGGRR colours; Qt wants QString and QColor.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <string>

#include "ui/Types.h"

namespace qtui {

QString ToQt(const std::string& cp1250);
std::string FromQt(const QString& text);

// Multi-line texts: the core separates lines with CR LF, Qt with LF.
QString LinesToQt(const std::string& cp1250);
std::string LinesFromQt(const QString& text);

// A caption without its accelerator marks ("&File" -> "File", "&&" -> "&"), for widgets that
// would otherwise show the ampersand.
QString WithoutMnemonic(const QString& caption);

// The short part of a hint ("short|long" shows "short" as the tool tip).
QString TooltipOf(const std::string& hint);

// The face the windows are laid out for: the application's sans-serif face at 11 pixels (an
// 8-point face at 96 pixels per inch). The desktop, its screenshots and the tests that measure
// whether captions fit all use this one.
QFont ProgramFont();

// A model colour as Qt sees it: system colours resolve through the given palette, clDefault
// gives `fallback`.
QColor ResolveColor(ui::Color color, const QPalette& palette, const QColor& fallback);

}  // namespace qtui
