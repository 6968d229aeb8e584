#include "components/VQelTerminalView.h"

TerminalLines::TerminalLines(ui::Component* owner, std::string name)
    : ui::Control(owner, std::move(name)) {
  SetTabStop(true);
  SetBackColor(ui::clWindow);
  history_.clock = [this] { return clock ? clock() : TerminalHistory::SystemClock(); };
  history_.onChange = [this](const Change& change) {
    change_ = change;
    Notify(ui::Prop::Items);
  };
}
