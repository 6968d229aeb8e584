// What the editors' control handle answers for every editor: which controls count as bound, and
// that letting go of a control leaves alone the handlers another editor has installed since.

#include <functional>

#include "SettingsFixture.h"
#include "settings/ControlHandle.h"
#include "settings/VSVBA2TEdit.h"

namespace {

class ControlHandle : public SettingsFixture {
 protected:
  bool Held(const ui::Control* c) { return c != nullptr && settings::HeldByEditor(*c); }
  VSVBA_VorString* text = new VSVBA_VorString(top.get());
  ui::Edit* a = Place<ui::Edit>("EditA");
  ui::Edit* b = Place<ui::Edit>("EditB");
  VSVBA2TEdit* editor = new VSVBA2TEdit(text, a);
};

}  // namespace

TEST_F(ControlHandle, BoundAreTheControlsEditorsHoldNow) {
  struct Step {
    const char* what;
    std::function<void()> run;
    bool a, b;
  };
  const Step steps[] = {
      {"bound when made", [] {}, true, false},
      {"moved to another edit", [&] { editor->attachEdit(b); }, false, true},
      {"detached", [&] { editor->detachControl(); }, false, false},
      {"bound again", [&] { editor->attachEdit(a); }, true, false},
      {"destroyed by its window", [&] { delete a; }, false, false},
  };
  const ui::Ref<ui::Edit> ra(a);  // a is freed on the way
  for (const Step& s : steps) {
    s.run();
    EXPECT_EQ(Held(ra.get()), s.a) << s.what;
    EXPECT_EQ(Held(b), s.b) << s.what;
  }
  EXPECT_EQ(editor->edit(), nullptr);
  EXPECT_FALSE(Held(elsewhere));
}

TEST_F(ControlHandle, LettingGoKeepsTheHandlersOfTheEditorBoundSince) {
  auto* other = new VSVBA_VorString(top.get());
  new VSVBA2TEdit(other, a);  // the second editor takes over the edit's events
  editor->attachEdit(b);
  TypeAndLeave(a, "Brno");
  Poll();
  EXPECT_EQ(other->bytes(), "Brno");
  EXPECT_EQ(text->bytes(), "");
}
