#pragma once
// How one kind of model control is shown in Qt. A binding creates the control's widget, connects
// what the user does with it to the model's "user did" calls (through the view, which keeps
// re-entrant actions and the changes held during them in order), and shows every change of the
// model (ui::Prop) in the widget. The view holds one binding per control it shows and knows
// nothing of the kinds; MakeBinding picks the kind from the table in Binding.cpp.

#include <functional>
#include <memory>

#include "ui/Control.h"

class QLineEdit;
class QObject;
class QTabWidget;
class QWidget;

namespace qtui {

class QtFormView;

class Binding {
 public:
  Binding(QtFormView& view, ui::Control& control) : view_(view), control_(control) {}
  virtual ~Binding() = default;
  Binding(const Binding&) = delete;
  Binding& operator=(const Binding&) = delete;

  ui::Control& Control() const { return control_; }
  QWidget* Widget() const { return widget_; }

  // Makes the widget on the parent's widget (Widget() afterwards), then connects the user's
  // actions on it.
  void Create(QWidget* container) { widget_ = Make(container); }
  virtual void Connect() {}
  // Shows the model's `what` in the widget. What every widget has (hint, enabled, visible,
  // colours and font, bounds) is done here; a kind adds what is its own.
  virtual void Apply(ui::Prop what);
  // The widget is about to go.
  virtual void Removing() {}

  // The tab widget whose pages are the children (a page control), or null.
  virtual QTabWidget* Tabs() const { return nullptr; }
  // After a user action: the model changed the text the user was editing.
  virtual bool Rewritten() const { return false; }
  // The selection the widget shows, in the model's offsets; false for kinds without one.
  virtual bool WidgetSelection(int& start, int& length) const {
    (void)start, (void)length;
    return false;
  }
  // What takes the focus when the model moves it to the control.
  virtual QWidget* FocusTarget() const { return widget_; }

 protected:
  virtual QWidget* Make(QWidget* container) = 0;
  // Palette and font from the model's colours; a field (edit, memo, combo box) paints its own
  // base, anything else only a colour it was given.
  virtual void ApplyColors() { ApplyPalette(false); }
  void ApplyPalette(bool field);
  // A one-line text's selection as the model has it (a caret when nothing is selected).
  static void Select(QLineEdit& edit, int start, int length);
  // Qt's limit for the model's maximum length (0: none).
  static int QtMaxLength(int max) { return max > 0 ? max : 32767; }

  // The view's plumbing, for the kinds (the view lets only this base class in).
  // `input` reports focus and keys, and its actions are the control's.
  void Watch(QWidget* input);
  void Unwatch(const QObject* input);
  bool Watched(const QObject* input) const;
  // The view's binding of another control on the form, or null.
  Binding* BindingOf(const ui::Control* control) const;
  // Deletes a widget of this control now, or after the user action that may still run in it.
  void Drop(QWidget* widget);
  // A user action on `source`, done to its control. The view is the context of every
  // connection that calls these, so Qt drops them for a view that is gone.
  static void Act(QtFormView* view, QObject* source,
                  const std::function<void(ui::Control&)>& action);
  static void SelectionMoved(QtFormView* view, QObject* source);
  // The control a widget of the view reports for, or null.
  static ui::Control* OwnerOf(const QtFormView* view, const QObject* widget);

  QtFormView& view_;
  ui::Control& control_;
  QWidget* widget_ = nullptr;
};

// The binding for a control placed on `parent`'s control (null: on the form itself).
std::unique_ptr<Binding> MakeBinding(QtFormView& view, ui::Control& control, const Binding* parent);

// The kinds, one maker each (Bind*.cpp); the table in Binding.cpp lists them.
std::unique_ptr<Binding> BindLabel(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindPanel(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindEdit(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindMemo(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindComboBox(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindCheckBox(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindRadioButton(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindButton(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindRadioGroup(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindGroupBox(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindShape(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindGauge(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindPageControl(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindTabSheet(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindTerminalLines(QtFormView& view, ui::Control& control);
std::unique_ptr<Binding> BindContainer(QtFormView& view, ui::Control& control);

}  // namespace qtui
