// The desktop's compare window and the history's context menu, as Qt shows them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/FormCompare.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "base/Cp1250.h"
#include "components/VQelTerminal.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"

namespace {

TEST(QtCompare, TheWindowListsTheDifferencesAndTheHistoryOffersItsMenu) {
  qtui::QtLoop loop;
  Program program(TestEnv());
  std::vector<std::unique_ptr<qtui::QtFormView>> views;
  for (ui::Form* form : program.App().Forms())
    views.push_back(std::make_unique<qtui::QtFormView>(*form));
  TFormMain& m = program.Main();
  program.Start();
  for (int i = 0; i < 500 && !m.startedUp; ++i)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_TRUE(m.startedUp);
  // What a finished read leaves: the window's values taken as the unit's, then a change.
  m.unitValues = BoundValues(m);
  m.MenuCompareUnit->SetEnabled(true);
  m.EditStationName->UserReplace("Vrt");

  QString shown;
  bool grabbed = false;
  QTimer::singleShot(300, [&] {
    TFormCompare& compare = program.FormCompare();
    qtui::QtFormView* view = nullptr;
    for (auto& v : views)
      if (v->WidgetOf(*compare.MemoCompare) != nullptr) view = v.get();
    if (view != nullptr) {
      QWidget* memo = view->WidgetOf(*compare.MemoCompare);
      if (auto* plain = qobject_cast<QPlainTextEdit*>(memo)) shown = plain->toPlainText();
      if (auto* rich = qobject_cast<QTextEdit*>(memo)) shown = rich->toPlainText();
      if (const char* out = std::getenv("KX2_SCREENSHOT"))
        grabbed = memo->window()->grab().save(QString::fromUtf8(out));
    }
    compare.BtnClose->UserClick();
  });
  m.MenuCompareUnit->UserClick();
  EXPECT_TRUE(shown.contains(QStringLiteral("[EditStationName]:  -> Vrt"))) << shown.toStdString();
  if (std::getenv("KX2_SCREENSHOT") != nullptr) {
    EXPECT_TRUE(grabbed);
  }

  TerminalLines* history = m.VQelTerminal1->RichEdit();
  QWidget* widget = nullptr;
  for (auto& v : views)
    if (QWidget* w = v->WidgetOf(*history)) widget = w;
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->contextMenuPolicy(), Qt::CustomContextMenu);

  m.configSaved = true;
  m.Close();
  views.clear();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
