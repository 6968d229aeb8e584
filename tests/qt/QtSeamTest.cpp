// The seam between the control model and Qt's widgets: what the model says shows in the
// widgets, and what the user does with the widgets reaches the model as the user's action.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "qt/QtComboBox.h"
#include "qt/QtDialogs.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Timer.h"

namespace {

// "Žluťoučký kůň" in Windows-1250.
const std::string kCzech =
    "\x8Elu\x9Do"
    "u\xE8k\xFD k\xF9\xF2";
const QString kCzechQt = QString::fromUtf8("Žluťoučký kůň");

template <class T>
T* Place(ui::Form& form, ui::Control* parent, const char* name, ui::Rect r) {
  auto* c = new T(&form, name);
  c->SetParent(parent);
  c->SetBounds(r.left, r.top, r.width, r.height);
  return c;
}

class QtSeam : public ::testing::Test {
 protected:
  QtSeam() {
    form = new ui::Form(&app, "FormMain");
    form->SetBounds(10, 10, 400, 300);
    pages = Place<ui::PageControl>(*form, form, "Pages", {0, 0, 390, 250});
    sheet = Place<ui::TabSheet>(*form, pages, "Sheet1", {});
    sheet->SetCaption("First");
    edit = Place<ui::Edit>(*form, sheet, "EditName", {8, 8, 150, 21});
    check = Place<ui::CheckBox>(*form, sheet, "CheckAll", {8, 40, 150, 17});
    check->SetCaption("All");
    check->SetAllowGrayed(true);
    combo = Place<ui::ComboBox>(*form, sheet, "ComboPort", {8, 70, 150, 21});
    combo->SetItems({"COM1", "COM2", "COM3"});
    view = std::make_unique<qtui::QtFormView>(*form);
    form->Show();
  }
  ~QtSeam() override {
    view.reset();
    delete form;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  template <class W>
  W* Widget(const ui::Control* c) {
    return qobject_cast<W*>(view->WidgetOf(*c));
  }

  // Records the model's events with whether they were the user's.
  void Record(ui::Control* c) {
    c->OnChange = [this](ui::Control& s) {
      events.push_back(Event{"change", s.Text(), s.InUserAction()});
    };
    c->OnClick = [this](ui::Control& s) {
      events.push_back(Event{"click", s.Text(), s.InUserAction()});
    };
  }

  struct Event {
    std::string what;
    std::string text;
    bool user;
  };

  qtui::QtLoop loop;
  ui::Application app;
  ui::Form* form;
  ui::PageControl* pages;
  ui::TabSheet* sheet;
  ui::Edit* edit;
  ui::CheckBox* check;
  ui::ComboBox* combo;
  std::unique_ptr<qtui::QtFormView> view;
  std::vector<Event> events;
};

TEST_F(QtSeam, TypingReachesTheModelAsTheUsersChange) {
  Record(edit);
  auto* line = Widget<QLineEdit>(edit);
  ASSERT_NE(line, nullptr);
  QTest::keyClicks(line, "ab");
  EXPECT_EQ(edit->Text(), "ab");
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events.back().what, "change");
  EXPECT_EQ(events.back().text, "ab");
  EXPECT_TRUE(events.back().user);
  EXPECT_EQ(edit->SelStart(), 2);  // the caret follows the widget's

  // Characters beyond Latin-1 arrive as Windows-1250 bytes.
  QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QStringLiteral("ž"), Qt::NoModifier);
  EXPECT_EQ(edit->Text(), "ab\x9E");

  // A handler that rewrites the text wins: the widget shows the model's text.
  edit->OnChange = [](ui::Control& c) {
    if (c.Text().size() > 4) c.SetText("full");
  };
  QTest::keyClicks(line, "cd");
  EXPECT_EQ(edit->Text(), "full");
  EXPECT_EQ(line->text(), QStringLiteral("full"));

  // The maximum length is the model's.
  edit->SetMaxLength(3);
  edit->SetText("");
  QTest::keyClicks(line, "12345");
  EXPECT_EQ(edit->Text(), "123");
}

