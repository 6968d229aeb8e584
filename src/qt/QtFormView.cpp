#include "qt/QtFormView.h"

#include "components/VQelTerminalView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/FormWatch.h"
#include "qt/QtComboBox.h"
#include "qt/QtText.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace qtui {

namespace {

bool OwnsDeep(const ui::Component& owner, const ui::Component* item) {
  for (const ui::Component* c : owner.Components()) {
    if (c == item || OwnsDeep(*c, item)) return true;
  }
  return false;
}

// Positions in a multi-line text: the model counts CR LF as two bytes, Qt a line break as one
// character. A document position plus the number of line breaks before it is the model's.
int MemoModelOffset(const QPlainTextEdit& memo, int position) {
  return position + memo.document()->findBlock(position).blockNumber();
}

}  // namespace

// Focus and the keys the model handles itself, for every widget that can take the focus.
class QtFormView::Filter : public QObject {
 public:
  explicit Filter(Guard guard) : guard_(std::move(guard)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    QtFormView* view = *guard_;
    if (view == nullptr) return false;
    switch (event->type()) {
      case QEvent::FocusIn:
        view->Focused(watched);
        return false;
      case QEvent::KeyPress: {
        return view->KeyPressed(watched, *static_cast<QKeyEvent*>(event));
      }
      default:
        return false;
    }
  }

 private:
  Guard guard_;
};

// The top-level window: its close button, moves, resizes and state changes go to the model.
class QtFormView::TopWindow : public QWidget {
 public:
  explicit TopWindow(Guard guard) : guard_(std::move(guard)) {}

 protected:
  bool event(QEvent* event) override {
    // By the first frame the window manager has framed the window: its frame is known now.
    if (event->type() == QEvent::Paint) {
      if (QtFormView* view = *guard_; view != nullptr && view->framePending_) {
        view->framePending_ = false;
        QTimer::singleShot(0, this, [guard = guard_] {
          if (QtFormView* v = *guard) v->PlaceFrame();
        });
      }
    }
    return QWidget::event(event);
  }
  void closeEvent(QCloseEvent* event) override {
    // The model decides whether and how the window closes; it hides the window through the view.
    event->ignore();
    if (QtFormView* view = *guard_) view->WindowClosing();
  }
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    if (QtFormView* view = *guard_) view->WindowGeometryChanged();
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (QtFormView* view = *guard_) view->WindowGeometryChanged();
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
      if (QtFormView* view = *guard_) view->WindowStateChanged();
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
      if (QtFormView* view = *guard_; view != nullptr && view->form_ != nullptr)
        view->form_->BringToFront();
    }
  }

 private:
  Guard guard_;
};

// ---- widgets -> model: every user action goes through here ----

template <class F>
void QtFormView::Act(QObject* source, F&& action) {
  if (syncing_ > 0 || form_ == nullptr) return;
  auto it = owners_.find(source);
  if (it == owners_.end()) return;
  ui::Control* control = it->second;
  const Guard guard = guard_;  // the action may destroy this view
  ui::Control* outerActing = acting_;
  std::vector<ui::Prop> outerHeld = std::move(held_);
  held_.clear();
  acting_ = control;
  ++userDepth_;
  action(*control);
  if (*guard == nullptr) return;
  --userDepth_;
  std::vector<ui::Prop> held = std::move(held_);
  acting_ = outerActing;
  held_ = std::move(outerHeld);
  Resync(source, held);
}

// ---- lifetime ----

QtFormView::QtFormView(ui::Form& form)
    : form_(&form),
      guard_(std::make_shared<QtFormView*>(this)),
      filter_(std::make_unique<Filter>(guard_)) {
  SyncScope sync(*this);
  window_ = new TopWindow(guard_);
  window_->setObjectName(ToQt(form.Name()));
  layout_ = new QVBoxLayout(window_);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  client_ = new QWidget;
  layout_->addWidget(client_, 1);
  owners_[window_] = form_;

  watch_ = new FormWatch(form_, [guard = guard_] {
    if (QtFormView* view = *guard) view->FormGone();
  });
  form.SetView(this);

  ApplyBorder();
  RebuildMenu();
  ApplyForm(ui::Prop::Text);
  ApplyForm(ui::Prop::Enabled);
  ApplyForm(ui::Prop::Color);
  ApplyFormBounds();
  for (ui::Control* child : form.Children()) AddTree(*child);
  ApplyFormVisible();
  ApplyFocus();
}

