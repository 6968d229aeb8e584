// Each kind of control is shown by its own kind of widget, a derived kind before its base.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QTabWidget>
#include <functional>
#include <memory>

#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

TEST(QtBinding, EachKindOfControlGetsItsWidget) {
  qtui::QtLoop loop;
  ui::Application app;
  auto* form = new ui::Form(&app, "FormKinds");
  form->SetBounds(0, 0, 400, 300);
  auto* pages = new ui::PageControl(form, "Pages");
  pages->SetParent(form);
  const struct {
    std::function<ui::Control*()> make;
    bool onPages;
    const char* widget;
  } cases[] = {
      {[&] { return new ui::Label(form); }, false, "QLabel"},
      {[&] { return new ui::Edit(form); }, false, "QLineEdit"},
      {[&] { return new ui::Memo(form); }, false, "QPlainTextEdit"},
      {[&] { return new ui::ComboBox(form); }, false, "QComboBox"},
      {[&] { return new ui::CheckBox(form); }, false, "QCheckBox"},
      {[&] { return new ui::RadioButton(form); }, false, "QRadioButton"},
      {[&] { return new ui::RadioGroup(form); }, false, "QGroupBox"},
      {[&] { return new ui::Button(form); }, false, "QPushButton"},
      {[&] { return new ui::Gauge(form); }, false, "QProgressBar"},
      {[&] { return new ui::PageControl(form); }, false, "QTabWidget"},
      {[&] { return new ui::TabSheet(form); }, true, "QWidget"},
      {[&] { return new ui::TabSheet(form); }, false, "QWidget"},
  };
  std::vector<ui::Control*> controls;
  for (const auto& c : cases) {
    controls.push_back(c.make());
    controls.back()->SetParent(c.onPages ? static_cast<ui::Control*>(pages) : form);
  }
  auto view = std::make_unique<qtui::QtFormView>(*form);
  auto* tabs = qobject_cast<QTabWidget*>(view->WidgetOf(*pages));
  ASSERT_NE(tabs, nullptr);
  for (size_t i = 0; i < controls.size(); ++i) {
    QWidget* widget = view->WidgetOf(*controls[i]);
    ASSERT_NE(widget, nullptr) << i;
    EXPECT_STREQ(widget->metaObject()->className(), cases[i].widget) << i;
    // A sheet is a page of the tab widget only on a page control.
    EXPECT_EQ(tabs->indexOf(widget) >= 0, cases[i].onPages) << i;
  }
  view.reset();
  delete form;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
