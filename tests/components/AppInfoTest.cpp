#include "components/VQelAppInfo.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/SettingsStore.h"
#include "common/TempDir.h"
#include "common/TestLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

using ui::Rect;
using Strings = std::vector<std::string>;

class AppInfoTest : public ::testing::Test {
 protected:
  AppInfoTest() {
    info->SetAppName("KX2 Init");
    app.GetDesktop().SetWorkArea(kArea);
  }

  ui::Form* AddForm(const std::string& name, Rect r, ui::Component* owner = nullptr) {
    auto* form = new ui::Form(owner != nullptr ? owner : &app, name);
    form->SetBounds(r.left, r.top, r.width, r.height);
    return form;
  }
  static std::string Key(const std::string& formName) {
    return "Software\\Qel\\KX2 Init\\Options\\Forms\\" + formName;
  }
  int Stored(const std::string& formName, const std::string& ident) const {
    return store->ReadInteger(Key(formName), ident, -999);
  }
  void Store(const std::string& formName, Rect r, int state = 1, int visible = -1) {
    SettingsStore::Batch batch(*store);
    store->WriteInteger(Key(formName), "Visible", visible);
    store->WriteInteger(Key(formName), "WindowState", state);
    store->WriteInteger(Key(formName), "Left", r.left);
    store->WriteInteger(Key(formName), "Top", r.top);
    store->WriteInteger(Key(formName), "Width", r.width);
    store->WriteInteger(Key(formName), "Height", r.height);
  }
  std::vector<ui::Form*> Stacking() { return app.GetDesktop().ZOrder(); }

  static constexpr Rect kArea{0, 0, 1000, 700};
  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  TempDir dir;
  std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>(dir / "KX2 Init.ini");
  ui::Application app;
  ui::Form* main = new ui::Form(&app, "FormMain");
  VQelAppInfo* info = new VQelAppInfo(main, store.get());
};

TEST_F(AppInfoTest, ConstructionAndProperties) {
  EXPECT_THROW(VQelAppInfo{&app}, std::invalid_argument);
  EXPECT_THROW(VQelAppInfo{nullptr}, std::invalid_argument);
  auto* panel = new ui::Panel(main, "Panel1");
  EXPECT_THROW((VQelAppInfo{panel, store.get()}), std::invalid_argument);

  VQelAppInfo fresh(main);
  EXPECT_EQ(fresh.AppName(), "[Unknown]");
  EXPECT_EQ(fresh.RegistryPath(), "Software\\Qel\\");
  EXPECT_EQ(&fresh.OwnerForm(), main);
  fresh.SetRegistryPath("Software\\Qel");
  EXPECT_EQ(fresh.RegistryPath(), "Software\\Qel\\");
  fresh.SetRegistryPath("Software\\Qel\\");
  EXPECT_EQ(fresh.RegistryPath(), "Software\\Qel\\");
  EXPECT_EQ(info->FormsKey(), "Software\\Qel\\KX2 Init\\Options\\Forms\\");

  // This program registers no splash window class: naming one stops the set-up, saying which.
  fresh.SetSplashFormClass("TFormSplash");
  try {
    fresh.Loaded();
    ADD_FAILURE() << "no error for an unregistered splash window class";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("TFormSplash"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("register"), std::string::npos);
  }
}

