// Every window of the desktop program, in both built-in languages, measured the way Qt draws
// it with the program's font: each caption fits its control, each control lies inside the
// area it is placed on and overlaps none of its siblings. Dialogs open where the model places
// them, and windows of a fixed size cannot be resized or maximised.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <climits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "app/FormCompare.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "base/Cp1250.h"
#include "components/VQelTerminal.h"
#include "lang/VQelLanguage.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "qt/QtText.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

std::string Utf8(const QString& text) {
  return text.toStdString();
}

std::string SizeText(const QSize& s) {
  return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

// Measures the visible controls of one window in one language and collects what does not fit.
class FitCheck {
 public:
  FitCheck(std::string window, std::string language, std::set<std::string>& faults)
      : window_(std::move(window)), language_(std::move(language)), faults_(faults) {}

  // Every control under `root` that the view shows now.
  void Tree(qtui::QtFormView& view, const ui::Control& root) {
    std::map<QWidget*, std::vector<std::pair<const ui::Control*, QWidget*>>> siblings;
    Walk(view, root, siblings);
    for (const auto& [parent, children] : siblings) {
      for (size_t i = 0; i < children.size(); ++i)
        for (size_t j = 0; j < children.size(); ++j) {
          const QRect a = children[i].second->geometry();
          const QRect b = children[j].second->geometry();
          const QRect both = a.intersected(b);
          if (j > i && !both.isEmpty())
            Fault(*children[i].first,
                  "overlaps " + children[j].first->Name() + " by " + SizeText(both.size()) + " px");
          // A caption that ends right where the next control on its line begins reads as one
          // with it.
          auto end = textEnds_.find(children[i].second);
          if (j == i || end == textEnds_.end() || !both.isEmpty()) continue;
          const bool sameLine = a.top() <= b.bottom() && b.top() <= a.bottom();
          const int gap = b.left() - (a.left() + end->second);
          if (sameLine && b.left() >= a.left() && gap < kLeastGap)
            Fault(*children[i].first, "its text ends " + std::to_string(gap) + " px before " +
                                          children[j].first->Name() + " (wants " +
                                          std::to_string(kLeastGap) + ")");
        }
    }
  }

 private:
  static constexpr int kLeastGap = 3;

  void Walk(qtui::QtFormView& view, const ui::Control& control,
            std::map<QWidget*, std::vector<std::pair<const ui::Control*, QWidget*>>>& siblings) {
    for (const ui::Control* child : control.Children()) {
      QWidget* w = view.WidgetOf(*child);
      if (w == nullptr || !w->isVisible()) continue;
      // Pages are placed by their tab widget, not by the model.
      if (dynamic_cast<const ui::TabSheet*>(child) == nullptr ||
          qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()) == nullptr) {
        Inside(*child, w);
        siblings[w->parentWidget()].push_back({child, w});
      }
      Caption(*child, w);
      Walk(view, *child, siblings);
    }
  }

  void Fault(const ui::Control& control, const std::string& what) {
    faults_.insert(window_ + " [" + language_ + "] " + control.Name() + ": " + what);
  }

  void Needs(const ui::Control& control, const QString& text, const QSize& need,
             const QSize& room) {
    const int wide = need.width() - room.width();
    const int high = need.height() - room.height();
    if (wide > 0)
      Fault(control, "\"" + Utf8(text) + "\" is " + std::to_string(wide) + " px too wide (needs " +
                         std::to_string(need.width()) + ", has " + std::to_string(room.width()) +
                         ")");
    if (high > 0)
      Fault(control, "\"" + Utf8(text) + "\" is " + std::to_string(high) + " px too high (needs " +
                         std::to_string(need.height()) + ", has " + std::to_string(room.height()) +
                         ")");
  }

  // The control within the area of what it is placed on: the window's client area, a page, a
  // group (below its title).
  void Inside(const ui::Control& control, QWidget* w) {
    QWidget* parent = w->parentWidget();
    QRect area = parent->rect();
    if (auto* group = qobject_cast<QGroupBox*>(parent);
        group != nullptr && !group->title().isEmpty())
      area.setTop(TitleRect(group).bottom() + 1);
    const QRect r = w->geometry();
    const int out = std::max({area.left() - r.left(), area.top() - r.top(),
                              r.right() - area.right(), r.bottom() - area.bottom()});
    if (out > 0)
      Fault(control, "lies " + std::to_string(out) + " px outside its parent (" +
                         std::to_string(r.x()) + "," + std::to_string(r.y()) + " " +
                         SizeText(r.size()) + " on " + std::to_string(area.x()) + "," +
                         std::to_string(area.y()) + " " + SizeText(area.size()) + ")");
  }

  static QRect TitleRect(QGroupBox* group) {
    QStyleOptionGroupBox opt;
    opt.initFrom(group);
    opt.text = group->title();
    opt.lineWidth = 1;
    opt.midLineWidth = 0;
    opt.textAlignment = group->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return group->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel,
                                          group);
  }

  // A check box's or radio button's text beside its indicator.
  void ButtonText(const ui::Control& control, QAbstractButton* button, bool radio) {
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    QStyle* style = button->style();
    const QFontMetrics fm(button->font());
    if (button->text().isEmpty()) {
      const QRect mark = style->subElementRect(
          radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opt, button);
      Needs(control, QStringLiteral("(box)"), mark.size(), button->size());
      return;
    }
    const QRect room = style->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &opt, button);
    const QSize need = fm.size(Qt::TextShowMnemonic, button->text());
    Needs(control, button->text(), need, QSize(room.width(), button->height()));
    textEnds_[button] = room.left() + need.width();
  }

  void Caption(const ui::Control& control, QWidget* w) {
    const QFontMetrics fm(w->font());
    if (auto* label = qobject_cast<QLabel*>(w)) {
      if (label->text().isEmpty()) return;
      const QRect room = label->contentsRect();
      const QSize need = label->wordWrap() ? fm.boundingRect(QRect(0, 0, room.width(), INT_MAX / 2),
                                                             Qt::TextWordWrap, label->text())
                                                 .size()
                                           : fm.size(0, label->text());
      Needs(control, label->text(), need, room.size());
      if (!label->wordWrap() && !label->text().contains('\n') &&
          (label->alignment() & Qt::AlignLeft) != 0)
        textEnds_[w] = room.left() + need.width();
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
      ButtonText(control, check, false);
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      ButtonText(control, radio, true);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      QStyleOptionButton opt;
      opt.initFrom(button);
      opt.text = button->text();
      const QRect room =
          button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
      Needs(control, button->text(), fm.size(Qt::TextShowMnemonic, button->text()), room.size());
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
      if (!group->title().isEmpty()) {
        const QRect title = TitleRect(group);
        Needs(control, group->title(), QSize(title.right() + 1, title.height()), group->size());
      }
      // A radio group's items, laid out by the box.
      if (dynamic_cast<const ui::RadioGroup*>(&control) != nullptr) {
        const QSize least = group->minimumSizeHint();
        if (least.height() > group->height())
          Fault(control, "its items need " + std::to_string(least.height()) +
                             " px of height, has " + std::to_string(group->height()));
        for (QRadioButton* item : group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
          if (item->isVisible()) ButtonText(control, item, true);
      }
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
      const int need = tabs->tabBar()->sizeHint().width();
      if (need > tabs->width())
        Fault(control, "its tabs are " + std::to_string(need - tabs->width()) +
                           " px too wide (need " + std::to_string(need) + ", has " +
                           std::to_string(tabs->width()) + ")");
    }
  }

  std::string window_;
  std::string language_;
  std::set<std::string>& faults_;
  // Where the one-line, left-aligned captions end, from their widget's left edge.
  std::map<QWidget*, int> textEnds_;
};

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