QtFormView::~QtFormView() {
  *guard_ = nullptr;  // widgets that outlive this call find no view
  ++syncing_;
  if (form_ != nullptr) {
    if (form_->View() == this) form_->SetView(nullptr);
    watch_->Disarm();
    delete watch_;
  }
  if (userDepth_ > 0) {
    // Destroyed from inside one of our widgets' signals: the widget must outlive the emission.
    window_->hide();
    window_->deleteLater();
  } else {
    delete window_;
  }
}

void QtFormView::FormGone() {
  form_ = nullptr;
  watch_ = nullptr;
  entries_.clear();
  owners_.clear();
  SyncScope sync(*this);
  window_->hide();
}

QWidget* QtFormView::WidgetOf(const ui::Control& control) const {
  auto it = entries_.find(&control);
  return it == entries_.end() ? nullptr : it->second.widget;
}

QtFormView::Entry* QtFormView::Find(const ui::Control* control) {
  auto it = entries_.find(control);
  return it == entries_.end() ? nullptr : &it->second;
}

QTabWidget* QtFormView::TabsOf(const Entry& sheet) {
  if (sheet.kind != Kind::Sheet) return nullptr;
  Entry* pages = Find(sheet.control->Parent());
  return pages != nullptr && pages->kind == Kind::Pages ? static_cast<QTabWidget*>(pages->widget)
                                                        : nullptr;
}

void QtFormView::ShowModalWindow() {
  if (form_ == nullptr) return;
  SyncScope sync(*this);
  if (window_->windowModality() != Qt::ApplicationModal) {
    // Modality only takes effect when the window is shown.
    window_->hide();
    window_->setWindowModality(Qt::ApplicationModal);
  }
  ApplyFormVisible();
  window_->raise();
  window_->activateWindow();
}

// ---- building ----

void QtFormView::ControlAdded(ui::Control& control) {
  if (form_ == nullptr) return;
  SyncScope sync(*this);
  AddTree(control);
}

void QtFormView::ControlRemoved(ui::Control& control) {
  if (form_ == nullptr) return;
  SyncScope sync(*this);
  // Called from the control's destructor too: only what Control itself holds may be read (a
  // form being destroyed no longer casts to one).
  auto* floated = dynamic_cast<ui::Form*>(&control);
  const bool shownHere = floated != nullptr && Find(&control) != nullptr;
  RemoveTree(control);
  if (shownHere && floated->HostDockSite() == nullptr) FloatForm(*floated);
}

void QtFormView::FloatForm(ui::Form& form) {
  if (form.View() != nullptr) return;
  floating_[&form] = std::make_unique<QtFormView>(form);
}

void QtFormView::DockFloating(ui::Form& form) {
  auto it = floating_.find(&form);
  if (it == floating_.end()) return;
  std::unique_ptr<QtFormView> view = std::move(it->second);
  floating_.erase(it);
  // A stale entry (a form gone meanwhile, another in its place) has nothing to give back.
  if (view->GetForm() != &form) return;
  // Docking usually starts in the floating window's own close event: the window goes once that
  // event is over, the form is shown here at once.
  form.SetView(nullptr);
  view->window_->hide();
  QTimer::singleShot(0, [gone = view.release()] { delete gone; });
}

