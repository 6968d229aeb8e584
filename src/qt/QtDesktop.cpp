#include "qt/QtDesktop.h"

#include <QApplication>

#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "qt/QtText.h"
#include "ui/Form.h"

namespace qtui {

void SetUpDesktopApplication() {
  // The model closes windows; Qt must not end the program on its own.
  QApplication::setQuitOnLastWindowClosed(false);
  // The windows are laid out for this face and size; the fit test measures with it too.
  QApplication::setFont(ProgramFont());
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