TEST_F(QtSeam, EnterAndEscapeGoThroughTheModelsKeyHandlers) {
  std::vector<int> keys;
  edit->OnKeyPress = [&keys](ui::Control& c, char& key) {
    keys.push_back(key);
    if (key == '\r') c.SetText("accepted");
    key = 0;
  };
  auto* line = Widget<QLineEdit>(edit);
  QTest::keyClick(line, Qt::Key_Return);
  QTest::keyClick(line, Qt::Key_Escape);
  EXPECT_EQ(keys, (std::vector<int>{'\r', 0x1B}));
  EXPECT_EQ(line->text(), QStringLiteral("accepted"));

  // In a memo the Enter that gets through is the model's line break, at the widget's caret.
  auto* memo = Place<ui::Memo>(*form, sheet, "Memo", {8, 100, 150, 60});
  memo->SetText("ab");
  auto* box = Widget<QPlainTextEdit>(memo);
  ASSERT_NE(box, nullptr);
  QTextCursor caret = box->textCursor();
  caret.setPosition(1);
  box->setTextCursor(caret);
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(memo->Text(), "a\r\nb");
  EXPECT_EQ(box->toPlainText(), QStringLiteral("a\nb"));
  QTest::keyClicks(box, "x");
  EXPECT_EQ(memo->Text(), "a\r\nxb");
}

TEST_F(QtSeam, ModelChangesShowInTheWidgets) {
  auto* line = Widget<QLineEdit>(edit);
  edit->SetText(kCzech);
  EXPECT_EQ(line->text(), kCzechQt);

  edit->SetFontColor(ui::clRed);
  EXPECT_EQ(line->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
  edit->SetFontColor(ui::clWindowText);
  EXPECT_EQ(line->palette().color(QPalette::Active, QPalette::Text),
            QApplication::palette(line).color(QPalette::Active, QPalette::Text));
  edit->SetBackColor(ui::RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(line->palette().color(QPalette::Active, QPalette::Base), QColor(0x12, 0x34, 0x56));

  edit->SetEnabled(false);
  EXPECT_FALSE(line->isEnabled());
  edit->SetVisible(false);
  EXPECT_TRUE(line->isHidden());
  edit->SetHint("Short|Long description");
  EXPECT_EQ(line->toolTip(), QStringLiteral("Short"));
  edit->SetBounds(20, 30, 100, 22);
  EXPECT_EQ(line->geometry(), QRect(20, 30, 100, 22));

  check->SetState(ui::CheckState::Grayed);
  EXPECT_EQ(Widget<QCheckBox>(check)->checkState(), Qt::PartiallyChecked);

  auto* label = Place<ui::Label>(*form, sheet, "Label", {8, 200, 150, 13});
  label->SetCaption("&Name");
  EXPECT_EQ(Widget<QLabel>(label)->text(), QStringLiteral("Name"));
  label->SetCaption(kCzech);
  EXPECT_EQ(Widget<QLabel>(label)->text(), kCzechQt);

  form->SetCaption(kCzech);
  EXPECT_EQ(view->Window()->windowTitle(), kCzechQt);
  form->Hide();
  EXPECT_FALSE(view->Window()->isVisible());
}

TEST_F(QtSeam, ClickingTheCheckBoxCyclesTheModelsStates) {
  Record(check);
  auto* box = Widget<QCheckBox>(check);
  const QPoint indicator(6, box->height() / 2);
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator);
  EXPECT_EQ(check->State(), ui::CheckState::Grayed);
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator);
  EXPECT_EQ(check->State(), ui::CheckState::Checked);
  EXPECT_EQ(box->checkState(), Qt::Checked);
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator);
  EXPECT_EQ(check->State(), ui::CheckState::Unchecked);
  EXPECT_EQ(box->checkState(), Qt::Unchecked);
  ASSERT_EQ(events.size(), 3u);
  for (const Event& e : events) {
    EXPECT_EQ(e.what, "click");
    EXPECT_TRUE(e.user);
  }
  EXPECT_EQ(form->ActiveControl(), check);  // the click took the focus, as on the platform

  // Without the greyed state a click goes straight to checked; a disabled box ignores clicks.
  check->SetAllowGrayed(false);
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator);
  EXPECT_EQ(check->State(), ui::CheckState::Checked);
  EXPECT_EQ(box->checkState(), Qt::Checked);  // the model's cycle, not Qt's
  check->SetEnabled(false);
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator);
  EXPECT_EQ(check->State(), ui::CheckState::Checked);
  // Radio buttons exclude each other in the model; clicking the checked one keeps it checked
  // (Qt alone would toggle it off).
  auto* one = Place<ui::RadioButton>(*form, sheet, "RadioOne", {8, 120, 100, 17});
  auto* two = Place<ui::RadioButton>(*form, sheet, "RadioTwo", {8, 140, 100, 17});
  one->SetChecked(true);
  auto* radioOne = Widget<QRadioButton>(one);
  auto* radioTwo = Widget<QRadioButton>(two);
  QTest::mouseClick(radioTwo, Qt::LeftButton, Qt::NoModifier, indicator);
  EXPECT_TRUE(two->Checked());
  EXPECT_FALSE(one->Checked());
  EXPECT_FALSE(radioOne->isChecked());
  QTest::mouseClick(radioTwo, Qt::LeftButton, Qt::NoModifier, indicator);
  EXPECT_TRUE(two->Checked());
  EXPECT_TRUE(radioTwo->isChecked());
}

