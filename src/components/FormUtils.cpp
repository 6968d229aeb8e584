#include "components/FormUtils.h"

#include <algorithm>

FormPlacement GetFormPlacement(const ui::Form& form) {
  FormPlacement p;
  p.showCmd = static_cast<int>(form.State());
  p.minPosition = form.MinPosition();
  p.maxPosition = form.MaxPosition();
  p.normal = form.NormalBounds();
  return p;
}

void SetFormPlacement(ui::Form& form, const FormPlacement& placement) {
  form.SetMinPosition(placement.minPosition);
  form.SetMaxPosition(placement.maxPosition);
  form.SetNormalBounds(placement.normal);
  switch (placement.showCmd) {
    case SW_HIDE:
      form.Hide();
      return;
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
    case SW_RESTORE:
      form.SetState(ui::WindowState::Normal);
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      form.SetState(ui::WindowState::Minimized);
      break;
    case SW_SHOWMAXIMIZED:
      form.SetState(ui::WindowState::Maximized);
      break;
    case SW_SHOW:
    case SW_SHOWNA:
      break;
    default:
      return;
  }
  form.Show();
}

ui::Rect FitRectIntoArea(ui::Rect r, const ui::Rect& area) {
  r.width = std::min(r.width, area.width);
  r.height = std::min(r.height, area.height);
  if (r.Right() > area.Right()) r.left -= r.Right() - area.Right();
  if (r.Bottom() > area.Bottom()) r.top -= r.Bottom() - area.Bottom();
  if (r.left < area.left) r.left = area.left;
  if (r.top < area.top) r.top = area.top;
  return r;
}

void MoveFormToScreen(ui::Form& form) {
  ui::Application* app = ui::App();
  if (app == nullptr || !app->GetDesktop().WorkAreaKnown()) return;
  const ui::Rect fitted = FitRectIntoArea(form.Bounds(), app->GetDesktop().WorkArea());
  if (fitted != form.Bounds()) form.SetBounds(fitted.left, fitted.top, fitted.width, fitted.height);
}
