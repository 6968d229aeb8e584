#include <gtest/gtest.h>

#include <stdexcept>

#include "common/TestLoop.h"
#include "ui/ComponentRef.h"
#include "ui/Controls.h"
#include "ui/EventLoop.h"
#include "ui/Form.h"
#include "ui/NamedControl.h"

using namespace ui;

namespace {

TEST(ScopedGlobals, LoopsNestAndThePreviousComesBackEvenWhenAScopeIsLeftByAnException) {
  ASSERT_EQ(LoopOrNull(), nullptr);
  {
    TestLoop outer;
    EXPECT_EQ(LoopOrNull(), &outer);
    {
      TestLoop inner;
      EXPECT_EQ(&Loop(), &inner);
    }
    EXPECT_EQ(&Loop(), &outer);
    EXPECT_THROW(
        {
          TestLoop thrown;
          EXPECT_EQ(&Loop(), &thrown);
          throw std::runtime_error("assertion failed");
        },
        std::runtime_error);
    EXPECT_EQ(&Loop(), &outer);
  }
  EXPECT_EQ(LoopOrNull(), nullptr);
  EXPECT_THROW(Loop(), std::logic_error);
}

TEST(ScopedGlobals, AnApplicationIsTheProcesssOneUntilItGoesThenThePreviousIs) {
  TestLoop loop;
  ASSERT_EQ(App(), nullptr);
  auto outer = std::make_unique<Application>();
  EXPECT_EQ(App(), outer.get());
  {
    Application inner;
    EXPECT_EQ(App(), &inner);
    // Its forms are destroyed while it is still the process's application.
    new Form(&inner, "FormMain");
    EXPECT_EQ(inner.MainForm()->Name(), "FormMain");
  }
  EXPECT_EQ(App(), outer.get());
  EXPECT_EQ(outer->MainForm(), nullptr);
  outer.reset();
  EXPECT_EQ(App(), nullptr);
}

TEST(ComponentRef, ForgetsATargetDestroyedFirstAndLeavesNothingBehindWhenItGoesFirst) {
  Component window(nullptr, "FormMain");
  auto* button = new Button(&window, "BtnConnect");
  auto* label = new Label(&window, "LabelID");
  {
    Ref<Control> ref(button);
    EXPECT_EQ(button->ComponentCount(), 1);  // its watch
    EXPECT_EQ(ref.get(), button);
    EXPECT_EQ(ref->Name(), "BtnConnect");
    ref = label;  // the button's watch goes
    EXPECT_EQ(button->ComponentCount(), 0);
    EXPECT_EQ(label->ComponentCount(), 1);
    // A watch has no name: look-ups by name never meet it.
    EXPECT_EQ(window.FindDeep(""), nullptr);
    delete label;
    EXPECT_FALSE(ref);
    EXPECT_EQ(ref.get(), nullptr);
    ref = button;
    Ref<Control> second(button);
    EXPECT_EQ(button->ComponentCount(), 2);
  }
  EXPECT_EQ(button->ComponentCount(), 0);

  // The window destroys what it owns with the references still pointing there.
  auto* form = new Component(nullptr, "FormProgress");
  Ref<Component> toForm(form);
  Ref<Gauge> toGauge(new Gauge(form, "GaugeProg"));
  delete form;
  EXPECT_EQ(toForm.get(), nullptr);
  EXPECT_EQ(toGauge.get(), nullptr);
}

TEST(NamedControl, IsFoundOnlyWhenItIsOfTheKindTheTableExpects) {
  Component window(nullptr, "FormMain");
  auto* memo = new Memo(&window, "MemoLog");
  new Label(&window, "LabelID");
  EXPECT_EQ(FindNamed(&window, {"MemoLog", Kind::Edit}), memo);  // a memo is an edit
  EXPECT_EQ(FindNamed(&window, {"labelid", Kind::Label}), window.FindDeep("LabelID"));
  EXPECT_EQ(FindNamed(&window, {"LabelID", Kind::Button}), nullptr);
  EXPECT_EQ(FindNamed(&window, {"LabelIDs", Kind::Label}), nullptr);
  EXPECT_EQ(FindNamed(nullptr, {"LabelID", Kind::Label}), nullptr);
  EXPECT_STREQ(KindName(Kind::RadioButton), "radio button");
}

}  // namespace
