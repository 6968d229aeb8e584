#include "qt/Binding.h"

#include "components/VQelTerminalView.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include "qt/QtFormView.h"
#include "qt/QtText.h"
#include "ui/Controls.h"

namespace qtui {

namespace {

struct Kind {
  bool (*matches)(const ui::Control& control, const Binding* parent);
  std::unique_ptr<Binding> (*make)(QtFormView& view, ui::Control& control);
};

template <class T>
bool Is(const ui::Control& control, const Binding*) {
  return dynamic_cast<const T*>(&control) != nullptr;
}

bool IsPage(const ui::Control& control, const Binding* parent) {
  return Is<ui::TabSheet>(control, parent) && parent != nullptr && parent->Tabs() != nullptr;
}

// Tried in order, the first that matches binds: a kind before the kinds it derives from.
const Kind kKinds[] = {
    {IsPage, BindTabSheet},
    {Is<ui::TabSheet>, BindContainer},  // a sheet anywhere but on a page control
    {Is<ui::PageControl>, BindPageControl},
    {Is<ui::Memo>, BindMemo},
    {Is<ui::Edit>, BindEdit},
    {Is<ui::ComboBox>, BindComboBox},
    {Is<ui::CheckBox>, BindCheckBox},
    {Is<ui::RadioButton>, BindRadioButton},
    {Is<ui::RadioGroup>, BindRadioGroup},
    {Is<ui::GroupBox>, BindGroupBox},
    {Is<ui::Panel>, BindPanel},
    {Is<ui::Button>, BindButton},
    {Is<ui::Shape>, BindShape},
    {Is<ui::Gauge>, BindGauge},
    {Is<ui::Label>, BindLabel},
    {Is<TerminalLines>, BindTerminalLines},
};

}  // namespace

std::unique_ptr<Binding> MakeBinding(QtFormView& view, ui::Control& control,
                                     const Binding* parent) {
  for (const Kind& kind : kKinds) {
    if (kind.matches(control, parent)) return kind.make(view, control);
  }
  return BindContainer(view, control);
}

void Binding::Apply(ui::Prop what) {
  const ui::Control& c = control_;
  QWidget* w = widget_;
  switch (what) {
    case ui::Prop::Hint:
      w->setToolTip(c.ShowHint() ? TooltipOf(c.Hint()) : QString());
      break;
    case ui::Prop::Enabled:
      w->setEnabled(c.Enabled());
      break;
    case ui::Prop::Visible:
      w->setVisible(c.Visible());
      break;
    case ui::Prop::FontColor:
    case ui::Prop::Color:
      ApplyColors();
      break;
    case ui::Prop::Bounds:
      w->setGeometry(c.Left(), c.Top(), c.Width(), c.Height());
      break;
    default:
      break;
  }
}

void Binding::ApplyPalette(bool field) {
  const ui::Control& c = control_;
  QWidget* w = widget_;
  const QPalette defaults = QApplication::palette(w);
  QPalette palette = defaults;
  const QColor text = ResolveColor(c.FontColor(), defaults, defaults.color(QPalette::Text));
  bool fill = false;
  // Disabled widgets keep the style's greyed look.
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Text, text);
    palette.setColor(group, QPalette::ButtonText, text);
    if (field) {
      palette.setColor(group, QPalette::Base,
                       ResolveColor(c.BackColor(), defaults, defaults.color(QPalette::Base)));
    } else if (c.BackColor() != ui::clBtnFace && c.BackColor() != ui::clDefault) {
      // Only a colour of its own is painted; otherwise the control shows what it sits on.
      palette.setColor(group, QPalette::Window,
                       ResolveColor(c.BackColor(), defaults, defaults.color(QPalette::Window)));
      fill = true;
    }
  }
  w->setPalette(palette);
  if (!field) w->setAutoFillBackground(fill);
  QFont font = w->font();
  if (font.bold() != c.FontBold()) {
    font.setBold(c.FontBold());
    w->setFont(font);
  }
}

void Binding::Select(QLineEdit& edit, int start, int length) {
  if (length > 0)
    edit.setSelection(start, length);
  else
    edit.setCursorPosition(start);
}

void Binding::Watch(QWidget* input) {
  view_.WatchInput(input, &control_);
}

void Binding::Unwatch(const QObject* input) {
  view_.owners_.erase(input);
}

bool Binding::Watched(const QObject* input) const {
  return view_.owners_.count(input) > 0;
}

Binding* Binding::BindingOf(const ui::Control* control) const {
  return view_.Find(control);
}

ui::Control* Binding::OwnerOf(const QtFormView* view, const QObject* widget) {
  auto it = view->owners_.find(widget);
  return it == view->owners_.end() ? nullptr : it->second;
}

void Binding::Drop(QWidget* widget) {
  view_.DropWidget(widget);
}

void Binding::Act(QtFormView* view, QObject* source,
                  const std::function<void(ui::Control&)>& action) {
  view->Act(source, action);
}

void Binding::SelectionMoved(QtFormView* view, QObject* source) {
  view->SelectionMoved(source);
}

}  // namespace qtui
