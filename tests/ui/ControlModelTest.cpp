#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/TestLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"

using namespace ui;

namespace {

struct Fixture : ::testing::Test {
  TestLoop loop{HeadlessLoop::Clock::Virtual};
  Application app;
  Form* form = new Form(&app, "FormMain");
  void SetUp() override { form->Show(); }  // people only act on windows they see
};

// Records events as "Name:event[:user]".
struct Log {
  std::vector<std::string> lines;
  void Hook(Control& c) {
    c.OnChange = [this](Control& s) { Add(s, "change"); };
    c.OnClick = [this](Control& s) { Add(s, "click"); };
    c.OnEnter = [this](Control& s) { Add(s, "enter"); };
    c.OnExit = [this](Control& s) { Add(s, "exit"); };
  }
  void Add(Control& s, const char* what) {
    lines.push_back(s.Name() + ":" + what + (s.InUserAction() ? ":user" : ""));
  }
};

}  // namespace

TEST(Component, OwnershipDestroysOwnedAndFindsByNameCaseInsensitively) {
  std::vector<std::string> destroyed;
  struct Probe : Component {
    Probe(Component* o, std::string n, std::vector<std::string>& log)
        : Component(o, std::move(n)), log_(log) {}
    ~Probe() override { log_.push_back(Name()); }
    std::vector<std::string>& log_;
  };
  auto* root = new Component(nullptr, "root");
  auto* a = new Probe(root, "Alpha", destroyed);
  auto* b = new Probe(a, "Beta", destroyed);
  new Probe(root, "Gamma", destroyed);
  EXPECT_EQ(root->FindComponent("alpha"), a);
  EXPECT_EQ(root->FindComponent("beta"), nullptr);  // not directly owned
  EXPECT_EQ(root->FindDeep("BETA"), b);
  EXPECT_EQ(root->FindDeep(""), nullptr);
  delete b;  // an owned component destroyed early leaves its owner's list
  EXPECT_EQ(a->ComponentCount(), 0);
  delete root;
  // Last created first.
  EXPECT_EQ(destroyed, (std::vector<std::string>{"Beta", "Gamma", "Alpha"}));
}

TEST_F(Fixture, EditRaisesChangeForCodeAndUserAndHonoursMaxLengthForTypingOnly) {
  auto* edit = new Edit(form, "EditName");
  edit->SetParent(form);
  Log log;
  log.Hook(*edit);
  edit->SetText("abc");
  edit->SetText("abc");  // same text: no event
  EXPECT_EQ(log.lines, (std::vector<std::string>{"EditName:change"}));

  std::string withZero("+420\0rest", 9);
  edit->SetText(withZero);
  EXPECT_EQ(edit->Text(), "+420");

  edit->SetMaxLength(5);
  log.lines.clear();
  edit->UserReplace("123456789");
  EXPECT_EQ(edit->Text(), "12345");
  ASSERT_FALSE(log.lines.empty());
  EXPECT_EQ(log.lines.front(), "EditName:enter:user");
  EXPECT_EQ(log.lines.back(), "EditName:change:user");

  edit->SetText("longer than five");  // code ignores the typing limit
  EXPECT_EQ(edit->Text(), "longer than five");

  edit->SetMaxLength(0);
  edit->SetText("ab");
  edit->SetSelStart(2);
  edit->UserKey('\b');
  EXPECT_EQ(edit->Text(), "a");
  edit->UserKeyDown(VK_HOME);
  edit->UserKeyDown(VK_DELETE);
  EXPECT_EQ(edit->Text(), "");
}

TEST_F(Fixture, KeyHandlersMayReplaceOrDiscardKeysAndSeeEnterAndEscape) {
  auto* edit = new Edit(form, "E");
  edit->SetParent(form);
  std::vector<int> seen;
  edit->OnKeyPress = [&](Control&, char& key) {
    seen.push_back(static_cast<unsigned char>(key));
    if (key == ' ') key = 0;                  // no spaces
    if (key >= 'a' && key <= 'z') key -= 32;  // upper case
  };
  edit->UserReplace("a b");
  EXPECT_EQ(edit->Text(), "AB");
  seen.clear();
  edit->UserKey('\r');
  edit->UserKey(0x1B);
  EXPECT_EQ(seen, (std::vector<int>{13, 27}));
  EXPECT_EQ(edit->Text(), "AB");

  edit->SetEnabled(false);
  edit->UserType("x");
  EXPECT_EQ(edit->Text(), "AB");  // a disabled edit takes no keys
  edit->SetEnabled(true);
  form->SetEnabled(false);
  edit->UserType("x");
  EXPECT_EQ(edit->Text(), "AB");  // nor one on a disabled form
}

