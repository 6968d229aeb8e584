// The form's own window: its title, colour, border, place and size, its state, the focus, the
// menu bar and the controls' context menus; and the model's changes handed to the bindings.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/Binding.h"
#include "qt/QtFormView.h"
#include "qt/QtText.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace qtui {

// ---- model -> widgets ----

void QtFormView::ControlChanged(ui::Control& control, ui::Prop what) {
  if (!form_) return;
  if (&control == form_.get()) {
    SyncScope sync(*this);
    ApplyForm(what);
    return;
  }
  Binding* binding = Find(&control);
  if (binding == nullptr) return;
  // The widget the user is acting on is still inside its signal: it learns what the model made
  // of the action once the action is over.
  if (&control == acting_) {
    if (std::find(held_.begin(), held_.end(), what) == held_.end()) held_.push_back(what);
    return;
  }
  // The selection the widget just reported.
  if (what == ui::Prop::Selection && &control == pushing_) return;
  SyncScope sync(*this);
  binding->Apply(what);
}

void QtFormView::ComponentChanged(ui::Component& component, ui::Prop what) {
  auto* item = dynamic_cast<ui::MenuItem*>(&component);
  if (!form_ || item == nullptr) return;
  // A caption, hint or state changes its action in place (a change of language touches every
  // item); items that move, come or go rebuild the bar.
  const auto known = menuActions_.find(item);
  bool placed = known != menuActions_.end() && known->second->isSeparator() == item->IsSeparator();
  if (placed && item->ParentItem() != nullptr) {
    placed = menuActions_.count(item->ParentItem()) != 0;
  } else if (placed) {
    const std::vector<ui::MenuItem*> bar = form_->MenuBar();
    placed = std::find(bar.begin(), bar.end(), item) != bar.end();
  }
  if (placed && what != ui::Prop::PageOrder && what != ui::Prop::Other) {
    SyncScope sync(*this);
    ApplyMenuItem(*item, *known->second);
    // The bar's own height may change with its items.
    if (item->ParentItem() == nullptr) ApplyFormBounds();
    return;
  }
  ScheduleMenuRebuild();
}

void QtFormView::ApplyMenuItem(const ui::MenuItem& item, QAction& action) {
  action.setText(ToQt(item.Caption()));
  action.setEnabled(item.Enabled());
  action.setVisible(item.Visible());
  if (item.IsSeparator() || !item.Items().empty() || item.ParentItem() == nullptr) return;
  action.setCheckable(item.Checked());
  action.setChecked(item.Checked());
  action.setStatusTip(TooltipOf(item.Hint()));
  action.setShortcut(item.ShortCut().empty() ? QKeySequence()
                                             : QKeySequence(ToQt(item.ShortCut())));
}

// ---- the window ----

int QtFormView::FrameHeight() const {
  int frame = kFrameHeight;
  if (menuBar_ != nullptr && !menuBar_->isHidden())
    frame += kMenuHeight - menuBar_->sizeHint().height();
  return frame;
}

void QtFormView::ApplyForm(ui::Prop what) {
  switch (what) {
    case ui::Prop::Text:
      window_->setWindowTitle(ToQt(form_->Text()));
      break;
    case ui::Prop::Enabled:
      window_->setEnabled(form_->Enabled());
      break;
    case ui::Prop::Visible:
      ApplyFormVisible();
      break;
    case ui::Prop::Color:
      if (!ui::IsSystemColor(form_->BackColor())) {
        QPalette palette = client_->palette();
        palette.setColor(QPalette::Window, ResolveColor(form_->BackColor(), palette,
                                                        palette.color(QPalette::Window)));
        client_->setPalette(palette);
        client_->setAutoFillBackground(true);
      } else {
        client_->setPalette(QApplication::palette(client_));
        client_->setAutoFillBackground(false);
      }
      break;
    case ui::Prop::Bounds:
      ApplyFormBounds();
      break;
    case ui::Prop::WindowState:
      ApplyFormVisible();
      break;
    case ui::Prop::Focus:
      ApplyFocus();
      break;
    default:
      break;
  }
}

void QtFormView::ApplyFormBounds() {
  if (form_->State() != ui::WindowState::Normal) return;
  const ui::Rect r = form_->Bounds();
  if (r.width <= 0 || r.height <= 0) return;
  window_->move(r.left, r.top);
  const QSize size(std::max(1, r.width - kFrameWidth), std::max(1, r.height - FrameHeight()));
  if (form_->Sizeable()) {
    if (window_->maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)) {
      window_->setMinimumSize(0, 0);
      window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    window_->resize(size);
  } else {
    // A window whose border does not size keeps the size the model gives it: the user cannot
    // drag it larger into an empty frame.
    window_->setFixedSize(size);
  }
}

