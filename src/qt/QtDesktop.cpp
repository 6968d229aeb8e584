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
  // The main window first; the others when they are first shown, which keeps their widgets out
  // of the start-up.
  ui::Form* main = app_.MainForm();
  if (main == nullptr && !app_.Forms().empty()) main = app_.Forms().front();
  if (main != nullptr) views_.push_back(std::make_unique<QtFormView>(*main));
  for (ui::Form* form : app_.Forms())
    if (form != main && form->Visible()) Of(*form);
  // Only the application's own windows: a window docked into another (the terminal) is shown by
  // the view of the window it belongs to, floating or docked.
  app_.OnFormNeedsView = [this](ui::Form& form) {
    if (form.Owner() == &app_) Of(form);
  };
}

DesktopViews::~DesktopViews() {
  app_.OnFormNeedsView = nullptr;
}

QtFormView& DesktopViews::Of(ui::Form& form) {
  for (const auto& view : views_)
    if (view->GetForm() == &form) return *view;
  views_.push_back(std::make_unique<QtFormView>(form));
  return *views_.back();
}

}  // namespace qtui
