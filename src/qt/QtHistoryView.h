#pragma once
// The terminal's history on the screen: a read-only text view that follows the model's lines by
// appending what is new and dropping the lines the model trimmed, instead of rendering the
// whole history again for every line. While it is hidden it renders nothing and only notes that
// it has fallen behind; it catches up, in one pass, when it is shown.

#include <QTextEdit>
#include <cstddef>

#include "ui/Ref.h"

class TerminalLines;

namespace qtui {

class QtHistoryView : public QTextEdit {
 public:
  explicit QtHistoryView(QWidget* parent);

  // The model changed (its LastChange() tells how).
  void Follow(TerminalLines& model);

  // Lines of the model shown now (for tests).
  int ShownLines() const { return lines_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Rebuild();
  // Shows what the model has beyond the lines and characters shown so far.
  void CatchUp();
  void DropFront(int count);
  void ScrollToEnd();

  ui::Ref<TerminalLines> model_;
  int lines_ = 0;         // model lines shown
  size_t lastChars_ = 0;  // characters of the last of them shown
  bool behind_ = false;   // changes were left out while hidden
};

}  // namespace qtui