TEST_F(AppInfoTest, RegistryValuesKeepTheirTypes) {
  const std::string options = "Software\\Qel\\KX2 Init\\Options";
  info->SetRegistryPath("Software\\Qel");
  EXPECT_TRUE(info->WriteRegistryInteger("Options", "Count", 42));
  EXPECT_EQ(store->ValueType(options, "Count"), SettingsValueType::Integer);
  EXPECT_EQ(info->ReadRegistryInteger("Options", "Count", -1), 42);
  EXPECT_EQ(info->ReadRegistryString("Options", "Count", "x"), "42");

  // Integers equal to the values used to probe for a failed read still read as themselves.
  info->WriteRegistryInteger("Options", "Probe1", 8388609);
  info->WriteRegistryInteger("Options", "Probe2", 8388610);
  info->WriteRegistryInteger("Options", "Negative", -7);
  EXPECT_EQ(info->ReadRegistryString("Options", "Probe1", "x"), "8388609");
  EXPECT_EQ(info->ReadRegistryString("Options", "Probe2", "x"), "8388610");

  EXPECT_EQ(info->ReadRegistryString("Options", "Missing", "default"), "default");
  EXPECT_EQ(info->ReadRegistryInteger("Options", "Missing", 13), 13);

  EXPECT_TRUE(info->WriteRegistryString("Options", "Port", "/dev/ttyUSB0"));
  EXPECT_EQ(store->ValueType(options, "Port"), SettingsValueType::String);
  EXPECT_EQ(info->ReadRegistryString("Options", "Port", ""), "/dev/ttyUSB0");
  EXPECT_EQ(info->ReadRegistryInteger("Options", "Port", 5), 5);
  info->WriteRegistryString("Options", "Text17", "17");
  EXPECT_EQ(info->ReadRegistryInteger("Options", "Text17", 0), 17);
  EXPECT_EQ(store->ValueType(options, "Text17"), SettingsValueType::String);

  // Writing another type replaces the value's type.
  info->WriteRegistryInteger("Options", "Port", 3);
  EXPECT_EQ(store->ValueType(options, "Port"), SettingsValueType::Integer);
  EXPECT_EQ(info->ReadRegistryString("Options", "Port", ""), "3");

  // Everything is on disk with its type.
  SettingsStore again(store->FilePath());
  EXPECT_EQ(again.Read(options, "Count"), SettingsValue::Integer(42));
  EXPECT_EQ(again.Read(options, "Text17"), SettingsValue::String("17"));

  // Without a store: defaults, and writes say they failed.
  VQelAppInfo bare(main);
  bare.SetAppName("KX2 Init");
  EXPECT_EQ(bare.ReadRegistryInteger("Options", "Count", -1), -1);
  EXPECT_EQ(bare.ReadRegistryString("Options", "Count", "d"), "d");
  EXPECT_FALSE(bare.WriteRegistryInteger("Options", "Count", 1));
  EXPECT_FALSE(bare.savePositions());
}

TEST_F(AppInfoTest, StoreSurvivesGarbageAndAnUnwritableFolder) {
  const std::string options = "Software\\Qel\\KX2 Init\\Options";
  static const char kGarbage[] =
      "\xEF\xBB\xBF\x00\xFF\xFE[Options\x01\n=i:\n[Options]\nCount=i:12x\nName=s:Kept\n"
      "no equals sign\n\xC3(\xA0\n[\n]]]\nX=q:1\n";
  const std::string garbage(kGarbage, sizeof kGarbage - 1);
  WriteFile(dir / "damaged.ini", garbage);
  SettingsStore damaged(dir / "damaged.ini");
  info->SetSettingsStore(&damaged);
  EXPECT_EQ(info->ReadRegistryInteger("Options", "Count", 9), 9);
  EXPECT_EQ(info->ReadRegistryString("Options", "Name", ""), "Kept");
  EXPECT_TRUE(info->WriteRegistryInteger("Options", "Count", 4));
  EXPECT_EQ(SettingsStore(dir / "damaged.ini").ReadInteger(options, "Count", 0), 4);

  // The folder the file belongs in cannot be made (a plain file stands in its place): the write
  // reports the failure, the value holds for this run, nothing crashes.
  WriteFile(dir / "blocker", "not a folder");
  SettingsStore blocked(dir / "blocker/KX2 Init.ini");
  info->SetSettingsStore(&blocked);
  EXPECT_FALSE(info->WriteRegistryInteger("Options", "Count", 5));
  EXPECT_FALSE(info->WriteRegistryString("Options", "Name", "x"));
  EXPECT_EQ(info->ReadRegistryInteger("Options", "Count", 0), 5);
  main->Show();
  EXPECT_FALSE(info->savePositions());
  info->SetSettingsStore(store.get());
}