void QtFormView::AddTree(ui::Control& control) {
  // A form docked here with a view of its own keeps its own window; one without is shown in
  // place, as a container on its dock site.
  if (auto* docked = dynamic_cast<ui::Form*>(&control); docked != nullptr) {
    if (docked->HostDockSite() != nullptr) DockFloating(*docked);
    if (docked->HostDockSite() == nullptr || docked->View() != nullptr) return;
  }
  QWidget* container = nullptr;
  Entry* parentEntry = nullptr;
  if (control.Parent() == form_) {
    container = client_;
  } else if ((parentEntry = Find(control.Parent())) != nullptr) {
    container = parentEntry->widget;
  } else {
    return;  // not on this form
  }
  if (Find(&control) != nullptr) RemoveTree(control);

  Entry entry;
  entry.control = &control;
  if (dynamic_cast<ui::TabSheet*>(&control))
    entry.kind = Kind::Sheet;
  else if (dynamic_cast<ui::PageControl*>(&control))
    entry.kind = Kind::Pages;
  else if (dynamic_cast<ui::Memo*>(&control))
    entry.kind = Kind::Memo;
  else if (dynamic_cast<ui::Edit*>(&control))
    entry.kind = Kind::Edit;
  else if (dynamic_cast<ui::ComboBox*>(&control))
    entry.kind = Kind::Combo;
  else if (dynamic_cast<ui::CheckBox*>(&control))
    entry.kind = Kind::Check;
  else if (dynamic_cast<ui::RadioButton*>(&control))
    entry.kind = Kind::Radio;
  else if (dynamic_cast<ui::RadioGroup*>(&control))
    entry.kind = Kind::RadioGroup;
  else if (dynamic_cast<ui::GroupBox*>(&control))
    entry.kind = Kind::Group;
  else if (dynamic_cast<ui::Panel*>(&control))
    entry.kind = Kind::Panel;
  else if (dynamic_cast<ui::Button*>(&control))
    entry.kind = Kind::Button;
  else if (dynamic_cast<ui::Shape*>(&control))
    entry.kind = Kind::Shape;
  else if (dynamic_cast<ui::Gauge*>(&control))
    entry.kind = Kind::Gauge;
  else if (dynamic_cast<ui::Label*>(&control))
    entry.kind = Kind::Label;
  else if (dynamic_cast<TerminalLines*>(&control))
    entry.kind = Kind::History;

  // A sheet on a page control is a page of the tab widget; anywhere else a plain container.
  if (entry.kind == Kind::Sheet && (parentEntry == nullptr || parentEntry->kind != Kind::Pages))
    entry.kind = Kind::Other;

  Entry& stored = entries_[&control] = std::move(entry);
  CreateWidget(stored, container);
  owners_[stored.widget] = &control;
  if (control.PopupMenu() != nullptr) {
    stored.widget->setContextMenuPolicy(Qt::CustomContextMenu);
    const Guard guard = guard_;
    ui::Control* target = &control;
    // The connection ends with the widget, which goes when the control does.
    QObject::connect(stored.widget, &QWidget::customContextMenuRequested, stored.widget,
                     [guard, target](const QPoint&) {
                       if (QtFormView* v = *guard) v->ShowPopup(*target);
                     });
  }
  Connect(stored);
  ApplyAll(stored);
  if (stored.kind == Kind::Sheet) ApplyPageOrder(*parentEntry);

  for (ui::Control* child : control.Children()) AddTree(*child);
}

void QtFormView::WatchInput(QWidget* widget, ui::Control* control) {
  owners_[widget] = control;
  widget->installEventFilter(filter_.get());
}

