#pragma once
// Message boxes and file dialogs with Qt: the translation of the program's flags, results and
// filters, kept apart from the dialogs so it can be checked without a person at the screen.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <string>

#include "ui/FileDialog.h"

class QWidget;

namespace qtui {

struct BoxLook {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
  // The button Escape and the title bar's close button stand for.
  QMessageBox::StandardButton escapeButton = QMessageBox::Ok;
};

// Buttons and icon for the platform's MB_ flags. The first button is the default one, as there.
BoxLook BoxLookFor(unsigned flags);

// The platform's result code (IDOK, IDCANCEL, IDYES, IDNO) for the button pressed; a button the
// box does not have counts as its escape button.
int BoxResultFor(unsigned flags, QMessageBox::StandardButton pressed);

// "Configuration|*.eep|All files|*.*" as Qt's name filters: "Configuration (*.eep)",
// "All files (*.*)". Several masks ("*.eep;*.bin") become "(*.eep *.bin)"; a description that
// already ends with its masks in parentheses is not given them twice.
QStringList NameFilters(const ui::FileDialog& dialog);
// The same joined with ";;", as QFileDialog::setNameFilter takes it.
QString FileFilter(const ui::FileDialog& dialog);

// Runs the modal box (parent: the active window). The caption and text are Windows-1250.
int ExecMessageBox(QWidget* parent, const std::string& caption, const std::string& text,
                   unsigned flags);

// Runs the dialog modally and stores the chosen path in its FileName. Paths (initial folder,
// file name) are the file system's bytes; title and filter are Windows-1250 texts.
bool ExecFileDialog(QWidget* parent, ui::FileDialog& dialog);

}  // namespace qtui