TEST_F(AppInfoTest, FirstRunEventFiresOnTheFirstTickOnce) {
  int fired = 0;
  info->OnApplRunning = [&](VQelAppInfo& sender) {
    ++fired;
    EXPECT_EQ(&sender, info);
    EXPECT_TRUE(sender.ApplRunning());
  };
  EXPECT_FALSE(info->ApplRunning());
  loop.RunPending();
  EXPECT_FALSE(info->ApplRunning());
  info->SetApplRunning(false);
  loop.Advance(1);
  EXPECT_TRUE(info->ApplRunning());
  EXPECT_EQ(fired, 1);
  loop.Advance(50);
  info->SetApplRunning(true);
  EXPECT_EQ(fired, 1);

  // Asked for before the first tick: runs at once.
  VQelAppInfo early(AddForm("FormOther", {}));
  bool earlyFired = false;
  early.OnApplRunning = [&](VQelAppInfo&) { earlyFired = true; };
  early.SetApplRunning(true);
  EXPECT_TRUE(earlyFired);
  EXPECT_TRUE(early.ApplRunning());
}

TEST_F(AppInfoTest, NestedLoopsHoldBackTheFirstRun) {
  Strings events;
  info->OnApplRunning = [&](VQelAppInfo&) { events.push_back("running"); };
  // A question at start-up, before the first tick. Its modal loop keeps the timers going while
  // it is open.
  loop.SetBoxHandler([&](const ui::HeadlessLoop::BoxCall& call) {
    events.push_back("box " + call.text);
    EXPECT_TRUE(info->InhibitApplRunning());
    loop.Advance(20);
    info->SetApplRunning(true);
    EXPECT_FALSE(info->ApplRunning());
    return ui::IDYES;
  });
  info->OnOwnerFirstShow = [&](VQelAppInfo& sender) {
    EXPECT_EQ(sender.MessageBox("Start?", ui::MB_YESNO | ui::MB_ICONQUESTION), ui::IDYES);
  };
  info->Loaded();
  main->Show();
  EXPECT_EQ(events, (Strings{"box Start?"}));
  ASSERT_EQ(loop.Boxes().size(), 1u);
  EXPECT_EQ(loop.Boxes()[0].caption, "KX2 Init");
  EXPECT_EQ(loop.Boxes()[0].flags, ui::MB_YESNO | ui::MB_ICONQUESTION);
  EXPECT_FALSE(info->InhibitApplRunning());
  EXPECT_FALSE(info->ApplRunning());

  // A pass of pending work holds it back as well.
  loop.Post([&] {
    EXPECT_TRUE(info->InhibitApplRunning());
    info->SetApplRunning(true);
  });
  info->ProcessMessages();
  EXPECT_FALSE(info->ApplRunning());
  EXPECT_FALSE(info->InhibitApplRunning());

  // A box fails half-way: the flag is restored all the same.
  loop.SetBoxHandler(
      [](const ui::HeadlessLoop::BoxCall&) -> int { throw std::runtime_error("box failed"); });
  EXPECT_THROW(info->MessageBox("x", ui::MB_OK), std::runtime_error);
  EXPECT_FALSE(info->InhibitApplRunning());
  loop.SetBoxHandler(nullptr);

  // A flag the program set itself stays set after a box or a pass.
  info->SetInhibitApplRunning(true);
  loop.AnswerNextBox(ui::IDCANCEL);
  EXPECT_EQ(info->MessageBox2("Own caption", "Text", ui::MB_OKCANCEL | ui::MB_ICONERROR),
            ui::IDCANCEL);
  EXPECT_EQ(loop.Boxes().back().caption, "Own caption");
  EXPECT_EQ(loop.Boxes().back().text, "Text");
  info->ProcessMessages();
  EXPECT_TRUE(info->InhibitApplRunning());
  loop.Advance(10);
  EXPECT_EQ(events, (Strings{"box Start?"}));

  info->SetInhibitApplRunning(false);
  loop.Advance(1);
  EXPECT_EQ(events, (Strings{"box Start?", "running"}));
  EXPECT_EQ(loop.UnexpectedBoxes(), 0);
}