TEST_F(QtSeam, ComboBoxPicksAndTypingReachTheModel) {
  Record(combo);
  auto* box = Widget<QComboBox>(combo);
  ASSERT_TRUE(box->isEditable());
  combo->SetItemIndex(0);
  EXPECT_EQ(box->currentText(), QStringLiteral("COM1"));

  QTest::keyClick(box, Qt::Key_Down);  // the next entry, as from the list
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "COM2");
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].what, "click");
  EXPECT_EQ(events[1].what, "change");
  EXPECT_TRUE(events[1].user);

  events.clear();
  box->lineEdit()->selectAll();
  QTest::keyClicks(box->lineEdit(), "COM3");
  EXPECT_EQ(combo->Text(), "COM3");
  EXPECT_EQ(combo->ItemIndex(), 2);  // the typed text matches an entry
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().what, "change");
  EXPECT_TRUE(events.back().user);

  // New items in code keep the typed text of an editable box.
  combo->SetItems({"/dev/ttyS0"});
  EXPECT_EQ(box->count(), 1);
  EXPECT_EQ(box->currentText(), QStringLiteral("COM3"));
  combo->SetStyle(ui::ComboStyle::DropDownList);
  EXPECT_FALSE(box->isEditable());
}

// The port box's list shows the adapter beside each port, refilled as the list opens; the
// chosen entry puts the bare path into the box and into the model.
TEST_F(QtSeam, TheListShowsDescriptionsAndAPickTakesTheBarePath) {
  Record(combo);
  combo->OnDropDown = [](ui::Control& c) {
    static_cast<ui::ComboBox&>(c).SetItems({"/dev/ttyS0", "/dev/ttyUSB0"},
                                           {"", "usb-FTDI_FT232R-if00-port0"});
  };
  combo->SetComboText("COM4");  // typed or stored: any text stays until a pick
  auto* box = Widget<QComboBox>(combo);
  box->showPopup();
  QAbstractItemView* list = box->view();
  ASSERT_TRUE(list->isVisible());
  ASSERT_EQ(box->count(), 2);
  const QModelIndex adapter = list->model()->index(1, 0);
  EXPECT_EQ(qtui::DescribedItemDelegate::ShownText(list->model()->index(0, 0)),
            QStringLiteral("/dev/ttyS0"));
  EXPECT_EQ(qtui::DescribedItemDelegate::ShownText(adapter),
            QString::fromUtf8("/dev/ttyUSB0 \u2014 usb-FTDI_FT232R-if00-port0"));
  EXPECT_EQ(adapter.data(Qt::ToolTipRole).toString(), QStringLiteral("usb-FTDI_FT232R-if00-port0"));
  // The list is wide enough for the description.
  EXPECT_GE(list->width(),
            list->fontMetrics().horizontalAdvance(qtui::DescribedItemDelegate::ShownText(adapter)));
  EXPECT_EQ(box->currentText(), QStringLiteral("COM4"));

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(adapter).center());
  EXPECT_FALSE(list->isVisible());
  EXPECT_EQ(box->lineEdit()->text(), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(combo->Text(), "/dev/ttyUSB0");
  EXPECT_EQ(combo->ItemIndex(), 1);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().what, "change");
  EXPECT_TRUE(events.back().user);
}

