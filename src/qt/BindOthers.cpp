// What only shows: labels, panels, shapes, gauges, the terminal's history, plain containers.
#include "components/VQelTerminalView.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <algorithm>

#include "qt/Binding.h"
#include "qt/QtFormView.h"
#include "qt/QtHistoryView.h"
#include "qt/QtText.h"
#include "ui/Controls.h"

namespace qtui {

namespace {

class ShapeWidget : public QWidget {
 public:
  using QWidget::QWidget;
  void SetLook(QColor brush, ui::ShapeType type) {
    brush_ = brush;
    type_ = type;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing,
                    type_ != ui::ShapeType::Rectangle && type_ != ui::ShapeType::Square);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(brush_);
    QRect r = rect().adjusted(0, 0, -1, -1);
    if (type_ == ui::ShapeType::Square || type_ == ui::ShapeType::RoundSquare ||
        type_ == ui::ShapeType::Circle) {
      const int side = std::min(r.width(), r.height());
      r = QRect(r.left() + (r.width() - side) / 2, r.top() + (r.height() - side) / 2, side, side);
    }
    switch (type_) {
      case ui::ShapeType::Rectangle:
      case ui::ShapeType::Square:
        p.drawRect(r);
        break;
      case ui::ShapeType::RoundRect:
      case ui::ShapeType::RoundSquare: {
        const int radius = std::min(r.width(), r.height()) / 4;
        p.drawRoundedRect(r, radius, radius);
        break;
      }
      case ui::ShapeType::Ellipse:
      case ui::ShapeType::Circle:
        p.drawEllipse(r);
        break;
    }
  }

 private:
  QColor brush_ = Qt::white;
  ui::ShapeType type_ = ui::ShapeType::Rectangle;
};

// A caption without its mnemonic; a panel is a raised frame around it.
class LabelBinding : public Binding {
 public:
  LabelBinding(QtFormView& view, ui::Control& control, bool panel)
      : Binding(view, control), panel_(panel) {}

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::Text)
      static_cast<QLabel*>(widget_)->setText(WithoutMnemonic(ToQt(control_.Text())));
    else
      Binding::Apply(what);
  }

 protected:
  QWidget* Make(QWidget* container) override {
    auto* label = new QLabel(container);
    label->setTextFormat(Qt::PlainText);
    if (panel_) {
      label->setFrameStyle(QFrame::Panel | QFrame::Raised);
      label->setAlignment(Qt::AlignCenter);
    } else {
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return label;
  }

 private:
  bool panel_;
};

class ShapeBinding : public Binding {
 public:
  using Binding::Binding;

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::Other)
      ApplyColors();
    else
      Binding::Apply(what);
  }

 protected:
  QWidget* Make(QWidget* container) override { return new ShapeWidget(container); }
  void ApplyColors() override {
    const auto& shape = static_cast<const ui::Shape&>(control_);
    const QPalette defaults = QApplication::palette(widget_);
    static_cast<ShapeWidget*>(widget_)->SetLook(
        ResolveColor(shape.BrushColor(), defaults, Qt::white), shape.Type());
  }
};

class GaugeBinding : public Binding {
 public:
  using Binding::Binding;

  void Apply(ui::Prop what) override {
    if (what != ui::Prop::Range) return Binding::Apply(what);
    const auto& gauge = static_cast<const ui::Gauge&>(control_);
    auto* bar = static_cast<QProgressBar*>(widget_);
    const int max = std::max(1, gauge.MaxValue());
    bar->setRange(0, max);
    bar->setValue(std::clamp(gauge.Progress(), 0, max));
  }

 protected:
  QWidget* Make(QWidget* container) override {
    auto* bar = new QProgressBar(container);
    bar->setAlignment(Qt::AlignCenter);
    return bar;
  }
};

class TerminalLinesBinding : public Binding {
 public:
  using Binding::Binding;

  // Read-only, but it takes the focus, and its window may want the keys typed there.
  void Connect() override { Watch(widget_); }

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::Items)
      static_cast<QtHistoryView*>(widget_)->Follow(static_cast<TerminalLines&>(control_));
    else
      Binding::Apply(what);
  }

 protected:
  QWidget* Make(QWidget* container) override { return new QtHistoryView(container); }
};

// Any other control: a plain widget that holds its children.
class ContainerBinding : public Binding {
 public:
  using Binding::Binding;

 protected:
  QWidget* Make(QWidget* container) override { return new QWidget(container); }
};

}  // namespace

std::unique_ptr<Binding> BindLabel(QtFormView& view, ui::Control& control) {
  return std::make_unique<LabelBinding>(view, control, false);
}

std::unique_ptr<Binding> BindPanel(QtFormView& view, ui::Control& control) {
  return std::make_unique<LabelBinding>(view, control, true);
}

std::unique_ptr<Binding> BindShape(QtFormView& view, ui::Control& control) {
  return std::make_unique<ShapeBinding>(view, control);
}

std::unique_ptr<Binding> BindGauge(QtFormView& view, ui::Control& control) {
  return std::make_unique<GaugeBinding>(view, control);
}

std::unique_ptr<Binding> BindTerminalLines(QtFormView& view, ui::Control& control) {
  return std::make_unique<TerminalLinesBinding>(view, control);
}

std::unique_ptr<Binding> BindContainer(QtFormView& view, ui::Control& control) {
  return std::make_unique<ContainerBinding>(view, control);
}

}  // namespace qtui