TEST_F(Fixture, CheckBoxCyclesLikeTheToolkitAndCodeChangesClick) {
  auto* box = new CheckBox(form, "Check");
  box->SetParent(form);
  Log log;
  log.Hook(*box);
  box->UserClick();
  EXPECT_EQ(box->State(), CheckState::Checked);
  box->UserClick();
  EXPECT_EQ(box->State(), CheckState::Unchecked);
  box->SetAllowGrayed(true);
  box->UserClick();
  EXPECT_EQ(box->State(), CheckState::Grayed);
  box->UserClick();
  EXPECT_EQ(box->State(), CheckState::Checked);
  EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "Check:click:user"), 4);

  log.lines.clear();
  box->SetState(CheckState::Checked);  // no change, no click
  box->SetChecked(false);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Check:click"}));
  box->SetClicksDisabled(true);
  box->SetState(CheckState::Grayed);
  EXPECT_EQ(log.lines.size(), 1u);
}

TEST_F(Fixture, RadioButtonsExcludeSiblingsAndRadioGroupClicksOnChange) {
  auto* panel = new Panel(form, "P");
  panel->SetParent(form);
  auto* r1 = new RadioButton(form, "R1");
  auto* r2 = new RadioButton(form, "R2");
  auto* other = new RadioButton(form, "Other");
  r1->SetParent(panel);
  r2->SetParent(panel);
  other->SetParent(form);
  other->SetChecked(true);
  Log log;
  log.Hook(*r1);
  log.Hook(*r2);
  r1->SetChecked(true);
  r2->UserClick();
  r2->UserClick();  // already checked: nothing more
  EXPECT_FALSE(r1->Checked());
  EXPECT_TRUE(r2->Checked());
  EXPECT_TRUE(other->Checked());  // another parent is another group
  EXPECT_EQ(log.lines, (std::vector<std::string>{"R1:click", "R2:enter:user", "R2:click:user"}));

  auto* group = new RadioGroup(form, "RGroup");
  group->SetParent(form);
  group->SetItems({"Basic", "Advanced", "Expert"});
  int clicks = 0;
  group->OnClick = [&](Control&) { ++clicks; };
  group->SetItemIndex(1);
  group->SetItemIndex(1);
  group->UserSelect(2);
  group->SetItems({"Zakladni", "Pokrocily", "Expert"});  // translation keeps the index
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(group->ItemIndex(), 2);
}

TEST_F(Fixture, ComboBoxSelectionTypingAndCodeChanges) {
  auto* combo = new ComboBox(form, "ComboSCA");
  combo->SetParent(form);
  combo->SetItems({"Alpha +420111", "Beta +420222"});
  Log log;
  log.Hook(*combo);
  combo->SetItemIndex(1);  // code: no change event
  EXPECT_EQ(combo->Text(), "Beta +420222");
  EXPECT_TRUE(log.lines.empty());
  combo->UserSelect(0);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(log.lines.back(), "ComboSCA:change:user");
  combo->UserReplace("+420999");
  EXPECT_EQ(combo->Text(), "+420999");
  EXPECT_EQ(combo->ItemIndex(), -1);
  combo->SetComboText("Beta +420222");
  EXPECT_EQ(combo->ItemIndex(), 1);

  auto* list = new ComboBox(form, "ComboLanguage");
  list->SetParent(form);
  list->SetStyle(ComboStyle::DropDownList);
  list->SetItems({"Čeština", "English"});
  list->UserReplace("typed");  // a drop-down list takes no text
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetComboText("English");
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(list->Text(), "English");
}

// The port box: each entry may carry a description; picking the entry puts only the entry
// into the box, and the descriptions follow every way the list changes.
TEST_F(Fixture, ComboBoxDescriptionsStayWithTheirEntries) {
  auto* combo = new ComboBox(form, "ComboComm");
  combo->SetParent(form);
  combo->SetItems({"/dev/ttyS0", "/dev/ttyUSB0"}, {"", std::string("usb-Maker\0junk", 14)});
  EXPECT_EQ(combo->ItemDescriptions(), (std::vector<std::string>{"", "usb-Maker"}));
  combo->UserSelect(1);
  EXPECT_EQ(combo->Text(), "/dev/ttyUSB0");
  combo->AddItem("/dev/ttyACM0");
  EXPECT_EQ(combo->ItemDescriptions(), (std::vector<std::string>{"", "usb-Maker", ""}));
  combo->SetItems({"/dev/ttyACM0"}, {"usb-Modem", "surplus"});
  EXPECT_EQ(combo->ItemDescriptions(), std::vector<std::string>{"usb-Modem"});
  combo->SetItems({"/dev/ttyS1", "/dev/ttyS2"});  // new entries: nothing to say about them
  EXPECT_EQ(combo->ItemDescriptions(), (std::vector<std::string>{"", ""}));
  combo->ClearItems();
  EXPECT_TRUE(combo->ItemDescriptions().empty());
}