qtui::QtFormView* ViewOf(ui::Form& form) {
  return dynamic_cast<qtui::QtFormView*>(form.View());
}

// The program with a view for each window, started, at the expert level with the terminal
// shown: the level at which the windows show the most.
class DesktopWindows : public ::testing::Test {
 protected:
  DesktopWindows() : oldFont(QApplication::font()), program(TestEnv()) {
    QApplication::setFont(qtui::ProgramFont());
    for (ui::Form* form : program.App().Forms())
      views.push_back(std::make_unique<qtui::QtFormView>(*form));
    program.Start();
    for (int i = 0; i < 500 && !program.Main().startedUp; ++i)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    TFormOptions& options = program.FormOptions();
    options.RGroupExpLevel->SetItemIndex(TFormOptions::Expert);
    options.RGroupTerminal->SetItemIndex(1);
    Settle();
  }
  ~DesktopWindows() override {
    int answer = 0;
    program.Main().shutdownHook(TFormMain::SessionMessage::End, answer);
    views.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::setFont(oldFont);
  }

  void SetLanguage(const std::string& name) {
    program.Main().VQelLanguage1->SetCurrLanguage(name);
    Settle();
  }

  // A window other than the main one, shown without blocking, measured and hidden again.
  void Measure(ui::Form& form, const std::string& language, std::set<std::string>& faults) {
    form.Show();
    Settle();
    qtui::QtFormView* view = ViewOf(form);
    ASSERT_NE(view, nullptr) << form.Name();
    FitCheck(form.Name(), language, faults).Tree(*view, form);
    form.Hide();
    Settle();
  }

