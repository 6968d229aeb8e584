#pragma once
// A QComboBox that lets the model refill its list just before the list opens (the port box shows
// the ports found at that moment). QComboBox announces no such moment, so showPopup is the place.

#include <QComboBox>
#include <functional>

namespace qtui {

class QtComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

  std::function<void()> beforePopup;

  void showPopup() override {
    if (beforePopup) beforePopup();
    QComboBox::showPopup();
  }
};

}  // namespace qtui