TEST_F(QtSeam, ControlsAndPagesAddedLaterGetWidgets) {
  auto* tabs = Widget<QTabWidget>(pages);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->count(), 1);

  // A sheet with its controls placed before the sheet joins the page control.
  auto* second = new ui::TabSheet(form, "Sheet2");
  second->SetCaption(kCzech);
  auto* button = Place<ui::Button>(*form, second, "Button", {10, 10, 75, 25});
  button->SetCaption("Go");
  second->SetPageControl(pages);
  EXPECT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(1), kCzechQt);
  auto* push = Widget<QPushButton>(button);
  ASSERT_NE(push, nullptr);
  EXPECT_EQ(push->parentWidget(), view->WidgetOf(*second));
  EXPECT_EQ(push->text(), QStringLiteral("Go"));

  second->SetPageIndex(0);
  EXPECT_EQ(tabs->widget(0), view->WidgetOf(*second));
  second->SetTabVisible(false);
  EXPECT_FALSE(tabs->isTabVisible(0));
  second->SetTabVisible(true);

  // Switching tabs by hand is the user's page change.
  int changes = 0;
  pages->OnChange = [&changes](ui::Control& c) { changes += c.InUserAction() ? 1 : 100; };
  tabs->setCurrentIndex(tabs->indexOf(view->WidgetOf(*second)));
  EXPECT_EQ(pages->ActivePage(), second);
  EXPECT_EQ(changes, 1);
  pages->SetActivePage(sheet);
  EXPECT_EQ(tabs->currentWidget(), view->WidgetOf(*sheet));
  EXPECT_EQ(changes, 1);

  // Removing a control takes its widget away.
  delete button;
  EXPECT_EQ(view->WidgetOf(*second)->findChildren<QPushButton*>().size(), 0);
  delete second;
  EXPECT_EQ(tabs->count(), 1);
}

TEST_F(QtSeam, MenuAndButtonsRunTheModelsHandlers) {
  auto* file = new ui::MenuItem(form, "MenuFile");
  file->SetCaption("&File");
  auto* exit = new ui::MenuItem(form, "MenuExit", file);
  exit->SetCaption("E&xit");
  int picked = 0;
  exit->OnClick = [&picked](ui::MenuItem&) { ++picked; };
  QMenuBar* bar = view->MenuBar();
  ASSERT_EQ(bar->actions().size(), 1);
  QMenu* menu = bar->actions()[0]->menu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("E&xit"));
  menu->actions()[0]->trigger();
  EXPECT_EQ(picked, 1);
  exit->SetEnabled(false);
  view->MenuBar()->actions()[0]->menu()->actions()[0]->trigger();
  EXPECT_EQ(picked, 1);

  // A click whose handler removes another control and closes the view itself: the widgets
  // still inside Qt's signal outlive it, nothing dangles.
  auto* button = Place<ui::Button>(*form, sheet, "ButtonClose", {200, 8, 75, 25});
  int clicks = 0;
  button->OnClick = [this, &clicks](ui::Control&) {
    ++clicks;
    delete edit;
    edit = nullptr;
    view.reset();
  };
  QTest::mouseClick(Widget<QPushButton>(button), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(view, nullptr);
  EXPECT_EQ(form->View(), nullptr);
}

TEST_F(QtSeam, ViewAndFormMayGoInEitherOrder) {
  view.reset();
  EXPECT_EQ(form->View(), nullptr);
  edit->SetText("no view");  // nobody to tell

  view = std::make_unique<qtui::QtFormView>(*form);
  EXPECT_EQ(form->View(), view.get());
  EXPECT_EQ(Widget<QLineEdit>(edit)->text(), QStringLiteral("no view"));
  QWidget* line = Widget<QLineEdit>(edit);
  ASSERT_NE(line, nullptr);
  delete form;
  form = nullptr;
  EXPECT_EQ(view->GetForm(), nullptr);
  EXPECT_FALSE(view->Window()->isVisible());
  EXPECT_TRUE(view->Window()->isAncestorOf(line));  // kept, inert, until the view goes
}

