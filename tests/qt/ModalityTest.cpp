// The program's windows are modal exactly when the model shows them so: the about box always,
// the options at the first start (from the menu they leave the main window usable), and while a
// transfer's progress is shown the main window takes no input.

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "base/Cp1250.h"
#include "components/VQelTerminal.h"
#include "qt/QtDesktop.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Form.h"

namespace {

struct QtModality : ::testing::Test {
  qtui::QtLoop loop;
  Program program{TestEnv()};
  std::unique_ptr<qtui::DesktopViews> views;

  void SetUp() override {
    views = std::make_unique<qtui::DesktopViews>(program.App());
    program.Start();
    for (int i = 0; i < 200 && !program.Main().startedUp; ++i)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(program.Main().startedUp);
  }
  void TearDown() override {
    int answer = 0;
    program.Main().shutdownHook(TFormMain::SessionMessage::End, answer);
    views.reset();
  }
  QWidget* WindowOf(ui::Form& form) {
    auto* view = dynamic_cast<qtui::QtFormView*>(form.View());
    return view != nullptr ? view->Window() : nullptr;
  }
  // Runs what() inside the modal loop of the form shown next.
  void WhileModal(std::function<void()> what) {
    loop.Post([what] { what(); });
  }
};

TEST_F(QtModality, TheAboutBoxBlocksTheMainWindowUntilItCloses) {
  TFormMain& m = program.Main();
  ui::Form& about = program.FormAbout();
  bool checked = false;
  WhileModal([&] {
    QWidget* window = WindowOf(about);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), window);
    checked = true;
    about.Close();
  });
  m.MenuAboutClick();
  EXPECT_TRUE(checked);
  EXPECT_FALSE(about.Visible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(WindowOf(m)->isEnabled());
}

TEST_F(QtModality, AWindowGetsItsViewWhenFirstShownWhereTheModelPlacesIt) {
  TFormOptions& options = program.FormOptions();
  EXPECT_EQ(options.View(), nullptr);  // not part of the start-up
  program.Main().ItemNastaveniClick();
  QCoreApplication::processEvents();
  QWidget* window = WindowOf(options);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->pos(), QPoint(options.Bounds().left, options.Bounds().top));
  EXPECT_EQ(window->windowTitle().toStdString(), Cp1250ToUtf8(options.Text()));
  options.Hide();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(QtModality, TheTerminalFloatsInAWindowOfItsOwnAndDocksBackIntoTheMainWindow) {
  VQelTerminal& terminal = *program.Main().VQelTerminal1;
  ui::Form& term = *terminal.TermForm();
  terminal.SetVisible(true);
  terminal.SetDocked(false);
  QCoreApplication::processEvents();
  QWidget* window = WindowOf(term);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(views->Main().WidgetOf(*terminal.RichEdit()), nullptr);

  terminal.SetDocked(true);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(term.View(), nullptr);  // shown in place again
  EXPECT_NE(views->Main().WidgetOf(*terminal.RichEdit()), nullptr);
}

TEST_F(QtModality, OptionsAreModalOnlyWhenShownModally) {
  TFormMain& m = program.Main();
  TFormOptions& options = program.FormOptions();
  // From the menu: the main window stays usable beside them.
  m.ItemNastaveniClick();
  QCoreApplication::processEvents();
  ASSERT_NE(WindowOf(options), nullptr);
  EXPECT_TRUE(WindowOf(options)->isVisible());
  EXPECT_EQ(WindowOf(options)->windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  options.Hide();

  // Modally (as at the first start): nothing else takes input until they close ...
  bool checked = false;
  WhileModal([&] {
    EXPECT_EQ(QApplication::activeModalWidget(), WindowOf(options));
    EXPECT_EQ(WindowOf(options)->windowModality(), Qt::ApplicationModal);
    checked = true;
    options.BtnOK->UserClick();
  });
  options.ShowModal();
  EXPECT_TRUE(checked);
  EXPECT_FALSE(WindowOf(options)->isVisible());

  // ... and shown again from the menu they do not stay modal.
  m.ItemNastaveniClick();
  QCoreApplication::processEvents();
  EXPECT_EQ(WindowOf(options)->windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  options.Hide();
}

TEST_F(QtModality, AnalogInputFollowsTheModelAndProgressDisablesTheMainWindow) {
  TFormMain& m = program.Main();
  TFormAnaIn& anaIn = program.FormAnaIn();
  anaIn.ShowFor(nullptr);  // the model shows it beside the main window
  QCoreApplication::processEvents();
  ASSERT_NE(WindowOf(anaIn), nullptr);
  EXPECT_TRUE(WindowOf(anaIn)->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  anaIn.Hide();
  bool checked = false;
  WhileModal([&] {
    EXPECT_EQ(QApplication::activeModalWidget(), WindowOf(anaIn));
    checked = true;
    anaIn.BtnOK->UserClick();
  });
  anaIn.ShowModal();
  EXPECT_TRUE(checked);

  TFormProgress& progress = program.FormProgress();
  progress.Show();
  QCoreApplication::processEvents();
  ASSERT_NE(WindowOf(progress), nullptr);
  EXPECT_TRUE(WindowOf(progress)->isVisible());
  EXPECT_FALSE(WindowOf(m)->isEnabled());  // no input reaches the main window meanwhile
  EXPECT_TRUE(WindowOf(progress)->isEnabled());
  progress.Hide();
  QCoreApplication::processEvents();
  EXPECT_TRUE(WindowOf(m)->isEnabled());
}

}  // namespace
