// Menu items in the window's menu bar: the short-cut key, and changes reaching the actions.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "base/Cp1250.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace {

// A window with a File menu holding Open.
struct QtMenu : ::testing::Test {
  qtui::QtLoop loop;
  ui::Application app;
  ui::Form* form = new ui::Form(&app, "FormMain");
  ui::MenuItem* file = new ui::MenuItem(form, "MenuFile");
  ui::MenuItem* open = new ui::MenuItem(form, "MenuOpen", file);
  std::unique_ptr<qtui::QtFormView> view;

  void SetUp() override {
    form->SetBounds(0, 0, 300, 200);
    file->SetCaption("&File");
    open->SetCaption("&Open");
  }
  void Show() {
    view = std::make_unique<qtui::QtFormView>(*form);
    form->Show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    view.reset();
    delete form;
  }
};

TEST_F(QtMenu, TheItemsKeyPicksItThroughItsAction) {
  open->SetShortCut("Ctrl+O");
  int clicks = 0;
  open->OnClick = [&](ui::MenuItem&) { ++clicks; };
  Show();

  QAction* found = nullptr;
  for (QAction* top : view->MenuBar()->actions())
    if (QMenu* menu = top->menu())
      for (QAction* a : menu->actions())
        if (a->shortcut() == QKeySequence(QStringLiteral("Ctrl+O"))) found = a;
  ASSERT_NE(found, nullptr);
  found->trigger();
  EXPECT_EQ(clicks, 1);
}

// A change of caption, state or key (a change of language touches every item) reaches the
// item's action in place: an open menu keeps working. Items that come later appear too.
TEST_F(QtMenu, ChangesOfAnItemReachItsActionAndNewItemsAppear) {
  Show();
  ASSERT_EQ(view->MenuBar()->actions().size(), 1);
  QAction* top = view->MenuBar()->actions()[0];
  ASSERT_NE(top->menu(), nullptr);
  QAction* action = top->menu()->actions().value(0);
  ASSERT_NE(action, nullptr);

  file->SetCaption("&Soubor");
  open->SetCaption(Win1250("&Otevřít"));
  open->SetShortCut("Ctrl+O");
  open->SetChecked(true);
  open->SetEnabled(false);
  ASSERT_EQ(view->MenuBar()->actions().value(0), top);
  EXPECT_EQ(top->text(), QStringLiteral("&Soubor"));
  EXPECT_EQ(top->menu()->actions().value(0), action);
  EXPECT_EQ(action->text(), QString::fromUtf8("&Otevřít"));
  EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  EXPECT_TRUE(action->isChecked());
  EXPECT_FALSE(action->isEnabled());

  auto* exit = new ui::MenuItem(form, "MenuExit", file);
  exit->SetCaption("&Konec");
  QCoreApplication::processEvents();
  QMenu* menu = view->MenuBar()->actions().value(0)->menu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  exit->SetCaption("E&xit");
  EXPECT_EQ(view->MenuBar()->actions().value(0)->menu()->actions().value(1)->text(),
            QStringLiteral("E&xit"));
}

}  // namespace