TEST_F(AppInfoTest, FirstShowHookChainsTheWindowsOwnHandler) {
  Strings order;
  main->OnShow = [&](ui::Form& form) {
    EXPECT_EQ(&form, main);
    order.push_back("own");
  };
  info->OnOwnerFirstShow = [&](VQelAppInfo&) { order.push_back("first"); };
  info->Loaded();
  info->Loaded();  // a second call does not hook twice
  main->Show();
  EXPECT_EQ(order, (Strings{"first", "own"}));
  main->Hide();
  main->Show();
  EXPECT_EQ(order, (Strings{"first", "own", "own"}));

  // Freed before the window was ever shown: the window gets its own handler back.
  ui::Form* other = AddForm("FormOther", {});
  int shows = 0;
  other->OnShow = [&](ui::Form&) { ++shows; };
  auto* early = new VQelAppInfo(other);
  early->OnOwnerFirstShow = [&](VQelAppInfo&) { ADD_FAILURE() << "freed component called"; };
  early->Loaded();
  delete early;
  other->Show();
  EXPECT_EQ(shows, 1);
}

TEST_F(AppInfoTest, SaveWritesWindowsAndTheirStackingOrder) {
  main->SetBounds(10, 20, 300, 200);
  main->SetMinPosition({-32000, -32000});
  main->SetMaxPosition({-4, -4});
  ui::Form* b = AddForm("FormB", {50, 60, 200, 100});
  ui::Form* nested = AddForm("FormNested", {5, 5, 100, 100}, b);
  ui::Form* skip = AddForm("FormSkip", {1, 2, 3, 4});
  ui::Form* unnamed = AddForm("", {0, 0, 10, 10});
  auto* dockSite = new ui::Panel(main, "DockSite");
  dockSite->SetParent(main);
  ui::Form* docked = AddForm("FormDock", {30, 40, 250, 150});
  docked->ManualDock(dockSite);
  docked->SetBounds(0, 0, 100, 400);  // its size on the host; the undocked size stays
  info->SetExceptionList({"formskip"});

  std::vector<ui::Form*> handled;
  info->GetForms(app, handled);
  EXPECT_EQ(handled, (std::vector<ui::Form*>{main, nested, b, unnamed, docked}));

  loop.Advance(1);
  main->Show();
  b->Show();
  skip->Show();
  unnamed->Show();
  docked->Show();
  EXPECT_TRUE(info->savePositions());

  // Top-most first as stacked, then the windows the desktop does not stack, as collected.
  EXPECT_EQ(store->ReadString(Key(""), "ZOrder", ""), "FormB|FormMain|FormNested|FormDock");
  EXPECT_EQ(Stored("FormMain", "Visible"), -1);
  EXPECT_EQ(Stored("FormMain", "WindowState"), 1);
  EXPECT_EQ(Stored("FormMain", "MinLeft"), -32000);
  EXPECT_EQ(Stored("FormMain", "MaxTop"), -4);
  EXPECT_EQ(Stored("FormMain", "Left"), 10);
  EXPECT_EQ(Stored("FormMain", "Top"), 20);
  EXPECT_EQ(Stored("FormMain", "Width"), 300);
  EXPECT_EQ(Stored("FormMain", "Height"), 200);
  EXPECT_EQ(Stored("FormNested", "Visible"), 0);
  EXPECT_EQ(Stored("FormNested", "Width"), 100);
  EXPECT_EQ(Stored("FormDock", "Width"), 250);
  EXPECT_EQ(Stored("FormDock", "Height"), 150);
  EXPECT_EQ(store->ValueType(Key("FormDock"), "Left"), SettingsValueType::None);
  EXPECT_EQ(store->ValueType(Key("FormDock"), "Top"), SettingsValueType::None);
  EXPECT_FALSE(store->SectionExists(Key("FormSkip")));

  // The next run finds the same.
  SettingsStore nextRun(store->FilePath());
  EXPECT_EQ(nextRun.ReadInteger(Key("FormB"), "Left", 0), 50);
  EXPECT_EQ(nextRun.ValueType(Key("FormB"), "Visible"), SettingsValueType::Integer);
}

