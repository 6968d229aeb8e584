#include "qt/QtHistoryView.h"

#include <QFont>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "components/VQelTerminalView.h"
#include "qt/QtText.h"

namespace qtui {

namespace {

void InsertRun(QTextCursor& cursor, const TerminalRun& run, size_t from) {
  if (from >= run.text.size()) return;
  QTextCharFormat format;
  format.setForeground(QColor(ui::RedOf(run.color), ui::GreenOf(run.color), ui::BlueOf(run.color)));
  cursor.insertText(ToQt(run.text.substr(from)), format);
}

// Appends the line's characters from `skip` on at the cursor.
void InsertLine(QTextCursor& cursor, const TerminalLine& line, size_t skip) {
  for (const TerminalRun& run : line.runs) {
    if (skip >= run.text.size()) {
      skip -= run.text.size();
      continue;
    }
    InsertRun(cursor, run, skip);
    skip = 0;
  }
}

size_t CharsOf(const TerminalLine& line) {
  size_t n = 0;
  for (const TerminalRun& run : line.runs) n += run.text.size();
  return n;
}

}  // namespace

QtHistoryView::QtHistoryView(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QTextEdit::NoWrap);
  setUndoRedoEnabled(false);  // nobody can undo what the unit sent; it would only cost memory
  QFont mono(QStringLiteral("DejaVu Sans Mono"));
  mono.setStyleHint(QFont::Monospace);
  mono.setPixelSize(11);
  setFont(mono);
}

void QtHistoryView::Follow(TerminalLines& model) {
  if (model_.get() != &model) {
    model_ = &model;
    behind_ = true;
  }
  if (!isVisible()) {
    behind_ = true;
    return;
  }
  if (behind_) {
    Rebuild();
    return;
  }
  switch (model.LastChange().kind) {
    case TerminalLines::ChangeKind::Cleared:
      Rebuild();
      return;
    case TerminalLines::ChangeKind::FrontRemoved:
      DropFront(model.LastChange().count);
      return;
    case TerminalLines::ChangeKind::Appended:
    case TerminalLines::ChangeKind::LineEnded:
      CatchUp();
      return;
  }
}

void QtHistoryView::showEvent(QShowEvent* event) {
  QTextEdit::showEvent(event);
  if (behind_ && model_) Rebuild();
}

void QtHistoryView::Rebuild() {
  behind_ = false;
  clear();
  lines_ = 0;
  lastChars_ = 0;
  CatchUp();
}

void QtHistoryView::CatchUp() {
  const TerminalLines* model = model_.get();
  if (model == nullptr) return;
  const auto& lines = model->Lines();
  if (static_cast<size_t>(lines_) > lines.size()) {
    Rebuild();  // lost track (cannot happen while every change is followed)
    return;
  }
  if (static_cast<size_t>(lines_) == lines.size() &&
      (lines_ == 0 || CharsOf(lines.back()) == lastChars_))
    return;  // a line end: the next line starts a block of its own when it comes
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  if (lines_ > 0) InsertLine(cursor, lines[static_cast<size_t>(lines_) - 1], lastChars_);
  for (size_t i = static_cast<size_t>(lines_); i < lines.size(); ++i) {
    if (i > 0) cursor.insertBlock();
    InsertLine(cursor, lines[i], 0);
  }
  cursor.endEditBlock();
  lines_ = static_cast<int>(lines.size());
  lastChars_ = lines.empty() ? 0 : CharsOf(lines.back());
  ScrollToEnd();
}

void QtHistoryView::DropFront(int count) {
  if (count >= lines_) {
    Rebuild();
    return;
  }
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::Start);
  cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, count);
  cursor.removeSelectedText();
  lines_ -= count;
  // The model may have dropped the lines to make room for one it is about to append.
  CatchUp();
}

void QtHistoryView::ScrollToEnd() {
  QTextCursor end = textCursor();
  end.movePosition(QTextCursor::End);
  setTextCursor(end);
}

}  // namespace qtui
