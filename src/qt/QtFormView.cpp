#include "qt/QtFormView.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

#include "qt/Binding.h"
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

}  // namespace

// Focus and the keys the model handles itself, for every widget that can take the focus.
class QtFormView::Filter : public QObject {
 public:
  explicit Filter(QtFormView* view) : view_(view) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    QtFormView* view = view_;
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
  QPointer<QtFormView> view_;
};

// The top-level window: its close button, moves, resizes and state changes go to the model.
class QtFormView::TopWindow : public QWidget {
 public:
  explicit TopWindow(QtFormView* view) : view_(view) {}

 protected:
  bool event(QEvent* event) override {
    // By the first frame the window manager has framed the window: its frame is known now.
    if (event->type() == QEvent::Paint) {
      if (QtFormView* view = view_; view != nullptr && view->framePending_) {
        view->framePending_ = false;
        QTimer::singleShot(0, view, [view] { view->PlaceFrame(); });
      }
    }
    return QWidget::event(event);
  }
  void closeEvent(QCloseEvent* event) override {
    // The model decides whether and how the window closes; it hides the window through the view.
    event->ignore();
    if (QtFormView* view = view_) view->WindowClosing();
  }
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    if (QtFormView* view = view_) view->WindowGeometryChanged();
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (QtFormView* view = view_) view->WindowGeometryChanged();
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
      if (QtFormView* view = view_) view->WindowStateChanged();
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
      if (QtFormView* view = view_; view != nullptr && view->form_) view->form_->BringToFront();
    }
  }

 private:
  QPointer<QtFormView> view_;  // the window may outlive it (deleted later)
};

// ---- widgets -> model: every user action goes through here ----

void QtFormView::Act(QObject* source, const std::function<void(ui::Control&)>& action) {
  if (syncing_ > 0 || !form_) return;
  auto it = owners_.find(source);
  if (it == owners_.end()) return;
  ui::Control* control = it->second;
  const QPointer<QtFormView> self(this);  // the action may destroy this view
  ui::Control* outerActing = acting_;
  std::vector<ui::Prop> outerHeld = std::move(held_);
  held_.clear();
  acting_ = control;
  ++userDepth_;
  action(*control);
  if (!self) return;
  --userDepth_;
  std::vector<ui::Prop> held = std::move(held_);
  acting_ = outerActing;
  held_ = std::move(outerHeld);
  Resync(source, held);
}

// ---- lifetime ----

QtFormView::QtFormView(ui::Form& form) : form_(&form), filter_(std::make_unique<Filter>(this)) {
  SyncScope sync(*this);
  window_ = new TopWindow(this);
  window_->setObjectName(ToQt(form.Name()));
  layout_ = new QVBoxLayout(window_);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  client_ = new QWidget;
  layout_->addWidget(client_, 1);
  owners_[window_] = &form;

  form_.OnGone([this] { FormGone(); });
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
  // What the widgets signal from here on finds no view to act on; widgets that outlive this call
  // (deleted later) and the queued work find none at all.
  ++syncing_;
  if (form_ && form_->View() == this) form_->SetView(nullptr);
  form_ = nullptr;
  if (userDepth_ > 0) {
    // Destroyed from inside one of our widgets' signals: the widget must outlive the emission.
    window_->hide();
    window_->deleteLater();
  } else {
    delete window_;
  }
}

void QtFormView::FormGone() {
  bindings_.clear();
  owners_.clear();
  SyncScope sync(*this);
  window_->hide();
}

QWidget* QtFormView::WidgetOf(const ui::Control& control) const {
  const Binding* binding = Find(&control);
  return binding == nullptr ? nullptr : binding->Widget();
}

Binding* QtFormView::Find(const ui::Control* control) const {
  auto it = bindings_.find(control);
  return it == bindings_.end() ? nullptr : it->second.get();
}

void QtFormView::ShowModalWindow() {
  if (!form_) return;
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
  if (!form_) return;
  SyncScope sync(*this);
  AddTree(control);
}

void QtFormView::ControlRemoved(ui::Control& control) {
  if (!form_) return;
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
  const Binding* parent = nullptr;
  if (control.Parent() == form_.get()) {
    container = client_;
  } else if ((parent = Find(control.Parent())) != nullptr) {
    container = parent->Widget();
  } else {
    return;  // not on this form
  }
  if (Find(&control) != nullptr) RemoveTree(control);

  Binding& binding = *(bindings_[&control] = MakeBinding(*this, control, parent));
  binding.Create(container);
  QWidget* widget = binding.Widget();
  widget->setObjectName(ToQt(control.Name()));
  if (control.CanFocus() && !control.TabStop()) widget->setFocusPolicy(Qt::ClickFocus);
  owners_[widget] = &control;
  if (control.PopupMenu() != nullptr) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    ui::Control* target = &control;
    QObject::connect(widget, &QWidget::customContextMenuRequested, this,
                     [this, target](const QPoint&) { ShowPopup(*target); });
  }
  binding.Connect();
  using ui::Prop;
  for (Prop p : {Prop::Items, Prop::Other, Prop::Text, Prop::ItemIndex, Prop::State, Prop::Hint,
                 Prop::Enabled, Prop::Visible, Prop::FontColor, Prop::Bounds, Prop::MaxLength,
                 Prop::ReadOnly, Prop::Range, Prop::TabVisible, Prop::PageOrder, Prop::ActivePage})
    binding.Apply(p);

  for (ui::Control* child : control.Children()) AddTree(*child);
}

