// One-line and multi-line text fields.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "qt/Binding.h"
#include "qt/QtFormView.h"
#include "qt/QtText.h"
#include "ui/Controls.h"

namespace qtui {

namespace {

// Positions in a multi-line text: the model counts CR LF as two bytes, Qt a line break as one
// character. A document position plus the number of line breaks before it is the model's.
int MemoModelOffset(const QPlainTextEdit& memo, int position) {
  return position + memo.document()->findBlock(position).blockNumber();
}

int MemoWidgetPosition(const std::string& text, int offset) {
  offset = std::clamp(offset, 0, static_cast<int>(text.size()));
  int breaks = 0;
  for (int i = 0; i + 1 < offset; ++i) {
    if (text[i] == '\r' && text[i + 1] == '\n') ++breaks;
  }
  return offset - breaks;
}

class EditBinding : public Binding {
 public:
  using Binding::Binding;

  void Connect() override {
    QLineEdit* edit = Line();
    Watch(edit);
    QtFormView* view = &view_;
    QObject::connect(edit, &QLineEdit::textEdited, view, [view, edit](const QString& text) {
      Act(view, edit,
          [&text](ui::Control& c) { static_cast<ui::Edit&>(c).UserSetText(FromQt(text)); });
    });
    const auto selection = [view, edit] { SelectionMoved(view, edit); };
    QObject::connect(edit, &QLineEdit::cursorPositionChanged, view, selection);
    QObject::connect(edit, &QLineEdit::selectionChanged, view, selection);
  }

  void Apply(ui::Prop what) override {
    const auto& model = static_cast<const ui::Edit&>(control_);
    QLineEdit* edit = Line();
    switch (what) {
      case ui::Prop::Text: {
        const QString text = ToQt(model.Text());
        if (edit->text() == text) break;
        const int cursor = edit->cursorPosition();
        edit->setText(text);
        edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
        break;
      }
      case ui::Prop::MaxLength:
        edit->setMaxLength(QtMaxLength(model.MaxLength()));
        break;
      case ui::Prop::ReadOnly:
        edit->setReadOnly(model.ReadOnly());
        break;
      case ui::Prop::Selection:
        Select(*edit, model.SelStart(), model.SelLength());
        break;
      default:
        Binding::Apply(what);
    }
  }

  bool Rewritten() const override { return Line()->text() != ToQt(control_.Text()); }

  bool WidgetSelection(int& start, int& length) const override {
    const QLineEdit* edit = Line();
    if (edit->hasSelectedText()) {
      start = edit->selectionStart();
      length = edit->selectionLength();
    } else {
      start = edit->cursorPosition();
      length = 0;
    }
    return true;
  }

 protected:
  QWidget* Make(QWidget* container) override { return new QLineEdit(container); }
  void ApplyColors() override { ApplyPalette(true); }

 private:
  QLineEdit* Line() const { return static_cast<QLineEdit*>(widget_); }
};

class MemoBinding : public Binding {
 public:
  using Binding::Binding;

  void Connect() override {
    QPlainTextEdit* memo = Memo();
    Watch(memo);
    QtFormView* view = &view_;
    QObject::connect(memo, &QPlainTextEdit::textChanged, view, [view, memo] {
      Act(view, memo, [memo](ui::Control& c) {
        static_cast<ui::Edit&>(c).UserSetText(LinesFromQt(memo->toPlainText()));
      });
    });
    const auto selection = [view, memo] { SelectionMoved(view, memo); };
    QObject::connect(memo, &QPlainTextEdit::cursorPositionChanged, view, selection);
    QObject::connect(memo, &QPlainTextEdit::selectionChanged, view, selection);
  }

  void Apply(ui::Prop what) override {
    const auto& model = static_cast<const ui::Edit&>(control_);
    QPlainTextEdit* memo = Memo();
    switch (what) {
      case ui::Prop::Text: {
        const QString lines = LinesToQt(model.Text());
        if (memo->toPlainText() == lines) break;
        const int cursor = memo->textCursor().position();
        memo->setPlainText(lines);
        QTextCursor caret = memo->textCursor();
        caret.setPosition(std::min(cursor, static_cast<int>(lines.size())));
        memo->setTextCursor(caret);
        break;
      }
      case ui::Prop::ReadOnly:
        memo->setReadOnly(model.ReadOnly());
        break;
      case ui::Prop::Selection: {
        const std::string& text = model.Text();
        QTextCursor caret = memo->textCursor();
        const int size = static_cast<int>(memo->document()->characterCount()) - 1;
        const int end = model.SelStart() + model.SelLength();
        caret.setPosition(std::min(size, MemoWidgetPosition(text, model.SelStart())));
        caret.setPosition(std::min(size, MemoWidgetPosition(text, end)), QTextCursor::KeepAnchor);
        memo->setTextCursor(caret);
        break;
      }
      default:
        Binding::Apply(what);
    }
  }

  bool Rewritten() const override { return Memo()->toPlainText() != LinesToQt(control_.Text()); }

  bool WidgetSelection(int& start, int& length) const override {
    const QPlainTextEdit* memo = Memo();
    const QTextCursor caret = memo->textCursor();
    start = MemoModelOffset(*memo, caret.selectionStart());
    length = MemoModelOffset(*memo, caret.selectionEnd()) - start;
    return true;
  }

 protected:
  QWidget* Make(QWidget* container) override {
    auto* memo = new QPlainTextEdit(container);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    return memo;
  }
  void ApplyColors() override { ApplyPalette(true); }

 private:
  QPlainTextEdit* Memo() const { return static_cast<QPlainTextEdit*>(widget_); }
};

}  // namespace

std::unique_ptr<Binding> BindEdit(QtFormView& view, ui::Control& control) {
  return std::make_unique<EditBinding>(view, control);
}

std::unique_ptr<Binding> BindMemo(QtFormView& view, ui::Control& control) {
  return std::make_unique<MemoBinding>(view, control);
}

}  // namespace qtui
