#include "qt/QtDialogs.h"

#include <QFile>
#include <QFileDialog>

#include "qt/QtText.h"
#include "ui/EventLoop.h"

namespace qtui {

BoxLook BoxLookFor(unsigned flags) {
  BoxLook look;
  switch (flags & ui::MB_ICONMASK) {
    case ui::MB_ICONERROR:
      look.icon = QMessageBox::Critical;
      break;
    case ui::MB_ICONQUESTION:
      look.icon = QMessageBox::Question;
      break;
    case ui::MB_ICONWARNING:
      look.icon = QMessageBox::Warning;
      break;
    case ui::MB_ICONINFORMATION:
      look.icon = QMessageBox::Information;
      break;
    default:
      look.icon = QMessageBox::NoIcon;
      break;
  }
  switch (flags & ui::MB_TYPEMASK) {
    case ui::MB_OKCANCEL:
      look.buttons = QMessageBox::Ok | QMessageBox::Cancel;
      look.defaultButton = QMessageBox::Ok;
      look.escapeButton = QMessageBox::Cancel;
      break;
    case ui::MB_YESNOCANCEL:
      look.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      look.defaultButton = QMessageBox::Yes;
      look.escapeButton = QMessageBox::Cancel;
      break;
    case ui::MB_YESNO:
      // The platform's Yes/No box cannot be dismissed; here Escape means No.
      look.buttons = QMessageBox::Yes | QMessageBox::No;
      look.defaultButton = QMessageBox::Yes;
      look.escapeButton = QMessageBox::No;
      break;
    default:
      look.buttons = QMessageBox::Ok;
      look.defaultButton = QMessageBox::Ok;
      look.escapeButton = QMessageBox::Ok;
      break;
  }
  return look;
}

int BoxResultFor(unsigned flags, QMessageBox::StandardButton pressed) {
  const BoxLook look = BoxLookFor(flags);
  if (!look.buttons.testFlag(pressed)) pressed = look.escapeButton;
  switch (pressed) {
    case QMessageBox::Yes:
      return ui::IDYES;
    case QMessageBox::No:
      return ui::IDNO;
    case QMessageBox::Cancel:
      return ui::IDCANCEL;
    default:
      return ui::IDOK;
  }
}

namespace {

QString Trimmed(const std::string& cp1250) {
  return ToQt(cp1250).trimmed();
}

}  // namespace

QStringList NameFilters(const ui::FileDialog& dialog) {
  QStringList filters;
  for (const auto& entry : dialog.FilterEntries()) {
    QStringList masks = Trimmed(entry.mask).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& mask : masks) mask = mask.trimmed();
    masks.removeAll(QString());
    if (masks.isEmpty()) masks << QStringLiteral("*");
    const QString patterns = QLatin1Char('(') + masks.join(QLatin1Char(' ')) + QLatin1Char(')');
    QString description = Trimmed(entry.description);
    // "Configuration (*.eep)" already names its masks; Qt reads the patterns from the last
    // parentheses, so replace them rather than adding a second pair.
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open >= 0 && description.endsWith(QLatin1Char(')'))) {
      QString inside = description.mid(open + 1, description.size() - open - 2);
      inside.replace(QLatin1Char(';'), QLatin1Char(' '));
      if (inside.simplified() == masks.join(QLatin1Char(' '))) description.truncate(open);
      description = description.trimmed();
    }
    filters << (description.isEmpty() ? patterns : description + QLatin1Char(' ') + patterns);
  }
  return filters;
}

QString FileFilter(const ui::FileDialog& dialog) {
  return NameFilters(dialog).join(QStringLiteral(";;"));
}

int ExecMessageBox(QWidget* parent, const std::string& caption, const std::string& text,
                   unsigned flags) {
  const BoxLook look = BoxLookFor(flags);
  QMessageBox box(look.icon, ToQt(caption), LinesToQt(text), look.buttons, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(look.defaultButton);
  box.setEscapeButton(look.escapeButton);
  box.exec();
  return BoxResultFor(flags, box.standardButton(box.clickedButton()));
}

bool ExecFileDialog(QWidget* parent, ui::FileDialog& dialog) {
  const bool save = dialog.DialogKind() == ui::FileDialog::Kind::Save;
  QFileDialog box(parent, ToQt(dialog.Title()), QFile::decodeName(dialog.InitialDir().c_str()));
  box.setOption(QFileDialog::DontUseNativeDialog, true);
  box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  const unsigned options = dialog.Options();
  if (save) {
    box.setFileMode(QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, (options & ui::ofOverwritePrompt) == 0);
  } else {
    box.setFileMode((options & ui::ofFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                         : QFileDialog::AnyFile);
  }
  const QStringList filters = NameFilters(dialog);
  if (!filters.isEmpty()) {
    box.setNameFilters(filters);
    const int index = dialog.FilterIndex() - 1;  // the platform counts filters from 1
    if (index >= 0 && index < filters.size()) box.selectNameFilter(filters[index]);
  }
  if (!dialog.DefaultExt().empty()) box.setDefaultSuffix(ToQt(dialog.DefaultExt()));
  if (!dialog.FileName().empty()) box.selectFile(QFile::decodeName(dialog.FileName().c_str()));
  if (box.exec() != QDialog::Accepted) return false;
  const QStringList chosen = box.selectedFiles();
  if (chosen.isEmpty()) return false;
  dialog.SetFileName(QFile::encodeName(chosen.front()).toStdString());
  const int filterIndex = static_cast<int>(filters.indexOf(box.selectedNameFilter()));
  if (filterIndex >= 0) dialog.SetFilterIndex(filterIndex + 1);
  return true;
}

}  // namespace qtui