TEST_F(Fixture, FocusRaisesExitBeforeEnterAndTabFollowsCreationOrder) {
  auto* a = new Edit(form, "A");
  auto* b = new Edit(form, "B");
  auto* hidden = new Edit(form, "Hidden");
  auto* c = new CheckBox(form, "C");
  for (Control* x : std::vector<Control*>{a, b, hidden, c}) x->SetParent(form);
  hidden->SetVisible(false);
  Log log;
  for (Control* x : std::vector<Control*>{a, b, c}) log.Hook(*x);
  form->UserFocusNext();
  form->UserFocusNext();
  form->UserFocusNext();
  EXPECT_EQ(form->ActiveControl(), c);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"A:enter:user", "A:exit", "B:enter:user", "B:exit",
                                                 "C:enter:user"}));
  form->UserFocusNext();
  EXPECT_EQ(form->ActiveControl(), a);  // wraps around
  delete a;                             // a destroyed control loses the focus safely
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST_F(Fixture, PageControlOrderActivePageAndHiddenTabs) {
  auto* pages = new PageControl(form, "PageControl1");
  pages->SetParent(form);
  std::vector<TabSheet*> sheets;
  for (const char* name : {"SheetGeneral", "SheetNumbers", "SheetDIns"}) {
    auto* sheet = new TabSheet(form, name);
    sheet->SetPageControl(pages);
    sheets.push_back(sheet);
  }
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  sheets[0]->SetPageIndex(2);
  EXPECT_EQ(pages->Pages(), (std::vector<TabSheet*>{sheets[1], sheets[2], sheets[0]}));
  sheets[1]->SetTabVisible(false);
  pages->UserSelectPage(sheets[1]);  // a hidden tab cannot be picked
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  int changes = 0;
  pages->OnChange = [&](Control&) { ++changes; };
  pages->UserSelectPage(sheets[2]);
  EXPECT_EQ(changes, 1);
  delete sheets[2];
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_NE(pages->ActivePage(), nullptr);
}