void QtFormView::Connect(Entry& entry) {
  QWidget* w = entry.widget;
  const Guard guard = guard_;
  switch (entry.kind) {
    case Kind::Edit: {
      auto* edit = static_cast<QLineEdit*>(w);
      WatchInput(edit, entry.control);
      QObject::connect(edit, &QLineEdit::textEdited, edit, [guard, edit](const QString& text) {
        if (QtFormView* v = *guard)
          v->Act(edit,
                 [&text](ui::Control& c) { static_cast<ui::Edit&>(c).UserSetText(FromQt(text)); });
      });
      const auto selection = [guard, edit] {
        if (QtFormView* v = *guard) v->SelectionMoved(edit);
      };
      QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, selection);
      QObject::connect(edit, &QLineEdit::selectionChanged, edit, selection);
      break;
    }
    case Kind::Memo: {
      auto* memo = static_cast<QPlainTextEdit*>(w);
      WatchInput(memo, entry.control);
      QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [guard, memo] {
        if (QtFormView* v = *guard)
          v->Act(memo, [memo](ui::Control& c) {
            static_cast<ui::Edit&>(c).UserSetText(LinesFromQt(memo->toPlainText()));
          });
      });
      const auto selection = [guard, memo] {
        if (QtFormView* v = *guard) v->SelectionMoved(memo);
      };
      QObject::connect(memo, &QPlainTextEdit::cursorPositionChanged, memo, selection);
      QObject::connect(memo, &QPlainTextEdit::selectionChanged, memo, selection);
      break;
    }
    case Kind::Combo: {
      auto* combo = static_cast<QComboBox*>(w);
      WatchInput(combo, entry.control);
      QObject::connect(combo, &QComboBox::activated, combo, [guard, combo](int index) {
        if (QtFormView* v = *guard)
          v->Act(combo,
                 [index](ui::Control& c) { static_cast<ui::ComboBox&>(c).UserSelect(index); });
      });
      static_cast<QtComboBox*>(combo)->beforePopup = [guard, combo] {
        if (QtFormView* v = *guard)
          v->Act(combo, [](ui::Control& c) { static_cast<ui::ComboBox&>(c).UserDropDown(); });
      };
      break;
    }
    case Kind::Check:
    case Kind::Radio:
    case Kind::Button: {
      auto* button = static_cast<QAbstractButton*>(w);
      WatchInput(button, entry.control);
      QObject::connect(button, &QAbstractButton::clicked, button, [guard, button] {
        if (QtFormView* v = *guard) v->Act(button, [](ui::Control& c) { c.UserClick(); });
      });
      break;
    }
    case Kind::History:
      // Read-only, but it takes the focus, and its window may want the keys typed there.
      WatchInput(w, entry.control);
      break;
    case Kind::Pages: {
      auto* tabs = static_cast<QTabWidget*>(w);
      QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [guard, tabs](int index) {
        QtFormView* v = *guard;
        if (v == nullptr || v->syncing_ > 0) return;
        auto it = v->owners_.find(tabs->widget(index));
        if (it == v->owners_.end()) return;
        auto* sheet = dynamic_cast<ui::TabSheet*>(it->second);
        v->Act(tabs,
               [sheet](ui::Control& c) { static_cast<ui::PageControl&>(c).UserSelectPage(sheet); });
      });
      break;
    }
    default:
      break;
  }
}

void QtFormView::WireComboEdit(Entry& entry) {
  auto* combo = static_cast<QComboBox*>(entry.widget);
  QLineEdit* edit = combo->lineEdit();
  if (edit == nullptr || owners_.count(edit) > 0) return;
  combo->setCompleter(nullptr);  // no completion behind the model's back
  WatchInput(edit, entry.control);
  const Guard guard = guard_;
  // Typing only: a pick from the list arrives as activated().
  QObject::connect(edit, &QLineEdit::textEdited, edit, [guard, combo](const QString& text) {
    if (QtFormView* v = *guard)
      v->Act(combo,
             [&text](ui::Control& c) { static_cast<ui::ComboBox&>(c).UserSetText(FromQt(text)); });
  });
}

void QtFormView::RebuildRadios(Entry& entry) {
  auto& group = static_cast<ui::RadioGroup&>(*entry.control);
  auto* box = static_cast<QGroupBox*>(entry.widget);
  auto* grid = static_cast<QGridLayout*>(box->layout());
  for (QRadioButton* radio : entry.radios) {
    owners_.erase(radio);
    DropWidget(radio);
  }
  entry.radios.clear();
  const int count = static_cast<int>(group.Items().size());
  const int columns = std::max(1, group.Columns());
  const int rows = std::max(1, (count + columns - 1) / columns);
  const Guard guard = guard_;
  for (int i = 0; i < count; ++i) {
    auto* radio = new QRadioButton(ToQt(group.Items()[i]), box);
    radio->setAutoExclusive(false);
    grid->addWidget(radio, i % rows, i / rows);  // column by column, as the platform fills them
    WatchInput(radio, &group);
    QObject::connect(radio, &QAbstractButton::clicked, radio, [guard, box, i] {
      if (QtFormView* v = *guard)
        v->Act(box, [i](ui::Control& c) { static_cast<ui::RadioGroup&>(c).UserSelect(i); });
    });
    entry.radios.push_back(radio);
  }
}