  QFont oldFont;
  qtui::QtLoop loop;
  Program program;
  std::vector<std::unique_ptr<qtui::QtFormView>> views;
};

TEST_F(DesktopWindows, EveryCaptionFitsAndNoControlOverlapsAnotherInBothLanguages) {
  TFormMain& m = program.Main();
  ASSERT_TRUE(m.startedUp);
  ASSERT_TRUE(m.VQelTerminal1->DockSheet() != nullptr && m.VQelTerminal1->DockSheet()->TabVisible())
      << "the terminal should be docked and shown at the expert level";
  std::set<std::string> faults;
  const struct {
    const char* code;
    std::string name;
  } languages[] = {{"cs", Win1250("Česky")}, {"en", "English"}};
  for (const auto& language : languages) {
    SetLanguage(language.name);
    // The main window, page by page (the terminal's page among them).
    qtui::QtFormView* main = ViewOf(m);
    ASSERT_NE(main, nullptr);
    int pages = 0;
    for (ui::TabSheet* page : m.PageControl1->Pages()) {
      if (!page->TabVisible()) continue;
      m.PageControl1->SetActivePage(page);
      Settle();
      const std::string name = page->Name().empty() ? std::string("terminal page") : page->Name();
      FitCheck("FormMain/" + name, language.code, faults).Tree(*main, m);
      ++pages;
    }
    EXPECT_GE(pages, 5);
    m.PageControl1->SetActivePage(m.SheetGeneral);
    for (ui::Form* form :
         std::vector<ui::Form*>{&program.FormOptions(), &program.FormAbout(), &program.FormAnaIn(),
                                &program.FormProgress(), &program.FormCompare()})
      Measure(*form, language.code, faults);
    // The terminal floating in a window of its own.
    m.VQelTerminal1->SetDocked(false);
    Settle();
    ui::Form* terminal = m.VQelTerminal1->TermForm();
    ASSERT_NE(ViewOf(*terminal), nullptr);
    FitCheck("terminal window", language.code, faults).Tree(*ViewOf(*terminal), *terminal);
    m.VQelTerminal1->SetDocked(true);
    Settle();
  }
  std::string all;
  for (const std::string& f : faults) all += "\n  " + f;
  EXPECT_TRUE(faults.empty()) << faults.size() << " controls do not fit:" << all;
}

// Dialogs open centred over the main window wherever it is, as their position says; windows of a
// fixed size keep it.
TEST_F(DesktopWindows, DialogsOpenOverTheMainWindowAndFixedWindowsKeepTheirSize) {
  TFormMain& m = program.Main();
  ASSERT_TRUE(m.startedUp);
  m.SetBounds(300, 180, m.Width(), m.Height());
  Settle();
  QWidget* main = ViewOf(m)->Window();
  const QPoint centre = main->frameGeometry().center();
  for (ui::Form* form :
       std::vector<ui::Form*>{&program.FormOptions(), &program.FormAbout(), &program.FormAnaIn(),
                              &program.FormProgress(), &program.FormCompare()}) {
    EXPECT_EQ(form->Position(), ui::FormPosition::MainFormCenter) << form->Name();
    form->Show();
    Settle();
    QWidget* window = ViewOf(*form)->Window();
    const QPoint offset = window->frameGeometry().center() - centre;
    EXPECT_LE(offset.manhattanLength(), 4)
        << form->Name() << " opens at " << window->x() << "," << window->y() << ", its centre "
        << offset.x() << "," << offset.y() << " px from the main window's";
    form->Hide();
    Settle();
  }

  m.VQelTerminal1->SetDocked(false);
  Settle();
  std::vector<ui::Form*> all = program.App().Forms();
  all.push_back(m.VQelTerminal1->TermForm());
  int fixed = 0;
  for (ui::Form* form : all) {
    qtui::QtFormView* view = ViewOf(*form);
    if (view == nullptr) continue;
    QWidget* window = view->Window();
    const bool maximise = window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
    const bool pinned = window->minimumSize() == window->maximumSize();
    if (form->Sizeable()) {
      EXPECT_FALSE(pinned) << form->Name() << " is sizeable";
      EXPECT_TRUE(maximise) << form->Name() << " is sizeable";
      continue;
    }
    ++fixed;
    EXPECT_TRUE(pinned) << form->Name() << " can be resized: " << SizeText(window->minimumSize())
                        << " to " << SizeText(window->maximumSize());
    EXPECT_FALSE(maximise) << form->Name() << " offers to maximise";
  }
  EXPECT_GE(fixed, 4);
  m.VQelTerminal1->SetDocked(true);
}

}  // namespace
