// The names that lower layers resolve in the program's windows (the device module, its scripts
// and image, the KX2 description's settings) against the windows as the program builds them: a
// control renamed or changed in kind here would otherwise leave the program silently showing
// nothing there.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "app/TestEnv.h"
#include "common/TestLoop.h"
#include "device/KXADCdect.h"
#include "protocol/VUniModule.h"
#include "ui/Component.h"
#include "ui/NamedControl.h"

namespace {

struct NamedControls : ::testing::Test {
  TestLoop loop;
  std::unique_ptr<Program> program;

  void SetUp() override {
    ProgramEnv env = TestEnv();
    env.loadLastFile = false;
    program = StartProgram(loop, env);
    ASSERT_TRUE(Main().startedUp);
  }
  void TearDown() override { CloseProgram(loop, program); }
  TFormMain& Main() { return program->Main(); }

  template <class Slot, size_t N>
  static void ExpectIn(const ui::Component& window, const ui::SlotEntry<Slot> (&table)[N]) {
    for (const auto& entry : table) {
      const ui::Component* found = window.FindDeep(entry.control.name);
      if (found == nullptr) {
        ADD_FAILURE() << window.Name() << " has no " << entry.control.name;
        continue;
      }
      EXPECT_TRUE(ui::IsKind(found, entry.control.kind))
          << window.Name() << "." << entry.control.name << " is a " << found->ClassName()
          << ", not a " << ui::KindName(entry.control.kind);
    }
  }
};

TEST_F(NamedControls, EveryNameTheLowerLayersResolveIsInItsWindowWithTheExpectedKind) {
  ExpectIn(Main(), kMainWindowControls);
  ExpectIn(program->FormProgress(), kProgressControls);
  ExpectIn(Main(), kBoundControls);

  // And the module the program attached holds every one of its own.
  VUniModule& module = *Main().uniModule;
  EXPECT_EQ(module.MainWindow(), &Main());
  for (const auto& entry : kMainWindowControls)
    EXPECT_EQ(module.Shown(entry.slot), Main().FindDeep(entry.control.name)) << entry.control.name;
  EXPECT_EQ(module.ProgressWindow(), &program->FormProgress());
  for (const auto& entry : kProgressControls)
    EXPECT_EQ(module.Shown(entry.slot), program->FormProgress().FindDeep(entry.control.name))
        << entry.control.name;
}

}  // namespace