TEST_F(AppInfoTest, RestoreRebuildsTheStoredStackingOrder) {
  ui::Form* a = main;
  ui::Form* b = AddForm("FormB", {0, 0, 10, 10});
  ui::Form* c = AddForm("FormC", {0, 0, 10, 10});
  ui::Form* d = AddForm("FormD", {0, 0, 10, 10});
  info->SetExceptionList({"FORMD"});
  loop.Advance(1);
  for (ui::Form* f : {c, a, b, d}) f->Show();
  ASSERT_EQ(Stacking(), (std::vector<ui::Form*>{d, b, a, c}));

  Store("FormMain", {10, 20, 300, 200});
  Store("FormB", {30, 40, 300, 200});
  Store("FormC", {50, 60, 300, 200});
  Store("FormD", {999, 999, 300, 200});
  // Unknown names, empty entries and repeats are passed over; names compare exactly.
  store->WriteString(Key(""), "ZOrder", "FormC|Ghost||formb|FormMain|FormC");
  info->loadPositions();

  EXPECT_EQ(a->Bounds(), (Rect{10, 20, 300, 200}));
  EXPECT_EQ(b->Bounds(), (Rect{30, 40, 300, 200}));
  EXPECT_EQ(c->Bounds(), (Rect{50, 60, 300, 200}));
  EXPECT_EQ(d->Bounds(), (Rect{0, 0, 10, 10}));
  // B, not named, was restored first and ends below the named ones; D was not touched.
  EXPECT_EQ(Stacking(), (std::vector<ui::Form*>{c, a, b, d}));

  // A window stored as hidden is hidden once the program runs.
  Store("FormB", {30, 40, 300, 200}, 1, 0);
  info->loadPositions();
  EXPECT_FALSE(b->Visible());
  EXPECT_TRUE(c->Visible());
}

TEST_F(AppInfoTest, FirstRestoreFitsWindowsIntoTheWorkArea) {
  // The real start: positions are restored while the main window is being shown, before the
  // first-run event.
  info->OnOwnerFirstShow = [](VQelAppInfo& sender) { sender.loadPositions(); };
  info->Loaded();
  main->SetBounds(100, 100, 2000, 300);
  ui::Form* big = AddForm("FormBig", {900, 650, 1200, 800});
  ui::Form* off = AddForm("FormOff", {800, -20, 300, 200});
  ui::Form* known = AddForm("FormKnown", {800, 100, 300, 200});
  Store("FormKnown", {950, 100, 300, 200});
  store->WriteString(Key(""), "ZOrder", "FormMain");
  off->Show();
  main->Show();

  EXPECT_EQ(main->Bounds(), (Rect{0, 100, 1000, 300}));
  EXPECT_EQ(big->Bounds(), (Rect{0, 0, 1000, 700}));
  EXPECT_EQ(off->Bounds(), (Rect{700, 0, 300, 200}));
  // Stored positions are taken as they are.
  EXPECT_EQ(known->Bounds(), (Rect{950, 100, 300, 200}));
  // Before the first-run event, only windows already showing stay visible.
  EXPECT_TRUE(main->Visible());
  EXPECT_TRUE(off->Visible());
  EXPECT_FALSE(big->Visible());
  EXPECT_FALSE(known->Visible());
  EXPECT_EQ(Stacking().front(), main);

  // Without a known work area nothing is fitted.
  app.GetDesktop().SetWorkAreaKnown(false);
  ui::Form* later = AddForm("FormLater", {900, 650, 1200, 800});
  info->loadPositions();
  EXPECT_EQ(later->Bounds(), (Rect{900, 650, 1200, 800}));
}

