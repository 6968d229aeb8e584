#include <gtest/gtest.h>

#include <stdexcept>

#include "common/TestLoop.h"
#include "ui/Controls.h"
#include "ui/EventLoop.h"
#include "ui/Form.h"
#include "ui/NamedControl.h"
#include "ui/Ref.h"

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

TEST(Ref, ReadsNullOnceItsTargetIsDestroyedAndLeavesNoTraceInTheTarget) {
  Component window(nullptr, "FormMain");
  auto* button = new Button(&window, "BtnConnect");
  auto* label = new Label(&window, "LabelID");
  int gone = 0;
  {
    Ref<Control> ref(button);
    ref.OnGone([&] { ++gone; });
    EXPECT_EQ(button->ComponentCount(), 0);  // nothing is added to the target
    EXPECT_EQ(ref->Name(), "BtnConnect");
    Ref<Control> copy(ref);
    ref = label;
    delete label;
    EXPECT_FALSE(ref);
    EXPECT_EQ(gone, 1);
    EXPECT_EQ(copy.get(), button);  // a copy keeps its own target, without the handler
    ref = button;
  }
  delete button;  // the references went first: nothing is told
  EXPECT_EQ(gone, 1);

  // A window destroys what it owns with the references still pointing there; a handler may
  // destroy other references to the same target, and a dying target cannot be pointed to.
  auto* form = new Component(nullptr, "FormProgress");
  auto* gauge = new Gauge(form, "GaugeProg");
  Ref<Component> toForm(form);
  auto second = std::make_unique<Ref<Gauge>>(gauge);
  auto toGauge = std::make_unique<Ref<Gauge>>(gauge);  // the newest is told first
  Ref<Gauge> late;
  toGauge->OnGone([&] {
    second.reset();
    late = gauge;
  });
  second->OnGone([] { ADD_FAILURE() << "a destroyed reference was told"; });
  delete form;
  EXPECT_FALSE(toForm);
  EXPECT_FALSE(*toGauge);
  EXPECT_FALSE(late);

  // A component may announce its end early and then free what it owns itself.
  struct Early : Component {
    Early() : Component(nullptr), child(new Component(this)) {}
    ~Early() override {
      AnnounceEnd();
      delete child;
    }
    Component* child;
  };
  auto* early = new Early;
  Ref<Component> toEarly(early);
  delete early;
  EXPECT_FALSE(toEarly);
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
