// The terminal's "Free window" gives its window a top-level view of its own; closing that window
// docks it back into the host's page, where the host's view shows it again.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTextEdit>
#include <memory>

#include "components/VQelTerminal.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

TEST(QtFloatingTerminal, FreeWindowFloatsInAWindowOfItsOwnAndClosingItDocksItBack) {
  qtui::QtLoop loop;
  ui::Application app;
  auto* host = new ui::Form(&app, "FormMain");
  host->SetBounds(0, 0, 640, 480);
  auto* pages = new ui::PageControl(host, "PageControl1");
  pages->SetParent(host);
  pages->SetBounds(0, 0, 630, 420);
  auto* general = new ui::TabSheet(host, "SheetGeneral");
  general->SetPageControl(pages);
  auto* terminal = new VQelTerminal(host, "VQelTerminal1");
  terminal->SetParentPageControl(pages);
  terminal->SetTermCloseAction(trmcaDock);
  terminal->Loaded();
  terminal->SetVisible(true);
  auto view = std::make_unique<qtui::QtFormView>(*host);
  host->Show();

  ui::Form& term = *terminal->TermForm();
  ASSERT_TRUE(terminal->GetDocked());
  EXPECT_EQ(term.View(), nullptr);  // shown in place by the host
  auto* undock = qobject_cast<QPushButton*>(view->WidgetOf(*terminal->BtnUndock()));
  ASSERT_NE(undock, nullptr);

  undock->click();  // "Free window"
  QCoreApplication::processEvents();
  ASSERT_FALSE(terminal->GetDocked());
  auto* own = dynamic_cast<qtui::QtFormView*>(term.View());
  ASSERT_NE(own, nullptr);
  EXPECT_TRUE(own->Window()->isWindow());
  EXPECT_TRUE(own->Window()->isVisible());
  EXPECT_EQ(view->WidgetOf(*terminal->BtnUndock()), nullptr);
  // The history lives on in the floating window.
  auto* text = qobject_cast<QTextEdit*>(own->WidgetOf(*terminal->RichEdit()));
  ASSERT_NE(text, nullptr);
  const QString before = text->toPlainText();
  const uint8_t frame[] = {0x01, 0x02, 0x0D};
  terminal->addLine(frame, 3, VQelTerminal_ltOutBin);
  EXPECT_NE(text->toPlainText(), before);

  own->Window()->close();  // the close action docks it back
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(terminal->GetDocked());
  EXPECT_EQ(term.View(), nullptr);
  EXPECT_NE(view->WidgetOf(*terminal->BtnUndock()), nullptr);
  EXPECT_NE(view->WidgetOf(*terminal->RichEdit()), nullptr);

  // Floating set in code (stored options at start) works the same way.
  terminal->SetDocked(false);
  ASSERT_NE(term.View(), nullptr);
  EXPECT_TRUE(dynamic_cast<qtui::QtFormView*>(term.View())->Window()->isVisible());

  view.reset();
  delete host;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
