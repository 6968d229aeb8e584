// Buttons, check boxes, radio buttons, and the boxes that group them.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <vector>

#include "qt/Binding.h"
#include "qt/QtFormView.h"
#include "qt/QtText.h"
#include "ui/Controls.h"

namespace qtui {

namespace {

Qt::CheckState QtCheckState(ui::CheckState state) {
  switch (state) {
    case ui::CheckState::Checked:
      return Qt::Checked;
    case ui::CheckState::Grayed:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

class ButtonBinding : public Binding {
 public:
  using Binding::Binding;

  void Connect() override {
    auto* button = static_cast<QAbstractButton*>(widget_);
    Watch(button);
    QtFormView* view = &view_;
    QObject::connect(button, &QAbstractButton::clicked, view,
                     [view, button] { Act(view, button, [](ui::Control& c) { c.UserClick(); }); });
  }

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::Text)
      static_cast<QAbstractButton*>(widget_)->setText(ToQt(control_.Text()));
    else
      Binding::Apply(what);
  }

 protected:
  QWidget* Make(QWidget* container) override { return new QPushButton(container); }
};

class CheckBoxBinding : public ButtonBinding {
 public:
  using ButtonBinding::ButtonBinding;

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::State)
      static_cast<QCheckBox*>(widget_)->setCheckState(
          QtCheckState(static_cast<const ui::CheckBox&>(control_).State()));
    else
      ButtonBinding::Apply(what);
  }

 protected:
  QWidget* Make(QWidget* container) override {
    auto* check = new QCheckBox(container);
    check->setTristate(true);  // to show the greyed state; the model does the cycling
    return check;
  }
};

class RadioButtonBinding : public ButtonBinding {
 public:
  using ButtonBinding::ButtonBinding;

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::State)
      static_cast<QRadioButton*>(widget_)->setChecked(
          static_cast<const ui::RadioButton&>(control_).Checked());
    else
      ButtonBinding::Apply(what);
  }

 protected:
  QWidget* Make(QWidget* container) override {
    auto* radio = new QRadioButton(container);
    radio->setAutoExclusive(false);  // the model unchecks the siblings
    return radio;
  }
};

class GroupBoxBinding : public Binding {
 public:
  using Binding::Binding;

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::Text)
      static_cast<QGroupBox*>(widget_)->setTitle(ToQt(control_.Text()));
    else
      Binding::Apply(what);
  }

 protected:
  QWidget* Make(QWidget* container) override { return new QGroupBox(container); }
};

// A group box of radio buttons, one for each of the model's items.
class RadioGroupBinding : public GroupBoxBinding {
 public:
  using GroupBoxBinding::GroupBoxBinding;

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::Items) {
      RebuildRadios();
      ShowIndex();
    } else if (what == ui::Prop::ItemIndex) {
      ShowIndex();
    } else {
      GroupBoxBinding::Apply(what);
    }
  }

  QWidget* FocusTarget() const override {
    if (radios_.empty()) return widget_;
    const int last = static_cast<int>(radios_.size()) - 1;
    return radios_[std::clamp(Model().ItemIndex(), 0, last)];
  }

 protected:
  QWidget* Make(QWidget* container) override {
    auto* group = new QGroupBox(container);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 2, 8, 2);
    grid->setSpacing(0);
    return group;
  }

 private:
  const ui::RadioGroup& Model() const { return static_cast<const ui::RadioGroup&>(control_); }

  void ShowIndex() {
    const int index = Model().ItemIndex();
    for (size_t i = 0; i < radios_.size(); ++i)
      radios_[i]->setChecked(static_cast<int>(i) == index);
  }

  void RebuildRadios() {
    auto* box = static_cast<QGroupBox*>(widget_);
    auto* grid = static_cast<QGridLayout*>(box->layout());
    for (QRadioButton* radio : radios_) {
      Unwatch(radio);
      Drop(radio);
    }
    radios_.clear();
    const std::vector<std::string>& items = Model().Items();
    const int count = static_cast<int>(items.size());
    const int columns = std::max(1, Model().Columns());
    const int rows = std::max(1, (count + columns - 1) / columns);
    QtFormView* view = &view_;
    for (int i = 0; i < count; ++i) {
      auto* radio = new QRadioButton(ToQt(items[i]), box);
      radio->setAutoExclusive(false);
      grid->addWidget(radio, i % rows, i / rows);  // column by column, as the platform fills them
      Watch(radio);
      QObject::connect(radio, &QAbstractButton::clicked, view, [view, box, i] {
        Act(view, box, [i](ui::Control& c) { static_cast<ui::RadioGroup&>(c).UserSelect(i); });
      });
      radios_.push_back(radio);
    }
  }

  std::vector<QRadioButton*> radios_;
};

}  // namespace

std::unique_ptr<Binding> BindButton(QtFormView& view, ui::Control& control) {
  return std::make_unique<ButtonBinding>(view, control);
}

std::unique_ptr<Binding> BindCheckBox(QtFormView& view, ui::Control& control) {
  return std::make_unique<CheckBoxBinding>(view, control);
}

std::unique_ptr<Binding> BindRadioButton(QtFormView& view, ui::Control& control) {
  return std::make_unique<RadioButtonBinding>(view, control);
}

std::unique_ptr<Binding> BindGroupBox(QtFormView& view, ui::Control& control) {
  return std::make_unique<GroupBoxBinding>(view, control);
}

std::unique_ptr<Binding> BindRadioGroup(QtFormView& view, ui::Control& control) {
  return std::make_unique<RadioGroupBinding>(view, control);
}

}  // namespace qtui
