// Keys on the desktop reach the terminal's model with their modifiers: whatever has the focus in
// the terminal window, typing goes to the input line, and Ctrl+Z sends it with its terminator.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <memory>
#include <string>
#include <vector>

#include "components/VQelTerminal.h"
#include "components/VQelTerminalView.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

TEST(QtTerminalKeys, TypingIntoTheHistoryFillsTheInputLineAndCtrlZSendsIt) {
  qtui::QtLoop loop;
  ui::Application app;
  auto* main = new ui::Form(&app, "FormMain");
  main->SetBounds(0, 0, 400, 300);
  auto* term = new VQelTerminal(main, "VQelTerminal1");
  std::vector<std::string> sent;
  term->OnTermSendData = [&sent](const uint8_t* data, int count) {
    sent.emplace_back(reinterpret_cast<const char*>(data), count);
  };
  term->SetVisible(true);
  term->Loaded();
  ASSERT_NE(term->TermForm(), nullptr);
  auto view = std::make_unique<qtui::QtFormView>(*term->TermForm());
  term->TermForm()->Show();

  auto* history = qobject_cast<QTextEdit*>(view->WidgetOf(*term->RichEdit()));
  auto* input = qobject_cast<QLineEdit*>(view->WidgetOf(*term->ManualLine()));
  ASSERT_NE(history, nullptr);
  ASSERT_NE(input, nullptr);
  QTest::keyClicks(history, "AT+CSQ");
  EXPECT_EQ(term->ManualLine()->Text(), "AT+CSQ");
  EXPECT_EQ(input->text(), QStringLiteral("AT+CSQ"));
  EXPECT_TRUE(sent.empty());
  QTest::keyClick(history, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(sent, (std::vector<std::string>{"AT+CSQ\x1A"}));
  EXPECT_EQ(term->ManualLine()->Text(), "");

  // In the input line itself the keys edit as usual, and Ctrl+Z still sends.
  QTest::keyClicks(input, "ATI");
  QTest::keyClick(input, Qt::Key_Backspace);
  EXPECT_EQ(term->ManualLine()->Text(), "AT");
  QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(sent.back(), "AT\x1A");

  view.reset();
  delete main;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
