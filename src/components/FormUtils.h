#pragma once
// Geometry helpers for top-level windows: the window's placement read and applied as one value
// (as the platform hands it out), and fitting a window into the desktop's work area.

#include "ui/Form.h"
#include "ui/Types.h"

// The platform's show commands a placement may carry.
enum : int {
  SW_HIDE = 0,
  SW_SHOWNORMAL = 1,
  SW_SHOWMINIMIZED = 2,
  SW_SHOWMAXIMIZED = 3,
  SW_SHOWNOACTIVATE = 4,
  SW_SHOW = 5,
  SW_MINIMIZE = 6,
  SW_SHOWMINNOACTIVE = 7,
  SW_SHOWNA = 8,
  SW_RESTORE = 9,
};

// Where a window is and how it is shown: the show command of its state (1 normal, 2 minimised,
// 3 maximised), the positions it takes when minimised and maximised, and its normal (restored)
// rectangle, which a maximised or minimised window keeps.
struct FormPlacement {
  int showCmd = SW_SHOWNORMAL;
  ui::Point minPosition{-1, -1};
  ui::Point maxPosition{-1, -1};
  ui::Rect normal{};
  bool operator==(const FormPlacement&) const = default;
};

// The window's placement. The show command reflects the state only; a hidden window reports the
// state it would be shown in.
FormPlacement GetFormPlacement(const ui::Form& form);

// Applies a placement: the positions and the normal rectangle always; then the show command:
// SW_HIDE hides the window, the other known commands set the state they name and show the
// window; an unknown command changes nothing more. A maximised or minimised window keeps its
// current bounds and gets the normal rectangle for when it is restored.
void SetFormPlacement(ui::Form& form, const FormPlacement& placement);

// `r` made no wider and no higher than `area`, then moved left and up so that it ends inside the
// area, then right and down so that it starts inside it.
ui::Rect FitRectIntoArea(ui::Rect r, const ui::Rect& area);

// Moves and shrinks the window so that it lies within the desktop's work area (the screen without
// the task bar). Nothing happens when there is no application or the work area is not known.
void MoveFormToScreen(ui::Form& form);