void QtFormView::ApplyBorder() {
  const Qt::WindowFlags fixed = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  Qt::WindowFlags flags;
  switch (form_->Border()) {
    case ui::BorderStyle::None:
      flags = Qt::Window | Qt::FramelessWindowHint;
      break;
    case ui::BorderStyle::Single:
      flags = Qt::Window | fixed | Qt::WindowMinimizeButtonHint;
      break;
    case ui::BorderStyle::Dialog:
      flags = Qt::Dialog | fixed;
      break;
    case ui::BorderStyle::ToolWindow:
      flags = Qt::Tool | fixed;
      break;
    case ui::BorderStyle::Sizeable:
      flags = Qt::Window;
      break;
    case ui::BorderStyle::SizeToolWin:
      flags = Qt::Tool;
      break;
  }
  // Changing the flags hides the window: only when they differ.
  if (window_->windowFlags() != flags) window_->setWindowFlags(flags);
}

void QtFormView::ApplyFormVisible() {
  if (!form_->Visible()) {
    window_->hide();
    return;
  }
  const Qt::WindowModality modality = form_->Modal() ? Qt::ApplicationModal : Qt::NonModal;
  if (window_->windowModality() != modality) {
    window_->hide();
    window_->setWindowModality(modality);
  }
  ApplyBorder();
  switch (form_->State()) {
    case ui::WindowState::Minimized:
      window_->showMinimized();
      break;
    case ui::WindowState::Maximized:
      window_->showMaximized();
      break;
    case ui::WindowState::Normal:
      if (window_->isMinimized() || window_->isMaximized()) window_->showNormal();
      if (!window_->isVisible()) framePending_ = true;
      ApplyFormBounds();
      window_->show();
      break;
  }
  window_->raise();
}

void QtFormView::ApplyFocus() {
  if (!form_) return;
  if (userDepth_ > 0) {
    // Not while Qt is delivering the event that led here (a focus change inside a focus
    // change); once it is over.
    if (focusPending_) return;
    focusPending_ = true;
    QTimer::singleShot(0, this, [this] {
      focusPending_ = false;
      SyncScope sync(*this);
      ApplyFocus();
    });
    return;
  }
  const Binding* binding = Find(form_->ActiveControl());
  if (binding == nullptr) return;
  QWidget* target = binding->FocusTarget();
  if (!target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
}

// ---- menu ----

void QtFormView::ScheduleMenuRebuild() {
  if (userDepth_ == 0) {
    SyncScope sync(*this);
    RebuildMenu();
    return;
  }
  // A menu command may change the menu; the QAction that is running must outlive it.
  if (menuPending_) return;
  menuPending_ = true;
  QTimer::singleShot(0, this, [this] {
    menuPending_ = false;
    if (!form_) return;
    SyncScope sync(*this);
    RebuildMenu();
  });
}

void QtFormView::RebuildMenu() {
  menuActions_.clear();
  auto* bar = new QMenuBar;
  const std::function<void(QMenu*, ui::MenuItem*)> fill = [&](QMenu* menu, ui::MenuItem* item) {
    if (item->IsSeparator()) {
      QAction* separator = menu->addSeparator();
      separator->setVisible(item->Visible());
      menuActions_[item] = separator;
      return;
    }
    QAction* action;
    if (!item->Items().empty()) {
      QMenu* sub = menu->addMenu(ToQt(item->Caption()));
      for (ui::MenuItem* child : item->Items()) fill(sub, child);
      action = sub->menuAction();
    } else {
      action = menu->addAction(ToQt(item->Caption()));
      QObject::connect(action, &QAction::triggered, this, [this, item] { MenuClicked(item); });
    }
    action->setEnabled(item->Enabled());
    action->setVisible(item->Visible());
    action->setCheckable(item->Checked());
    action->setChecked(item->Checked());
    action->setStatusTip(TooltipOf(item->Hint()));
    if (!item->ShortCut().empty()) action->setShortcut(QKeySequence(ToQt(item->ShortCut())));
    menuActions_[item] = action;
  };
  bool any = false;
  for (ui::MenuItem* item : form_->MenuBar()) {
    any = true;
    QAction* action;
    if (!item->Items().empty()) {
      QMenu* menu = bar->addMenu(ToQt(item->Caption()));
      for (ui::MenuItem* child : item->Items()) fill(menu, child);
      action = menu->menuAction();
    } else {
      action = bar->addAction(ToQt(item->Caption()));
      QObject::connect(action, &QAction::triggered, this, [this, item] { MenuClicked(item); });
    }
    action->setEnabled(item->Enabled());
    action->setVisible(item->Visible());
    menuActions_[item] = action;
  }
  QMenuBar* old = menuBar_;
  menuBar_ = bar;
  layout_->setMenuBar(bar);
  bar->setVisible(any);
  if (old != nullptr) {
    old->hide();
    old->deleteLater();
  }
  ApplyFormBounds();
}

void QtFormView::ShowPopup(ui::Control& control) {
  ui::MenuItem* popup = control.PopupMenu();
  if (popup == nullptr) return;
  QMenu menu;
  for (ui::MenuItem* item : popup->Items()) {
    if (item->IsSeparator()) {
      menu.addSeparator()->setVisible(item->Visible());
      continue;
    }
    QAction* action = menu.addAction(ToQt(item->Caption()));
    action->setEnabled(item->Enabled());
    action->setVisible(item->Visible());
    QObject::connect(action, &QAction::triggered, this, [this, item] { MenuClicked(item); });
  }
  menu.exec(QCursor::pos());
}

}  // namespace qtui
