// The model mirrored into the widgets: creating a widget for each kind of control, showing
// every change of the model, the window and its menu.
#include "qt/QtFormView.h"

#include "components/VQelTerminalView.h"
#include "qt/QtHistoryView.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

#include "qt/QtComboBox.h"
#include "qt/QtText.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"

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

Qt::CheckState ToQt(ui::CheckState state) {
  switch (state) {
    case ui::CheckState::Checked:
      return Qt::Checked;
    case ui::CheckState::Grayed:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

int MemoWidgetPosition(const std::string& text, int offset) {
  offset = std::clamp(offset, 0, static_cast<int>(text.size()));
  int breaks = 0;
  for (int i = 0; i + 1 < offset; ++i) {
    if (text[i] == '\r' && text[i + 1] == '\n') ++breaks;
  }
  return offset - breaks;
}

}  // namespace

// ---- creating widgets ----

void QtFormView::CreateWidget(Entry& entry, QWidget* container) {
  ui::Control& c = *entry.control;
  QWidget* w = nullptr;
  switch (entry.kind) {
    case Kind::Label: {
      auto* label = new QLabel(container);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      w = label;
      break;
    }
    case Kind::Edit:
      w = new QLineEdit(container);
      break;
    case Kind::Memo: {
      auto* memo = new QPlainTextEdit(container);
      memo->setLineWrapMode(QPlainTextEdit::NoWrap);
      w = memo;
      break;
    }
    case Kind::Combo: {
      auto* combo = new QtComboBox(container);
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setMaxVisibleItems(8);
      w = combo;
      break;
    }
    case Kind::Check: {
      auto* check = new QCheckBox(container);
      check->setTristate(true);  // to show the greyed state; the model does the cycling
      w = check;
      break;
    }
    case Kind::Radio: {
      auto* radio = new QRadioButton(container);
      radio->setAutoExclusive(false);  // the model unchecks the siblings
      w = radio;
      break;
    }
    case Kind::RadioGroup: {
      auto* group = new QGroupBox(container);
      auto* grid = new QGridLayout(group);
      grid->setContentsMargins(8, 2, 8, 2);
      grid->setSpacing(0);
      w = group;
      break;
    }
    case Kind::Group:
      w = new QGroupBox(container);
      break;
    case Kind::Panel: {
      auto* panel = new QLabel(container);
      panel->setTextFormat(Qt::PlainText);
      panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
      panel->setAlignment(Qt::AlignCenter);
      w = panel;
      break;
    }
    case Kind::Button:
      w = new QPushButton(container);
      break;
    case Kind::Shape:
      w = new ShapeWidget(container);
      break;
    case Kind::Gauge: {
      auto* bar = new QProgressBar(container);
      bar->setAlignment(Qt::AlignCenter);
      w = bar;
      break;
    }
    case Kind::Pages:
      w = new QTabWidget(container);
      break;
    case Kind::Sheet: {
      w = new QWidget;
      auto* tabs = static_cast<QTabWidget*>(container);
      tabs->addTab(w, ToQt(c.Text()));
      break;
    }
    case Kind::History:
      w = new QtHistoryView(container);
      break;
    case Kind::Other:
      w = new QWidget(container);
      break;
  }
  w->setObjectName(ToQt(c.Name()));
  if (c.CanFocus() && !c.TabStop()) w->setFocusPolicy(Qt::ClickFocus);
  entry.widget = w;
}

// ---- model -> widgets ----

void QtFormView::ControlChanged(ui::Control& control, ui::Prop what) {
  if (form_ == nullptr) return;
  if (&control == form_) {
    SyncScope sync(*this);
    ApplyForm(what);
    return;
  }
  Entry* entry = Find(&control);
  if (entry == nullptr) return;
  // The widget the user is acting on is still inside its signal: it learns what the model made
  // of the action once the action is over.
  if (&control == acting_) {
    if (std::find(held_.begin(), held_.end(), what) == held_.end()) held_.push_back(what);
    return;
  }
  // The selection the widget just reported.
  if (what == ui::Prop::Selection && &control == pushing_) return;
  SyncScope sync(*this);
  Apply(*entry, what);
}

void QtFormView::ComponentChanged(ui::Component& component, ui::Prop what) {
  auto* item = dynamic_cast<ui::MenuItem*>(&component);
  if (form_ == nullptr || item == nullptr) return;
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

void QtFormView::ApplyAll(Entry& entry) {
  using ui::Prop;
  for (Prop p : {Prop::Items, Prop::Other, Prop::Text, Prop::ItemIndex, Prop::State, Prop::Hint,
                 Prop::Enabled, Prop::Visible, Prop::FontColor, Prop::Bounds, Prop::MaxLength,
                 Prop::ReadOnly, Prop::Range, Prop::TabVisible, Prop::PageOrder, Prop::ActivePage})
    Apply(entry, p);
}

void QtFormView::Apply(Entry& entry, ui::Prop what) {
  ui::Control& c = *entry.control;
  QWidget* w = entry.widget;
  switch (what) {
    case ui::Prop::Text:
      ApplyText(entry);
      break;
    case ui::Prop::Hint:
      w->setToolTip(c.ShowHint() ? TooltipOf(c.Hint()) : QString());
      break;
    case ui::Prop::Enabled:
      w->setEnabled(c.Enabled());
      break;
    case ui::Prop::Visible:
      // The tab widget shows and hides its pages itself.
      if (entry.kind != Kind::Sheet) w->setVisible(c.Visible());
      break;
    case ui::Prop::FontColor:
    case ui::Prop::Color:
      ApplyColors(entry);
      break;
    case ui::Prop::Bounds:
      if (entry.kind != Kind::Sheet) w->setGeometry(c.Left(), c.Top(), c.Width(), c.Height());
      break;
    case ui::Prop::Items:
      ApplyItems(entry);
      break;
    case ui::Prop::ItemIndex:
      ApplyItemIndex(entry);
      break;
    case ui::Prop::State:
      ApplyState(entry);
      break;
    case ui::Prop::MaxLength: {
      int max = 0;
      if (entry.kind == Kind::Edit) max = static_cast<ui::Edit&>(c).MaxLength();
      if (entry.kind == Kind::Combo) max = static_cast<ui::ComboBox&>(c).MaxLength();
      const int qtMax = max > 0 ? max : 32767;
      if (entry.kind == Kind::Edit) static_cast<QLineEdit*>(w)->setMaxLength(qtMax);
      if (entry.kind == Kind::Combo) {
        if (QLineEdit* edit = static_cast<QComboBox*>(w)->lineEdit()) edit->setMaxLength(qtMax);
      }
      break;
    }
    case ui::Prop::Selection:
      ApplySelection(entry);
      break;
    case ui::Prop::ReadOnly:
      if (entry.kind == Kind::Edit)
        static_cast<QLineEdit*>(w)->setReadOnly(static_cast<ui::Edit&>(c).ReadOnly());
      if (entry.kind == Kind::Memo)
        static_cast<QPlainTextEdit*>(w)->setReadOnly(static_cast<ui::Edit&>(c).ReadOnly());
      break;
    case ui::Prop::Range:
      if (entry.kind == Kind::Gauge) {
        auto& gauge = static_cast<ui::Gauge&>(c);
        auto* bar = static_cast<QProgressBar*>(w);
        const int max = std::max(1, gauge.MaxValue());
        bar->setRange(0, max);
        bar->setValue(std::clamp(gauge.Progress(), 0, max));
      }
      break;
    case ui::Prop::ActivePage:
      ApplyActivePage(entry);
      break;
    case ui::Prop::TabVisible:
      ApplyTabVisible(entry);
      break;
    case ui::Prop::PageOrder:
      ApplyPageOrder(entry);
      break;
    case ui::Prop::Other:
      if (entry.kind == Kind::Combo) {
        auto& model = static_cast<ui::ComboBox&>(c);
        auto* combo = static_cast<QComboBox*>(w);
        const bool editable = model.Style() == ui::ComboStyle::DropDown;
        if (combo->isEditable() != editable) {
          if (QLineEdit* old = combo->lineEdit()) owners_.erase(old);
          combo->setEditable(editable);
          if (editable) WireComboEdit(entry);
          Apply(entry, ui::Prop::MaxLength);
          ApplyItemIndex(entry);
          ApplyColors(entry);
        } else if (editable) {
          WireComboEdit(entry);
        }
      }
      if (entry.kind == Kind::Shape) ApplyColors(entry);
      break;
    case ui::Prop::Focus:
    case ui::Prop::WindowState:
      break;
  }
}

void QtFormView::ApplyText(Entry& entry) {
  const ui::Control& c = *entry.control;
  const QString text = ToQt(c.Text());
  switch (entry.kind) {
    case Kind::Label:
    case Kind::Panel:
      static_cast<QLabel*>(entry.widget)->setText(WithoutMnemonic(text));
      break;
    case Kind::Edit: {
      auto* edit = static_cast<QLineEdit*>(entry.widget);
      if (edit->text() == text) break;
      const int cursor = edit->cursorPosition();
      edit->setText(text);
      edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
      break;
    }
    case Kind::Memo: {
      auto* memo = static_cast<QPlainTextEdit*>(entry.widget);
      const QString lines = LinesToQt(c.Text());
      if (memo->toPlainText() == lines) break;
      const int cursor = memo->textCursor().position();
      memo->setPlainText(lines);
      QTextCursor caret = memo->textCursor();
      caret.setPosition(std::min(cursor, static_cast<int>(lines.size())));
      memo->setTextCursor(caret);
      break;
    }
    case Kind::Combo: {
      auto* combo = static_cast<QComboBox*>(entry.widget);
      if (!combo->isEditable() || combo->currentText() == text) break;
      QLineEdit* edit = combo->lineEdit();
      const int cursor = edit->cursorPosition();
      combo->setEditText(text);
      edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
      break;
    }
    case Kind::Check:
    case Kind::Radio:
    case Kind::Button:
      static_cast<QAbstractButton*>(entry.widget)->setText(text);
      break;
    case Kind::Group:
    case Kind::RadioGroup:
      static_cast<QGroupBox*>(entry.widget)->setTitle(text);
      break;
    case Kind::Sheet:
      if (QTabWidget* tabs = TabsOf(entry)) {
        const int index = tabs->indexOf(entry.widget);
        if (index >= 0) tabs->setTabText(index, text);
      }
      break;
    default:
      break;
  }
}

void QtFormView::ApplyColors(Entry& entry) {
  const ui::Control& c = *entry.control;
  QWidget* w = entry.widget;
  if (entry.kind == Kind::Shape) {
    auto& shape = static_cast<const ui::Shape&>(c);
    const QPalette defaults = QApplication::palette(w);
    static_cast<ShapeWidget*>(w)->SetLook(ResolveColor(shape.BrushColor(), defaults, Qt::white),
                                          shape.Type());
    return;
  }
  const QPalette defaults = QApplication::palette(w);
  QPalette palette = defaults;
  const bool field =
      entry.kind == Kind::Edit || entry.kind == Kind::Memo || entry.kind == Kind::Combo;
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

void QtFormView::ApplyItems(Entry& entry) {
  if (entry.kind == Kind::History) {
    static_cast<QtHistoryView*>(entry.widget)->Follow(static_cast<TerminalLines&>(*entry.control));
    return;
  }
  if (entry.kind == Kind::RadioGroup) {
    RebuildRadios(entry);
    ApplyItemIndex(entry);
    return;
  }
  if (entry.kind != Kind::Combo) return;
  auto& model = static_cast<ui::ComboBox&>(*entry.control);
  auto* combo = static_cast<QComboBox*>(entry.widget);
  QStringList items;
  for (const std::string& item : model.Items()) items << ToQt(item);
  const int caret = combo->lineEdit() != nullptr ? combo->lineEdit()->cursorPosition() : 0;
  combo->clear();
  combo->addItems(items);
  const auto& descriptions = model.ItemDescriptions();
  for (size_t i = 0; i < descriptions.size() && i < static_cast<size_t>(items.size()); ++i) {
    if (descriptions[i].empty()) continue;
    const QString description = ToQt(descriptions[i]);
    combo->setItemData(static_cast<int>(i), description, kItemDescriptionRole);
    combo->setItemData(static_cast<int>(i), description, Qt::ToolTipRole);
  }
  const auto& images = model.ItemImages();
  for (size_t i = 0; i < images.size() && i < static_cast<size_t>(items.size()); ++i) {
    const ui::ItemImage& image = images[i];
    if (image.Empty() || image.argb.size() < static_cast<size_t>(image.width * image.height))
      continue;
    const QImage picture(reinterpret_cast<const uchar*>(image.argb.data()), image.width,
                         image.height, image.width * 4, QImage::Format_ARGB32);
    combo->setItemIcon(static_cast<int>(i), QIcon(QPixmap::fromImage(picture.copy())));
  }
  ApplyItemIndex(entry);
  ApplyText(entry);  // clearing the list cleared an editable box's text
  if (QLineEdit* edit = combo->lineEdit()) edit->setCursorPosition(caret);
}

void QtFormView::ApplyItemIndex(Entry& entry) {
  if (entry.kind == Kind::RadioGroup) {
    const int index = static_cast<ui::RadioGroup&>(*entry.control).ItemIndex();
    for (size_t i = 0; i < entry.radios.size(); ++i)
      entry.radios[i]->setChecked(static_cast<int>(i) == index);
    return;
  }
  if (entry.kind != Kind::Combo) return;
  auto& model = static_cast<ui::ComboBox&>(*entry.control);
  auto* combo = static_cast<QComboBox*>(entry.widget);
  if (combo->currentIndex() == model.ItemIndex()) return;
  QLineEdit* edit = combo->lineEdit();
  const int caret = edit != nullptr ? edit->cursorPosition() : 0;
  combo->setCurrentIndex(model.ItemIndex());
  // An editable box keeps the model's text whatever the index (-1 would clear it) and the
  // caret where the user has it.
  ApplyText(entry);
  if (edit != nullptr) edit->setCursorPosition(caret);
}

void QtFormView::ApplyState(Entry& entry) {
  if (entry.kind == Kind::Check) {
    static_cast<QCheckBox*>(entry.widget)
        ->setCheckState(ToQt(static_cast<ui::CheckBox&>(*entry.control).State()));
  } else if (entry.kind == Kind::Radio) {
    static_cast<QRadioButton*>(entry.widget)
        ->setChecked(static_cast<ui::RadioButton&>(*entry.control).Checked());
  }
}

void QtFormView::ApplySelection(Entry& entry) {
  if (entry.kind == Kind::Combo) {
    auto& model = static_cast<ui::ComboBox&>(*entry.control);
    QLineEdit* edit = static_cast<QComboBox*>(entry.widget)->lineEdit();
    if (edit == nullptr) return;  // a list to pick from has no text to select
    if (model.SelLength() > 0)
      edit->setSelection(model.SelStart(), model.SelLength());
    else
      edit->setCursorPosition(model.SelStart());
    return;
  }
  if (entry.kind != Kind::Edit && entry.kind != Kind::Memo) return;
  auto& model = static_cast<ui::Edit&>(*entry.control);
  if (entry.kind == Kind::Edit) {
    auto* edit = static_cast<QLineEdit*>(entry.widget);
    if (model.SelLength() > 0)
      edit->setSelection(model.SelStart(), model.SelLength());
    else
      edit->setCursorPosition(model.SelStart());
  } else if (entry.kind == Kind::Memo) {
    auto* memo = static_cast<QPlainTextEdit*>(entry.widget);
    const std::string& text = model.Text();
    QTextCursor caret = memo->textCursor();
    const int size = static_cast<int>(memo->document()->characterCount()) - 1;
    caret.setPosition(std::min(size, MemoWidgetPosition(text, model.SelStart())));
    caret.setPosition(
        std::min(size, MemoWidgetPosition(text, model.SelStart() + model.SelLength())),
        QTextCursor::KeepAnchor);
    memo->setTextCursor(caret);
  }
}

void QtFormView::ApplyPageOrder(Entry& entry) {
  if (entry.kind == Kind::Sheet) {
    if (Entry* pages = Find(entry.control->Parent())) ApplyPageOrder(*pages);
    return;
  }
  if (entry.kind != Kind::Pages) return;
  auto* tabs = static_cast<QTabWidget*>(entry.widget);
  int position = 0;
  for (ui::TabSheet* sheet : static_cast<ui::PageControl&>(*entry.control).Pages()) {
    Entry* page = Find(sheet);
    if (page == nullptr || page->kind != Kind::Sheet) continue;
    const int index = tabs->indexOf(page->widget);
    if (index < 0) continue;
    if (index != position) tabs->tabBar()->moveTab(index, position);
    ++position;
  }
  ApplyActivePage(entry);
}

void QtFormView::ApplyActivePage(Entry& entry) {
  if (entry.kind != Kind::Pages) return;
  auto* tabs = static_cast<QTabWidget*>(entry.widget);
  Entry* page = Find(static_cast<ui::PageControl&>(*entry.control).ActivePage());
  if (page == nullptr) return;
  const int index = tabs->indexOf(page->widget);
  if (index >= 0 && tabs->currentIndex() != index) tabs->setCurrentIndex(index);
}

void QtFormView::ApplyTabVisible(Entry& entry) {
  if (entry.kind != Kind::Sheet) return;
  QTabWidget* tabs = TabsOf(entry);
  if (tabs == nullptr) return;
  const int index = tabs->indexOf(entry.widget);
  if (index >= 0)
    tabs->setTabVisible(index, static_cast<ui::TabSheet&>(*entry.control).TabVisible());
  if (Entry* pages = Find(entry.control->Parent())) ApplyActivePage(*pages);
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
  if (form_ == nullptr) return;
  if (userDepth_ > 0) {
    // Not while Qt is delivering the event that led here (a focus change inside a focus
    // change); once it is over.
    if (focusPending_) return;
    focusPending_ = true;
    QTimer::singleShot(0, window_, [guard = guard_] {
      if (QtFormView* v = *guard) {
        v->focusPending_ = false;
        SyncScope sync(*v);
        v->ApplyFocus();
      }
    });
    return;
  }
  Entry* entry = Find(form_->ActiveControl());
  if (entry == nullptr) return;
  QWidget* target = entry->widget;
  if (entry->kind == Kind::RadioGroup && !entry->radios.empty()) {
    const int index = static_cast<ui::RadioGroup&>(*entry->control).ItemIndex();
    target = entry->radios[std::clamp(index, 0, static_cast<int>(entry->radios.size()) - 1)];
  }
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
  QTimer::singleShot(0, window_, [guard = guard_] {
    if (QtFormView* v = *guard) {
      v->menuPending_ = false;
      if (v->form_ == nullptr) return;
      SyncScope sync(*v);
      v->RebuildMenu();
    }
  });
}

void QtFormView::RebuildMenu() {
  menuActions_.clear();
  auto* bar = new QMenuBar;
  const Guard guard = guard_;
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
      QObject::connect(action, &QAction::triggered, action, [guard, item] {
        if (QtFormView* v = *guard) v->MenuClicked(item);
      });
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
      QObject::connect(action, &QAction::triggered, action, [guard, item] {
        if (QtFormView* v = *guard) v->MenuClicked(item);
      });
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
  const Guard guard = guard_;
  for (ui::MenuItem* item : popup->Items()) {
    if (item->IsSeparator()) {
      menu.addSeparator()->setVisible(item->Visible());
      continue;
    }
    QAction* action = menu.addAction(ToQt(item->Caption()));
    action->setEnabled(item->Enabled());
    action->setVisible(item->Visible());
    QObject::connect(action, &QAction::triggered, action, [guard, item] {
      if (QtFormView* v = *guard) v->MenuClicked(item);
    });
  }
  menu.exec(QCursor::pos());
}

}  // namespace qtui
