// A window docked into a page of another is shown in place by the host's view, and the terminal's
// coloured history mirrors into a read-only text view.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTextEdit>
#include <memory>

#include "components/VQelTerminalView.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

TEST(QtDocked, ADockedFormWithoutAViewIsShownOnItsSheetAndItsHistoryFollows) {
  qtui::QtLoop loop;
  ui::Application app;
  auto* host = new ui::Form(&app, "FormMain");
  host->SetBounds(0, 0, 400, 300);
  auto* pages = new ui::PageControl(host, "Pages");
  pages->SetParent(host);
  pages->SetBounds(0, 0, 390, 250);
  auto* sheet = new ui::TabSheet(host, "SheetTerminal");
  sheet->SetPageControl(pages);
  auto view = std::make_unique<qtui::QtFormView>(*host);
  host->Show();

  // The docked window is owned elsewhere (as the terminal owns its window) and has no view.
  auto* docked = new ui::Form(nullptr, "Term_Form");
  auto* history = new TerminalLines(docked, "History");
  history->SetParent(docked);
  history->SetBounds(0, 0, 300, 200);
  history->Append("+ # 81", ui::clBlue);
  history->EndLine();
  docked->ManualDock(sheet);

  auto* text = qobject_cast<QTextEdit*>(view->WidgetOf(*history));
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->isReadOnly());
  // The docked window is not shown yet: its history renders nothing until it is.
  EXPECT_TRUE(text->toPlainText().isEmpty());
  docked->Show();
  EXPECT_TRUE(text->isVisible());
  EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("+ # 81")));
  // Later lines reach the widget through the host's view.
  history->Append(" - # 01 02 0D", ui::clBlue);
  history->EndLine();
  EXPECT_TRUE(text->toPlainText().contains(QStringLiteral(" - # 01 02 0D")));
  EXPECT_TRUE(text->toHtml().contains(QStringLiteral("#0000ff")));

  delete docked;
  EXPECT_EQ(view->WidgetOf(*sheet) != nullptr, true);
  view.reset();
  delete host;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
