// A combo box: a list to pick from, or an editable box with a list to drop down.
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <algorithm>

#include "qt/Binding.h"
#include "qt/QtComboBox.h"
#include "qt/QtFormView.h"
#include "qt/QtText.h"
#include "ui/Controls.h"

namespace qtui {

namespace {

class ComboBoxBinding : public Binding {
 public:
  using Binding::Binding;

  void Connect() override {
    QtComboBox* combo = Combo();
    Watch(combo);
    QtFormView* view = &view_;
    QObject::connect(combo, &QComboBox::activated, view, [view, combo](int index) {
      Act(view, combo,
          [index](ui::Control& c) { static_cast<ui::ComboBox&>(c).UserSelect(index); });
    });
    // Not a connection: the view may be gone by the time the list drops down.
    combo->beforePopup = [view = QPointer<QtFormView>(view), combo] {
      if (view)
        Act(view, combo, [](ui::Control& c) { static_cast<ui::ComboBox&>(c).UserDropDown(); });
    };
  }

  void Apply(ui::Prop what) override {
    switch (what) {
      case ui::Prop::Text:
        ApplyText();
        break;
      case ui::Prop::Items:
        ApplyItems();
        break;
      case ui::Prop::ItemIndex:
        ApplyItemIndex();
        break;
      case ui::Prop::MaxLength:
        if (QLineEdit* edit = Combo()->lineEdit())
          edit->setMaxLength(QtMaxLength(Model().MaxLength()));
        break;
      case ui::Prop::Selection:
        // A list to pick from has no text to select.
        if (QLineEdit* edit = Combo()->lineEdit())
          Select(*edit, Model().SelStart(), Model().SelLength());
        break;
      case ui::Prop::Other:
        ApplyStyle();
        break;
      default:
        Binding::Apply(what);
    }
  }

 protected:
  QWidget* Make(QWidget* container) override {
    auto* combo = new QtComboBox(container);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(8);
    return combo;
  }
  void ApplyColors() override { ApplyPalette(true); }

 private:
  QtComboBox* Combo() const { return static_cast<QtComboBox*>(widget_); }
  const ui::ComboBox& Model() const { return static_cast<const ui::ComboBox&>(control_); }

  void ApplyText() {
    QComboBox* combo = Combo();
    const QString text = ToQt(control_.Text());
    if (!combo->isEditable() || combo->currentText() == text) return;
    QLineEdit* edit = combo->lineEdit();
    const int cursor = edit->cursorPosition();
    combo->setEditText(text);
    edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
  }

  void ApplyItems() {
    const ui::ComboBox& model = Model();
    QComboBox* combo = Combo();
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
    ApplyItemIndex();
    ApplyText();  // clearing the list cleared an editable box's text
    if (QLineEdit* edit = combo->lineEdit()) edit->setCursorPosition(caret);
  }

  void ApplyItemIndex() {
    QComboBox* combo = Combo();
    if (combo->currentIndex() == Model().ItemIndex()) return;
    QLineEdit* edit = combo->lineEdit();
    const int caret = edit != nullptr ? edit->cursorPosition() : 0;
    combo->setCurrentIndex(Model().ItemIndex());
    // An editable box keeps the model's text whatever the index (-1 would clear it) and the
    // caret where the user has it.
    ApplyText();
    if (edit != nullptr) edit->setCursorPosition(caret);
  }

  void ApplyStyle() {
    QComboBox* combo = Combo();
    const bool editable = Model().Style() == ui::ComboStyle::DropDown;
    if (combo->isEditable() != editable) {
      if (QLineEdit* old = combo->lineEdit()) Unwatch(old);
      combo->setEditable(editable);
      if (editable) WireEdit();
      Apply(ui::Prop::MaxLength);
      ApplyItemIndex();
      ApplyColors();
    } else if (editable) {
      WireEdit();
    }
  }

  // The line edit of an editable box, made when the box becomes editable.
  void WireEdit() {
    QtComboBox* combo = Combo();
    QLineEdit* edit = combo->lineEdit();
    if (edit == nullptr || Watched(edit)) return;
    combo->setCompleter(nullptr);  // no completion behind the model's back
    Watch(edit);
    QtFormView* view = &view_;
    // Typing only: a pick from the list arrives as activated().
    QObject::connect(edit, &QLineEdit::textEdited, view, [view, combo](const QString& text) {
      Act(view, combo,
          [&text](ui::Control& c) { static_cast<ui::ComboBox&>(c).UserSetText(FromQt(text)); });
    });
  }
};

}  // namespace

std::unique_ptr<Binding> BindComboBox(QtFormView& view, ui::Control& control) {
  return std::make_unique<ComboBoxBinding>(view, control);
}

}  // namespace qtui