TEST(QtLoopTest, PostedWorkTimersAndModalForms) {
  qtui::QtLoop loop;
  ui::Application app;
  auto* mainForm = new ui::Form(&app, "FormMain");

  std::vector<int> order;
  loop.Post([&order] { order.push_back(1); });
  loop.Post([&order] { order.push_back(2); });
  EXPECT_TRUE(order.empty());  // never inside the call
  loop.ProcessMessages();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));

  // A modal form ends when a button with a modal result is pressed; here the "user" is
  // posted work that clicks it once the loop runs.
  auto* dialog = new ui::Form(&app, "Dialog");
  auto* ok = new ui::Button(dialog, "ButtonOK");
  ok->SetParent(dialog);
  ok->SetModalResult(ui::mrOk);
  loop.Post([ok] { ok->UserClick(); });
  EXPECT_EQ(dialog->ShowModal(), ui::mrOk);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_EQ(dialog->View(), nullptr);  // the loop's own view is gone again

  // A model timer fires through a QTimer and stops when disabled.
  ui::Timer timer(nullptr, "Timer");
  int fired = 0;
  QEventLoop wait;
  timer.SetInterval(1);
  timer.SetOnTimer([&](ui::Timer& t) {
    if (++fired == 3) {
      t.SetEnabled(false);
      wait.quit();
    }
  });
  EXPECT_EQ(loop.ActiveTimers(), 1u);
  QTimer::singleShot(10000, &wait, &QEventLoop::quit);  // only if the timer never fires
  wait.exec();
  EXPECT_EQ(fired, 3);
  EXPECT_EQ(loop.ActiveTimers(), 0u);

  // The program runs until its main form closes.
  mainForm->Show();
  loop.Post([mainForm] { mainForm->Close(); });
  EXPECT_EQ(loop.Run(), 0);
  EXPECT_TRUE(app.Terminated());
  EXPECT_FALSE(mainForm->Visible());
}

TEST(QtDialogsTest, FlagsAndFiltersTranslate) {
  using qtui::BoxLookFor;
  using qtui::BoxResultFor;
  auto look = BoxLookFor(ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
  EXPECT_EQ(look.icon, QMessageBox::Question);
  EXPECT_EQ(look.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(look.escapeButton, QMessageBox::Cancel);
  EXPECT_EQ(BoxLookFor(ui::MB_OK | ui::MB_ICONERROR).icon, QMessageBox::Critical);
  EXPECT_EQ(BoxLookFor(ui::MB_OK | ui::MB_ICONWARNING).icon, QMessageBox::Warning);
  EXPECT_EQ(BoxLookFor(ui::MB_OKCANCEL | ui::MB_ICONINFORMATION).icon, QMessageBox::Information);
  EXPECT_EQ(BoxLookFor(ui::MB_OKCANCEL).buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(BoxLookFor(ui::MB_YESNO).escapeButton, QMessageBox::No);

  EXPECT_EQ(BoxResultFor(ui::MB_OK, QMessageBox::Ok), ui::IDOK);
  EXPECT_EQ(BoxResultFor(ui::MB_OKCANCEL, QMessageBox::Cancel), ui::IDCANCEL);
  EXPECT_EQ(BoxResultFor(ui::MB_YESNO, QMessageBox::Yes), ui::IDYES);
  EXPECT_EQ(BoxResultFor(ui::MB_YESNO, QMessageBox::No), ui::IDNO);
  // Closed without a button of its own: the safe answer, never "yes".
  EXPECT_EQ(BoxResultFor(ui::MB_YESNO, QMessageBox::NoButton), ui::IDNO);
  EXPECT_EQ(BoxResultFor(ui::MB_YESNOCANCEL, QMessageBox::NoButton), ui::IDCANCEL);

  ui::FileDialog dialog(nullptr, "Open");
  dialog.SetFilter(
      "Konfigurace (*.eep)|*.eep|Obr\xE1zky|*.bin;*.img|V\x9A"
      "e|*.*");
  EXPECT_EQ(qtui::FileFilter(dialog),
            QString::fromUtf8("Konfigurace (*.eep);;Obrázky (*.bin *.img);;Vše (*.*)"));
  dialog.SetFilter("|*.eep");
  EXPECT_EQ(qtui::FileFilter(dialog), QStringLiteral("(*.eep)"));
  dialog.SetFilter("");
  EXPECT_TRUE(qtui::NameFilters(dialog).isEmpty());
}

}  // namespace