TEST_F(AppInfoTest, MaximisedWindowKeepsItsNormalRectangle) {
  loop.Advance(1);
  ui::Form* m = AddForm("FormMax", {100, 100, 400, 300});
  m->Show();
  m->SetState(ui::WindowState::Maximized);
  ASSERT_TRUE(info->savePositions());
  EXPECT_EQ(Stored("FormMax", "WindowState"), 3);
  EXPECT_EQ(Stored("FormMax", "Left"), 100);
  EXPECT_EQ(Stored("FormMax", "Width"), 400);

  // Shown normal elsewhere, then restored: maximised again, the stored rectangle kept for later.
  m->SetState(ui::WindowState::Normal);
  m->SetBounds(0, 0, 50, 50);
  info->loadPositions();
  EXPECT_TRUE(m->Visible());
  EXPECT_EQ(m->State(), ui::WindowState::Maximized);
  EXPECT_EQ(m->Bounds(), kArea);
  EXPECT_EQ(m->NormalBounds(), (Rect{100, 100, 400, 300}));

  // The same for a window that stays hidden.
  m->Hide();
  m->SetState(ui::WindowState::Normal);
  m->SetBounds(0, 0, 50, 50);
  info->loadPositions(false, false);
  EXPECT_FALSE(m->Visible());
  EXPECT_EQ(m->State(), ui::WindowState::Maximized);
  m->SetState(ui::WindowState::Normal);
  EXPECT_EQ(m->Bounds(), (Rect{100, 100, 400, 300}));

  // Minimised with its stored minimised position.
  ui::Form* n = AddForm("FormMin", {5, 5, 100, 100});
  n->Show();
  Store("FormMin", {20, 30, 200, 150}, 2);
  store->WriteInteger(Key("FormMin"), "MinLeft", 7);
  store->WriteInteger(Key("FormMin"), "MinTop", 8);
  info->loadPositions();
  EXPECT_EQ(n->State(), ui::WindowState::Minimized);
  EXPECT_EQ(n->MinPosition(), (ui::Point{7, 8}));
  EXPECT_EQ(n->NormalBounds(), (Rect{20, 30, 200, 150}));
}

TEST_F(AppInfoTest, StoredSizes) {
  loop.Advance(1);
  // A window that cannot be resized keeps its size unless asked to take the stored one.
  ui::Form* dialog = AddForm("FormDialog", {0, 0, 200, 100});
  dialog->SetBorder(ui::BorderStyle::Dialog);
  Store("FormDialog", {10, 10, 500, 400});
  info->loadPositions();
  EXPECT_EQ(dialog->Bounds(), (Rect{10, 10, 200, 100}));
  info->SetResizeNonresizeable(true);
  info->loadPositions();
  EXPECT_EQ(dialog->Bounds(), (Rect{10, 10, 500, 400}));

  // Sizes no window can have are not applied.
  ui::Form* odd = AddForm("FormOdd", {0, 0, 200, 100});
  Store("FormOdd", {10, 10, -5, 0});
  info->loadPositions();
  EXPECT_EQ(odd->Bounds(), (Rect{10, 10, 200, 100}));

  // A docked window takes its stored size as its undocked size and stays where it is docked;
  // windows in the exception list are left alone.
  auto* dockSite = new ui::Panel(main, "DockSite");
  ui::Form* docked = AddForm("FormDock", {0, 0, 250, 150});
  docked->ManualDock(dockSite);
  docked->SetBounds(0, 0, 100, 400);
  Store("FormDock", {500, 500, 333, 222});
  ui::Form* excepted = AddForm("FormExcepted", {1, 2, 3, 4});
  excepted->SetBorder(ui::BorderStyle::Sizeable);
  Store("FormExcepted", {10, 10, 500, 400});
  info->SetExceptionList({"FormExcepted"});
  info->loadPositions();
  EXPECT_EQ(docked->UndockWidth(), 333);
  EXPECT_EQ(docked->UndockHeight(), 222);
  EXPECT_EQ(docked->Bounds(), (Rect{0, 0, 100, 400}));
  EXPECT_EQ(excepted->Bounds(), (Rect{1, 2, 3, 4}));
}

}  // namespace