void QtFormView::WatchInput(QWidget* widget, ui::Control* control) {
  owners_[widget] = control;
  widget->installEventFilter(filter_.get());
}

void QtFormView::RemoveTree(ui::Control& control) {
  auto it = bindings_.find(&control);
  if (it == bindings_.end()) return;
  // Children still placed here go with the widget they sit on.
  for (ui::Control* child : control.Children()) RemoveTree(*child);
  it = bindings_.find(&control);
  if (it == bindings_.end()) return;
  const std::unique_ptr<Binding> binding = std::move(it->second);
  bindings_.erase(it);
  for (auto o = owners_.begin(); o != owners_.end();) {
    if (o->second == &control)
      o = owners_.erase(o);
    else
      ++o;
  }
  binding->Removing();
  DropWidget(binding->Widget());
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
  if (!form_ || syncing_ > 0 || !OwnsDeep(*form_, item)) return;
  const QPointer<QtFormView> self(this);
  ++userDepth_;
  item->UserClick();
  if (!self) return;
  // Qt toggled a checkable action by itself; show the model's state again.
  if (form_) ScheduleMenuRebuild();
  --userDepth_;
}

// ---- widgets -> model ----

void QtFormView::Resync(QObject* source, const std::vector<ui::Prop>& held) {
  if (!form_) return;
  auto it = owners_.find(source);
  if (it == owners_.end()) return;  // removed by the action
  Binding* binding = Find(it->second);
  if (binding == nullptr) return;
  const auto wasHeld = [&held](ui::Prop p) {
    return std::find(held.begin(), held.end(), p) != held.end();
  };
  bool rewritten = false;
  {
    SyncScope sync(*this);
    rewritten = binding->Rewritten();
    for (ui::Prop p : held) {
      if (p != ui::Prop::Text && p != ui::Prop::Selection) binding->Apply(p);
    }
    // Whatever the user did, the widget shows what the model holds now.
    for (ui::Prop p : {ui::Prop::Text, ui::Prop::ItemIndex, ui::Prop::State, ui::Prop::ActivePage})
      binding->Apply(p);
    if (rewritten || wasHeld(ui::Prop::Selection)) binding->Apply(ui::Prop::Selection);
  }
  // Otherwise the caret the user sees is the one to keep.
  if (!rewritten && !wasHeld(ui::Prop::Selection)) PushSelection(*binding);
}

void QtFormView::PushSelection(Binding& binding) {
  int start = 0;
  int length = 0;
  if (!binding.WidgetSelection(start, length)) return;
  auto& model = static_cast<ui::Edit&>(binding.Control());
  if (model.SelStart() == start && model.SelLength() == length) return;
  ui::Control* outer = pushing_;
  pushing_ = &model;
  model.SetSelStart(start);
  model.SetSelLength(length);
  pushing_ = outer;
}

void QtFormView::SelectionMoved(QObject* source) {
  if (syncing_ > 0 || !form_) return;
  auto it = owners_.find(source);
  if (it == owners_.end()) return;
  if (Binding* binding = Find(it->second)) PushSelection(*binding);
}

bool QtFormView::KeyPressed(QObject* source, const QKeyEvent& event) {
  if (syncing_ > 0 || !form_) return false;
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
    if (Binding* binding = Find(it->second)) PushSelection(*binding);
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
  if (Binding* binding = Find(it->second)) PushSelection(*binding);
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
  if (syncing_ > 0 || !form_ || !window_->isVisible()) return;
  if (form_->State() != ui::WindowState::Normal || window_->windowState() != Qt::WindowNoState)
    return;
  const QPoint pos = window_->pos();
  const QSize size = window_->size();
  const QPointer<QtFormView> self(this);
  Act(window_, [&](ui::Control& c) {
    c.SetBounds(pos.x(), pos.y(), size.width() + kFrameWidth, size.height() + FrameHeight());
  });
  // The model may have refused the size (OnCanResize).
  if (!self || !form_) return;
  SyncScope sync(*this);
  ApplyFormBounds();
}

void QtFormView::PlaceFrame() {
  if (!form_ || !window_->isVisible() || form_->State() != ui::WindowState::Normal ||
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
  if (syncing_ > 0 || !form_) return;
  const Qt::WindowStates qs = window_->windowState();
  const ui::WindowState state = qs.testFlag(Qt::WindowMinimized)   ? ui::WindowState::Minimized
                                : qs.testFlag(Qt::WindowMaximized) ? ui::WindowState::Maximized
                                                                   : ui::WindowState::Normal;
  if (state == form_->State()) return;
  Act(window_, [state](ui::Control& c) { static_cast<ui::Form&>(c).SetState(state); });
}

}  // namespace qtui