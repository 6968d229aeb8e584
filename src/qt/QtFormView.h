#pragma once
// One form of the control model shown as a top-level Qt window. The view gives every control on
// the form (also controls placed later) the binding of its kind (qt/Binding.h), which makes its
// widget, mirrors every change of the model into it, and turns what the user does with it into
// the model's "user did" calls. The view keeps the tree of bindings, the window with its menu
// bar, the focus and the order of the user's actions. The model stays the only place where state
// and behaviour live: after each user action the widget shows whatever the model made of it.
//
// Lifetime: create the view for a form after the form exists; the view attaches itself
// (Form::SetView). Either may be destroyed first. A view destroyed before its form detaches
// itself; a form destroyed before its view leaves the view inert (its window hidden) until the
// view is destroyed. Destroy views before the QApplication.

#include <QObject>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/Ref.h"

class QAction;
class QKeyEvent;
class QMenuBar;
class QVBoxLayout;
class QWidget;

namespace ui {
class Form;
class MenuItem;
}  // namespace ui

namespace qtui {

class Binding;

// A QObject so that the queued work and the connections made for the view name it as their
// context: Qt drops them once the view is gone.
class QtFormView : public QObject, public ui::FormView {
 public:
  explicit QtFormView(ui::Form& form);
  ~QtFormView() override;
  QtFormView(const QtFormView&) = delete;
  QtFormView& operator=(const QtFormView&) = delete;

  // The form shown, or null once it was destroyed.
  ui::Form* GetForm() const { return form_.get(); }
  // The top-level window.
  QWidget* Window() const { return window_; }
  // The widget that shows a control (for a tab sheet, its page), or null.
  QWidget* WidgetOf(const ui::Control& control) const;
  QMenuBar* MenuBar() const { return menuBar_; }

  // Shows the window application-modal (QtLoop::ShowModal).
  void ShowModalWindow();

  void ControlAdded(ui::Control& control) override;
  void ControlRemoved(ui::Control& control) override;
  void ControlChanged(ui::Control& control, ui::Prop what) override;
  void ComponentChanged(ui::Component& component, ui::Prop what) override;

 private:
  class Filter;
  class TopWindow;
  friend class Binding;  // the kinds reach the view through it

  // Set while the view writes into widgets: what the widgets signal then is not the user.
  struct SyncScope {
    explicit SyncScope(QtFormView& v) : view(v) { ++view.syncing_; }
    ~SyncScope() { --view.syncing_; }
    QtFormView& view;
  };

  // Building and tearing down widgets.
  void AddTree(ui::Control& control);
  void RemoveTree(ui::Control& control);
  void WatchInput(QWidget* widget, ui::Control* control);
  void DropWidget(QWidget* widget);
  // A window docked here floats (the terminal's "Free window"): it gets a top-level view of its
  // own for as long as it floats; docked again, it is shown in place here once more.
  void FloatForm(ui::Form& form);
  void DockFloating(ui::Form& form);
  void FormGone();
  Binding* Find(const ui::Control* control) const;

  // Model -> widgets.
  void ApplyForm(ui::Prop what);
  void ApplyFormBounds();
  void ApplyFormVisible();
  void ApplyFocus();
  void RebuildMenu();
  void ApplyMenuItem(const ui::MenuItem& item, QAction& action);
  void ScheduleMenuRebuild();

  // Widgets -> model.
  void Act(QObject* source, const std::function<void(ui::Control&)>& action);
  void Resync(QObject* source, const std::vector<ui::Prop>& held);
  void PushSelection(Binding& binding);
  void SelectionMoved(QObject* source);
  // A key pressed in a widget: true when the model took it and the widget must not see it.
  bool KeyPressed(QObject* source, const QKeyEvent& event);
  void Focused(QObject* source);
  void MenuClicked(ui::MenuItem* item);
  // The control's context menu, built from the model's popup items where the user asked for it.
  void ShowPopup(ui::Control& control);
  void WindowClosing();
  void WindowGeometryChanged();
  void WindowStateChanged();
  // The model's positions are the frame's. Before a window is first mapped its frame is not
  // known and Qt places the client area there instead; once the window manager has framed it,
  // the frame is put where the model wants it.
  void PlaceFrame();

  // The model's window sizes are outer sizes (ui::Form::ClientWidth). The Qt window gets the
  // client area they leave, plus whatever more room Qt's own menu bar needs, so every control
  // laid out for that client area stays visible.
  static constexpr int kFrameWidth = ui::Form::kFrameWidth;
  static constexpr int kFrameHeight = ui::Form::kFrameHeight;
  static constexpr int kMenuHeight = ui::Form::kMenuHeight;
  // Window decorations as the model's border style asks for them.
  void ApplyBorder();
  // Height difference between the model's outer size and the Qt window.
  int FrameHeight() const;

  ui::Ref<ui::Form> form_;  // null once the form is destroyed
  std::unique_ptr<Filter> filter_;
  QWidget* window_ = nullptr;
  QVBoxLayout* layout_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  std::unordered_map<const ui::Control*, std::unique_ptr<Binding>> bindings_;
  // Every widget (and inner widget) that reports user actions, with its control.
  std::unordered_map<const QObject*, ui::Control*> owners_;
  int syncing_ = 0;
  int userDepth_ = 0;
  ui::Control* acting_ = nullptr;
  std::vector<ui::Prop> held_;  // changes of acting_ shown after the action
  ui::Control* pushing_ = nullptr;
  bool menuPending_ = false;
  std::unordered_map<const ui::MenuItem*, QAction*> menuActions_;  // of the current bar
  bool focusPending_ = false;
  bool framePending_ = false;  // shown, not yet painted: PlaceFrame follows the first frame
  std::unordered_map<const ui::Form*, std::unique_ptr<QtFormView>> floating_;
};

}  // namespace qtui