void QtFormView::RemoveTree(ui::Control& control) {
  auto it = entries_.find(&control);
  if (it == entries_.end()) return;
  // Children still placed here go with the widget they sit on.
  for (ui::Control* child : control.Children()) RemoveTree(*child);
  it = entries_.find(&control);
  if (it == entries_.end()) return;
  Entry entry = std::move(it->second);
  entries_.erase(it);
  for (auto o = owners_.begin(); o != owners_.end();) {
    if (o->second == &control)
      o = owners_.erase(o);
    else
      ++o;
  }
  if (entry.kind == Kind::Sheet) {
    if (QTabWidget* tabs = TabsOf(entry)) {
      const int index = tabs->indexOf(entry.widget);
      if (index >= 0) tabs->removeTab(index);
    }
  }
  DropWidget(entry.widget);
}

void QtFormView::DropWidget(QWidget* widget) {
  widget->hide();
  // Inside a user action the widget may be the one whose signal is still running.
  if (userDepth_ > 0)
    widget->deleteLater();
  else
    delete widget;
}

void QtFormView::MenuClicked(ui::MenuItem* item) {
  // Menu items tell nobody when they are destroyed: only click one that is still there.
  if (form_ == nullptr || syncing_ > 0 || !OwnsDeep(*form_, item)) return;
  const Guard guard = guard_;
  ++userDepth_;
  item->UserClick();
  if (*guard == nullptr) return;
  // Qt toggled a checkable action by itself; show the model's state again.
  if (form_ != nullptr) ScheduleMenuRebuild();
  --userDepth_;
}

// ---- widgets -> model ----

void QtFormView::Resync(QObject* source, const std::vector<ui::Prop>& held) {
  if (form_ == nullptr) return;
  auto it = owners_.find(source);
  if (it == owners_.end()) return;  // removed by the action
  Entry* entry = Find(it->second);
  if (entry == nullptr) return;
  const auto wasHeld = [&held](ui::Prop p) {
    return std::find(held.begin(), held.end(), p) != held.end();
  };
  bool rewritten = false;
  {
    SyncScope sync(*this);
    if (entry->kind == Kind::Edit)
      rewritten = static_cast<QLineEdit*>(entry->widget)->text() != ToQt(entry->control->Text());
    if (entry->kind == Kind::Memo)
      rewritten = static_cast<QPlainTextEdit*>(entry->widget)->toPlainText() !=
                  LinesToQt(entry->control->Text());
    for (ui::Prop p : held) {
      if (p != ui::Prop::Text && p != ui::Prop::Selection) Apply(*entry, p);
    }
    // Whatever the user did, the widget shows what the model holds now.
    ApplyText(*entry);
    ApplyItemIndex(*entry);
    ApplyState(*entry);
    ApplyActivePage(*entry);
    if (rewritten || wasHeld(ui::Prop::Selection)) ApplySelection(*entry);
  }
  // Otherwise the caret the user sees is the one to keep.
  if (!rewritten && !wasHeld(ui::Prop::Selection)) PushSelection(*entry);
}

void QtFormView::PushSelection(Entry& entry) {
  int start = 0;
  int length = 0;
  if (entry.kind == Kind::Edit) {
    auto* edit = static_cast<QLineEdit*>(entry.widget);
    if (edit->hasSelectedText()) {
      start = edit->selectionStart();
      length = edit->selectionLength();
    } else {
      start = edit->cursorPosition();
    }
  } else if (entry.kind == Kind::Memo) {
    auto* memo = static_cast<QPlainTextEdit*>(entry.widget);
    const QTextCursor caret = memo->textCursor();
    start = MemoModelOffset(*memo, caret.selectionStart());
    length = MemoModelOffset(*memo, caret.selectionEnd()) - start;
  } else {
    return;
  }
  auto& model = static_cast<ui::Edit&>(*entry.control);
  if (model.SelStart() == start && model.SelLength() == length) return;
  ui::Control* outer = pushing_;
  pushing_ = entry.control;
  model.SetSelStart(start);
  model.SetSelLength(length);
  pushing_ = outer;
}