TEST_F(Fixture, ButtonsEndModalFormsAndCloseFollowsQueryAndAction) {
  auto* dialog = new Form(&app, "FormOptions");
  auto* ok = new Button(dialog, "BtnOK");
  ok->SetParent(dialog);
  ok->SetModalResult(mrOk);
  loop.OnNextModal([&](Form& f) {
    EXPECT_EQ(&f, dialog);
    EXPECT_TRUE(f.Visible());
    ok->UserClick();
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_EQ(loop.UnexpectedModals(), 0);

  // Nobody answers: the loop gives up after its limit instead of hanging.
  loop.SetModalLimitMs(100);
  EXPECT_NONFATAL_FAILURE(EXPECT_EQ(dialog->ShowModal(), mrCancel),
                          "unexpected modal form FormOptions");
  EXPECT_EQ(loop.UnexpectedModals(), 1);

  bool allow = false;
  form->OnCloseQuery = [&](Form&, bool& canClose) { canClose = allow; };
  form->Show();
  form->Close();
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(app.Terminated());
  allow = true;
  form->OnClose = [](Form&, CloseAction& action) { action = CloseAction::None; };
  form->Close();
  EXPECT_TRUE(form->Visible());
  form->OnClose = nullptr;
  form->Close();  // the main form frees itself and ends the program
  EXPECT_TRUE(form->FreeRequested());
  EXPECT_TRUE(app.Terminated());
}

TEST_F(Fixture, FormPlacementKeepsNormalRectangleWhileMaximised) {
  form->SetBounds(10, 20, 300, 200);
  form->SetState(WindowState::Maximized);
  EXPECT_EQ(form->Bounds(), app.GetDesktop().WorkArea());
  form->SetNormalBounds({5, 6, 100, 50});
  EXPECT_EQ(form->Bounds(), app.GetDesktop().WorkArea());
  form->SetState(WindowState::Normal);
  EXPECT_EQ(form->Bounds(), (Rect{5, 6, 100, 50}));

  bool refuse = true;
  form->OnCanResize = [&](Form&, int&, int&, bool& resize) { resize = !refuse; };
  form->SetBounds(7, 8, 999, 999);
  EXPECT_EQ(form->Bounds(), (Rect{7, 8, 100, 50}));  // moved, not resized

  auto* second = new Form(&app, "FormAbout");
  form->Show();
  second->Show();
  EXPECT_EQ(app.GetDesktop().ZOrder(), (std::vector<Form*>{second, form}));
  form->BringToFront();
  EXPECT_EQ(app.GetDesktop().ZOrder().front(), form);
  EXPECT_EQ(app.MainForm(), form);
}

TEST_F(Fixture, WindowsAppearWhereTheirPositionSaysEachTimeTheyAreShown) {
  form->SetBounds(100, 50, 600, 400);
  auto* dialog = new Form(&app, "FormOptions");
  dialog->SetBounds(0, 0, 200, 100);
  dialog->SetPosition(FormPosition::MainFormCenter);
  dialog->Show();
  EXPECT_EQ(dialog->Bounds(), (Rect{300, 200, 200, 100}));
  // Moved by the user while shown, it stays; shown again, it is centred over the main window
  // where that is now.
  dialog->SetBounds(5, 5, 200, 100);
  dialog->Show();
  EXPECT_EQ(dialog->Left(), 5);
  dialog->Hide();
  form->SetBounds(0, 0, 600, 400);
  dialog->Show();
  EXPECT_EQ(dialog->Bounds(), (Rect{200, 150, 200, 100}));
  dialog->Hide();

  // Without a visible main window, and for a screen-centred one: the work area's centre.
  const Rect area = app.GetDesktop().WorkArea();
  const Rect centred{area.left + (area.width - 200) / 2, area.top + (area.height - 100) / 2, 200,
                     100};
  form->Hide();
  dialog->Show();
  EXPECT_EQ(dialog->Bounds(), centred);
  dialog->Hide();
  form->Show();
  dialog->SetPosition(FormPosition::ScreenCenter);
  dialog->Show();
  EXPECT_EQ(dialog->Bounds(), centred);
  dialog->Hide();
  // Designed: where its bounds put it.
  dialog->SetPosition(FormPosition::Designed);
  dialog->SetBounds(12, 34, 200, 100);
  dialog->Show();
  EXPECT_EQ(dialog->Bounds(), (Rect{12, 34, 200, 100}));

  // The client area is what the frame (and a menu bar) leave of the outer size.
  EXPECT_EQ(dialog->ClientWidth(), 192);
  EXPECT_EQ(dialog->ClientHeight(), 73);
}

TEST_F(Fixture, MenuItemsFormATreeAndOnlyEnabledLeavesClick) {
  auto* file = new MenuItem(form, "MenuFile");
  auto* exit = new MenuItem(form, "MenuFileExit", file);
  auto* help = new MenuItem(form, "MenuHelp");
  int clicks = 0;
  exit->OnClick = [&](MenuItem&) { ++clicks; };
  exit->UserClick();
  file->SetEnabled(false);
  exit->UserClick();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->MenuBar(), (std::vector<MenuItem*>{file, help}));
  EXPECT_EQ(exit->MenuIndex(), 0);
  help->SetRightJustify(true);
  EXPECT_TRUE(help->RightJustify());
}

// A view sees every control placed on its form and every change, including controls created
// after the view was attached (pages built at start-up).
TEST_F(Fixture, ViewIsToldOfAddedChangedAndRemovedControls) {
  struct RecordingView : FormView {
    std::vector<std::string> log;
    void ControlAdded(Control& c) override { log.push_back("+" + c.Name()); }
    void ControlRemoved(Control& c) override { log.push_back("-" + c.Name()); }
    void ControlChanged(Control& c, Prop what) override {
      if (what == Prop::Text) log.push_back("~" + c.Name());
    }
  } view;
  form->SetView(&view);
  auto* panel = new Panel(form, "Panel");
  auto* label = new Label(form, "Label");
  label->SetParent(panel);  // not on the form yet: nothing to tell
  panel->SetParent(form);
  auto* late = new Label(form, "Late");
  late->SetParent(panel);
  late->SetText("x");
  delete late;
  EXPECT_EQ(view.log, (std::vector<std::string>{"+Panel", "+Late", "~Late", "-Late"}));
  form->SetView(nullptr);
}

TEST_F(Fixture, EnterAndEscapeClickDefaultAndCancelButtonsAndHandlersMayFreeTheirControl) {
  auto* edit = new Edit(form, "E");
  auto* memo = new Memo(form, "M");
  auto* ok = new Button(form, "BtnOK");
  auto* cancel = new Button(form, "BtnCancel");
  for (Control* c : std::vector<Control*>{edit, memo, ok, cancel}) c->SetParent(form);
  ok->SetDefault(true);
  cancel->SetCancel(true);
  std::vector<std::string> clicks;
  ok->OnClick = [&](Control&) { clicks.push_back("ok"); };
  cancel->OnClick = [&](Control& self) {
    clicks.push_back("cancel");
    delete &self;  // a handler that frees its own button
  };
  edit->UserKey('\r');
  memo->UserFocus();
  memo->UserKey('\r');  // a memo takes its returns
  EXPECT_EQ(memo->Text(), "\r\n");
  edit->UserKey(0x1B);
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel"}));
  EXPECT_EQ(form->FindComponent("BtnCancel"), nullptr);
}
