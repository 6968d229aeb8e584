#include "components/FormUtils.h"

#include <gtest/gtest.h>

#include <cctype>

#include "base/ProgramVersion.h"
#include "common/TestLoop.h"

namespace {

using ui::Rect;

class FormUtilsTest : public ::testing::Test {
 protected:
  FormUtilsTest() { app.GetDesktop().SetWorkArea({100, 50, 800, 600}); }

  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  ui::Application app;
  ui::Form* form = new ui::Form(&app, "FormTest");
};

TEST_F(FormUtilsTest, MoveFormToScreenFitsTheWorkArea) {
  form->SetBounds(0, 0, 1000, 900);
  MoveFormToScreen(*form);
  EXPECT_EQ(form->Bounds(), (Rect{100, 50, 800, 600}));

  form->SetBounds(700, 500, 300, 200);  // beyond the right and bottom edges
  MoveFormToScreen(*form);
  EXPECT_EQ(form->Bounds(), (Rect{600, 450, 300, 200}));

  form->SetBounds(20, 10, 100, 100);  // before the left and top edges
  MoveFormToScreen(*form);
  EXPECT_EQ(form->Bounds(), (Rect{100, 50, 100, 100}));

  form->SetBounds(-5000, 3000, 2000, 50);
  MoveFormToScreen(*form);
  EXPECT_EQ(form->Bounds(), (Rect{100, 600, 800, 50}));

  form->SetBounds(200, 100, 300, 200);
  MoveFormToScreen(*form);
  EXPECT_EQ(form->Bounds(), (Rect{200, 100, 300, 200}));

  app.GetDesktop().SetWorkAreaKnown(false);
  form->SetBounds(5000, 5000, 3000, 3000);
  MoveFormToScreen(*form);
  EXPECT_EQ(form->Bounds(), (Rect{5000, 5000, 3000, 3000}));
}

TEST(ProgramVersionTest, TextsComeFromTheBuild) {
  const ProgramVersion& v = ThisProgramVersion();
  EXPECT_NE(v.productVersion, "0.0.0");
  EXPECT_EQ(v.fileVersion, FourPartVersion(v.productVersion));
  EXPECT_EQ(v.productName, "KX2 Init");
  EXPECT_EQ(v.countryCode, "040504E2");
  ASSERT_EQ(v.buildDate.size(), 10u);
  EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(v.buildDate[0])));
  EXPECT_EQ(v.buildDate[4], '-');
  EXPECT_EQ(v.buildDate[7], '-');

  EXPECT_EQ(FourPartVersion("1.2.1"), "1.2.1.0");
  EXPECT_EQ(FourPartVersion("2"), "2.0.0.0");
  EXPECT_EQ(FourPartVersion("1.2.3.4"), "1.2.3.4");
}

}  // namespace