void QtFormView::SelectionMoved(QObject* source) {
  if (syncing_ > 0 || form_ == nullptr) return;
  auto it = owners_.find(source);
  if (it == owners_.end()) return;
  if (Entry* entry = Find(it->second)) PushSelection(*entry);
}

bool QtFormView::KeyPressed(QObject* source, const QKeyEvent& event) {
  if (syncing_ > 0 || form_ == nullptr) return false;
  auto it = owners_.find(source);
  if (it == owners_.end()) return false;
  const int key = event.key();
  const Qt::KeyboardModifiers mods = event.modifiers();
  const bool ctrl = (mods & Qt::ControlModifier) != 0;
  const bool alt = (mods & Qt::AltModifier) != 0;
  // Enter and Escape are the model's own keys (editors accept and revert, dialogs close).
  char ch = 0;
  if (!ctrl && !alt && (key == Qt::Key_Return || key == Qt::Key_Enter))
    ch = '\r';
  else if (!ctrl && !alt && key == Qt::Key_Escape)
    ch = 0x1B;
  if (ch != 0) {
    // The model applies what gets past its key handlers at its own caret: bring it to the
    // widget's first.
    if (Entry* entry = Find(it->second)) PushSelection(*entry);
    Act(source, [ch](ui::Control& c) { c.UserKey(ch); });
    return true;
  }
  // Every other character, with what its modifiers make of it (Ctrl+Z is 26, as the model's
  // handlers know it), goes to the model's key handlers first; what they let pass is the
  // widget's to edit.
  if (ctrl && !alt && key >= Qt::Key_A && key <= Qt::Key_Z) {
    ch = static_cast<char>(key - Qt::Key_A + 1);
  } else if (!ctrl && !alt) {
    const std::string text = FromQt(event.text());
    if (text.size() != 1) return false;
    ch = text[0];
  }
  if (ch == 0 || !it->second->OnKeyPress) return false;
  if (Entry* entry = Find(it->second)) PushSelection(*entry);
  bool handled = false;
  Act(source, [ch, &handled](ui::Control& c) { handled = c.UserKeyPreview(ch); });
  return handled;
}

void QtFormView::Focused(QObject* source) {
  Act(source, [](ui::Control& c) { c.UserFocus(); });
}

void QtFormView::WindowClosing() {
  Act(window_, [](ui::Control& c) { static_cast<ui::Form&>(c).UserClose(); });
}

void QtFormView::WindowGeometryChanged() {
  if (syncing_ > 0 || form_ == nullptr || !window_->isVisible()) return;
  if (form_->State() != ui::WindowState::Normal || window_->windowState() != Qt::WindowNoState)
    return;
  const QPoint pos = window_->pos();
  const QSize size = window_->size();
  const Guard guard = guard_;
  Act(window_, [&](ui::Control& c) {
    c.SetBounds(pos.x(), pos.y(), size.width() + kFrameWidth, size.height() + FrameHeight());
  });
  // The model may have refused the size (OnCanResize).
  if (*guard == nullptr || form_ == nullptr) return;
  SyncScope sync(*this);
  ApplyFormBounds();
}

void QtFormView::PlaceFrame() {
  if (form_ == nullptr || !window_->isVisible() || form_->State() != ui::WindowState::Normal ||
      window_->windowState() != Qt::WindowNoState)
    return;
  // Without a frame (no window manager, offscreen) the window already sits where it belongs.
  const QPoint frame = window_->frameGeometry().topLeft();
  if (frame == window_->geometry().topLeft()) return;
  const ui::Rect r = form_->Bounds();
  if (frame == QPoint(r.left, r.top)) return;
  SyncScope sync(*this);
  window_->move(r.left, r.top);
}

void QtFormView::WindowStateChanged() {
  if (syncing_ > 0 || form_ == nullptr) return;
  const Qt::WindowStates qs = window_->windowState();
  const ui::WindowState state = qs.testFlag(Qt::WindowMinimized)   ? ui::WindowState::Minimized
                                : qs.testFlag(Qt::WindowMaximized) ? ui::WindowState::Maximized
                                                                   : ui::WindowState::Normal;
  if (state == form_->State()) return;
  Act(window_, [state](ui::Control& c) { static_cast<ui::Form&>(c).SetState(state); });
}

}  // namespace qtui