// The terminal's history in its Qt view: what the model appends is appended, what it trims is
// dropped, and nothing is rendered while the view is hidden.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <memory>

#include "components/VQelTerminalView.h"
#include "qt/QtFormView.h"
#include "qt/QtHistoryView.h"
#include "qt/QtLoop.h"
#include "ui/Form.h"

namespace {

struct HistoryView : ::testing::Test {
  qtui::QtLoop loop;
  ui::Application app;
  ui::Form* form = new ui::Form(&app, "Term_Form");
  TerminalLines* history = new TerminalLines(form, "History");
  std::unique_ptr<qtui::QtFormView> view;
  QTextEdit* text = nullptr;

  void SetUp() override {
    form->SetBounds(0, 0, 300, 200);
    history->SetParent(form);
    history->SetBounds(0, 0, 300, 200);
    view = std::make_unique<qtui::QtFormView>(*form);
    form->Show();
    text = qobject_cast<QTextEdit*>(view->WidgetOf(*history));
    ASSERT_NE(text, nullptr);
  }
  void TearDown() override {
    view.reset();
    delete form;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void Line(const std::string& prefix, const std::string& rest, ui::Color color = ui::clBlue) {
    history->Append(prefix, ui::clBlack);
    history->Append(rest, color);
    history->EndLine();
  }
  // The model's lines as the view should show them.
  QString Expected() const {
    QStringList lines;
    for (const TerminalLine& line : history->Lines())
      lines << QString::fromLatin1(line.Text().c_str());
    return lines.join(QLatin1Char('\n'));
  }
  // A mark on a block that only survives when the view leaves that block alone.
  void Mark(QTextBlock block) {
    QTextCursor cursor(block);
    QTextBlockFormat format;
    format.setProperty(QTextFormat::UserProperty, 42);
    cursor.mergeBlockFormat(format);
  }
  static bool Marked(const QTextBlock& block) {
    return block.blockFormat().property(QTextFormat::UserProperty).toInt() == 42;
  }
};

TEST_F(HistoryView, NewLinesAndTextAreAppendedAndTrimmedLinesDropped) {
  Line("+ #", " 81 82 0D");
  Line(" - #", " 01 02 0D");
  EXPECT_EQ(text->toPlainText(), Expected());
  Mark(text->document()->firstBlock());

  // An open line that grows, also by a run that continues one of its colour.
  history->Append(" E ", ui::clPurple);
  history->Append("abc", ui::clPurple);
  EXPECT_EQ(text->toPlainText(), Expected());
  history->Append("def", ui::clRed);
  history->EndLine();
  history->EndLine();  // an ended history gets an empty line
  Line("+ #", " 86 87 0D");
  EXPECT_EQ(history->LineCount(), 5);
  EXPECT_EQ(text->toPlainText(), Expected());
  EXPECT_TRUE(Marked(text->document()->firstBlock())) << "the history was rendered again";

  // Colours stay with their runs.
  const QTextBlock third = text->document()->findBlockByNumber(2);
  QTextCursor at(third);
  at.setPosition(third.position() + 5);  // inside "abc"
  EXPECT_EQ(at.charFormat().foreground().color(), QColor(128, 0, 128));
  at.setPosition(third.position() + 8);  // inside "def"
  EXPECT_EQ(at.charFormat().foreground().color(), QColor(255, 0, 0));

  // Trimming drops lines from the front and leaves the rest alone.
  Mark(text->document()->lastBlock());
  history->RemoveFirstLines(2);
  EXPECT_EQ(text->toPlainText(), Expected());
  EXPECT_TRUE(Marked(text->document()->lastBlock()));
  history->Clear();
  EXPECT_EQ(text->toPlainText(), QString());
  Line("+ #", " 81 82 0D");
  EXPECT_EQ(text->toPlainText(), Expected());
}

TEST_F(HistoryView, AHiddenViewRendersNothingAndCatchesUpWhenShown) {
  Line("+ #", " 81 82 0D");
  auto* shown = static_cast<qtui::QtHistoryView*>(text);
  EXPECT_EQ(shown->ShownLines(), 1);

  form->Hide();
  for (int i = 0; i < 50; ++i) Line(" - #", " 04 00 00 00 00 C5 0D");
  history->RemoveFirstLines(10);
  EXPECT_EQ(shown->ShownLines(), 1);
  EXPECT_EQ(text->toPlainText(), QStringLiteral("+ # 81 82 0D"));

  form->Show();
  EXPECT_EQ(shown->ShownLines(), 41);
  EXPECT_EQ(text->toPlainText(), Expected());
  Line("+ #", " 84 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 0D");
  EXPECT_EQ(text->toPlainText(), Expected());
}

}  // namespace
