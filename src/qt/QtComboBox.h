#pragma once
// A QComboBox that lets the model refill its list just before the list opens (the port box shows
// the ports found at that moment). QComboBox announces no such moment, so showPopup is the place.
//
// Entries may carry a description (the port box: the adapter behind a port). The list shows it
// beside the entry, but the entry's own text stays what QComboBox puts into the edit part when
// the entry is chosen: the description lives in a role of its own and only the list's delegate
// draws it.

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QStyledItemDelegate>
#include <algorithm>
#include <functional>

namespace qtui {

// The description of an entry (also its tooltip).
constexpr int kItemDescriptionRole = Qt::UserRole + 1;

class DescribedItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // What the list shows for an entry: "entry — description", or the entry alone.
  static QString ShownText(const QModelIndex& index) {
    const QString text = index.data(Qt::DisplayRole).toString();
    const QString description = index.data(kItemDescriptionRole).toString();
    return description.isEmpty() ? text : text + QStringLiteral(" \u2014 ") + description;
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = ShownText(index);
  }
};

class QtComboBox : public QComboBox {
 public:
  explicit QtComboBox(QWidget* parent = nullptr) : QComboBox(parent) {
    setItemDelegate(new DescribedItemDelegate(this));
  }

  std::function<void()> beforePopup;

  void showPopup() override {
    if (beforePopup) beforePopup();
    // QComboBox sizes its list by the entries' own texts; the descriptions need room too.
    int widest = 0;
    const QFontMetrics metrics(view()->font());
    for (int i = 0; i < count(); ++i)
      widest = std::max(widest, metrics.horizontalAdvance(
                                    DescribedItemDelegate::ShownText(model()->index(i, 0))));
    view()->setMinimumWidth(widest > 0 ? widest + 2 * metrics.averageCharWidth() + 24 : 0);
    QComboBox::showPopup();
  }
};

}  // namespace qtui
