#include "qt/QtDesktop.h"

#include <QApplication>
#include <QFont>

#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Form.h"

namespace qtui {

void SetUpDesktopApplication() {
  // The model closes windows; Qt must not end the program on its own.
  QApplication::setQuitOnLastWindowClosed(false);
  QFont font = QApplication::font();
  font.setPixelSize(11);
  QApplication::setFont(font);
}

DesktopViews::DesktopViews(ui::Application& app) : app_(app) {
  app_.GetDesktop().SetWorkArea(ScreenWorkArea());
  for (ui::Form* form : app_.Forms()) views_.push_back(std::make_unique<QtFormView>(*form));
}

DesktopViews::~DesktopViews() = default;

QtFormView& DesktopViews::Of(ui::Form& form) {
  for (const auto& view : views_)
    if (view->GetForm() == &form) return *view;
  views_.push_back(std::make_unique<QtFormView>(form));
  return *views_.back();
}

}  // namespace qtui
