// A menu item's short-cut key becomes its action's shortcut in the window's menu bar.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace {

TEST(QtMenuShortCut, TheItemsKeyPicksItThroughItsAction) {
  qtui::QtLoop loop;
  ui::Application app;
  auto* form = new ui::Form(&app, "FormMain");
  form->SetBounds(0, 0, 300, 200);
  auto* file = new ui::MenuItem(form, "MenuFile");
  file->SetCaption("&File");
  auto* open = new ui::MenuItem(form, "MenuOpen", file);
  open->SetCaption("&Open");
  open->SetShortCut("Ctrl+O");
  int clicks = 0;
  open->OnClick = [&](ui::MenuItem&) { ++clicks; };
  auto view = std::make_unique<qtui::QtFormView>(*form);
  form->Show();
  QCoreApplication::processEvents();

  QAction* found = nullptr;
  for (QAction* top : view->MenuBar()->actions())
    if (QMenu* menu = top->menu())
      for (QAction* a : menu->actions())
        if (a->shortcut() == QKeySequence(QStringLiteral("Ctrl+O"))) found = a;
  ASSERT_NE(found, nullptr);
  found->trigger();
  EXPECT_EQ(clicks, 1);
  view.reset();
  delete form;
}

}  // namespace
