#include "components/VQelTerminal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "TerminalRender.h"
#include "base/Cp1250.h"
#include "common/TestLoop.h"

namespace {

class TerminalTest : public ::testing::Test {
 protected:
  TerminalTest() {
    main->SetBounds(0, 0, 660, 500);
    pages->SetParent(main);
    pages->SetBounds(4, 4, 648, 420);
    for (ui::TabSheet* sheet : {general, numbers}) {
      sheet->SetBounds(0, 0, 640, 392);
      sheet->SetPageControl(pages);
    }
    term->SetParentPageControl(pages);
    term->OnTermSendData = [this](const uint8_t* data, int count) {
      sent.emplace_back(reinterpret_cast<const char*>(data), count);
    };
    term->OnDocked = [this](ui::TabSheet& sheet) { docks.push_back(&sheet); };
    main->Show();
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (const auto& line : term->RichEdit()->Lines()) out.push_back(Render(line));
    return out;
  }
  void Add(std::vector<uint8_t> bytes, int type, bool line = true) {
    if (line)
      term->addLine(bytes.data(), static_cast<int>(bytes.size()), type);
    else
      term->addChars(bytes.data(), static_cast<int>(bytes.size()), type);
  }

  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  ui::Application app;
  ui::Form* main = new ui::Form(&app, "FormMain");
  ui::PageControl* pages = new ui::PageControl(main, "PageControl1");
  ui::TabSheet* general = new ui::TabSheet(main, "SheetGeneral");
  ui::TabSheet* numbers = new ui::TabSheet(main, "SheetNumbers");
  VQelTerminal* term = new VQelTerminal(main, "VQelTerminal1");
  std::vector<std::string> sent;
  std::vector<ui::TabSheet*> docks;
};

// How each type is written is the history's (TerminalHistoryTest); the terminal writes the
// traffic into its window's history.
TEST_F(TerminalTest, TrafficGoesIntoTheWindowsHistory) {
  term->Loaded();
  Add({'A', 'T', 0x0D}, VQelTerminal_ltOutLine);
  Add({0x21}, VQelTerminal_ltInBin, false);
  EXPECT_FALSE(term->startingNewLine());

  // The device module's sink shows each call as a line of its own.
  TerminalSink* sink = term;
  const uint8_t reply[] = {0x06, 0x0D};
  sink->AddBytes(reply, 2, VQelTerminal_ltInBin);
  sink->AddBytes(reply, 1, VQelTerminal_ltInBin);
  EXPECT_EQ(Lines(), (std::vector<std::string>{" - AT@black|<#0D>@blue",
                                               "+ # 21 06 0D@blue",  // continued the open line
                                               "+ # 06@blue"}));
  EXPECT_TRUE(term->startingNewLine());
  EXPECT_EQ(term->RichEdit()->PlainText(), " - AT<#0D>\r\n+ # 21 06 0D\r\n+ # 06\r\n");
}

TEST_F(TerminalTest, TimingBoxesShowTheGapsBetweenLines) {
  loop.SetVirtualTime(0xFFFFFF00u);  // across the wrap of the tick count
  term->Loaded();
  EXPECT_FALSE(term->DebugInTime()->Visible());
  EXPECT_FALSE(term->DebugOutTime()->Visible());
  term->SetDebugWindowsVisible(true);
  EXPECT_TRUE(term->DebugInTime()->Visible());
  EXPECT_TRUE(term->DebugOutTime()->Visible());
  EXPECT_FALSE(term->DebugInTime()->Enabled());

  Add({1}, VQelTerminal_ltInBin);
  EXPECT_EQ(term->DebugInTime()->Text(), "2000");
  loop.Advance(400);
  Add({2}, VQelTerminal_ltOutBin);
  EXPECT_EQ(term->DebugOutTime()->Text(), "400");
  loop.Advance(50);
  Add({'r'}, VQelTerminal_ltExtra);  // remarks do not count
  loop.Advance(25);
  Add({'t'}, VQelTerminal_ltInLine, false);
  loop.Advance(10);
  Add({'u'}, VQelTerminal_ltInLine, false);  // same line: no new gap
  EXPECT_EQ(term->DebugInTime()->Text(), "75");
  EXPECT_EQ(term->DebugOutTime()->Text(), "400");
}

TEST_F(TerminalTest, MaxLinesReachesTheHistory) {
  term->SetMaxLines(2);
  for (const char* text : {"a", "b", "c"}) term->addLine(text, VQelTerminal_ltInLine);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"+ b@black", "+ c@black"}));
}

TEST_F(TerminalTest, TypedKeysGoToTheInputLineAndTerminatorsSend) {
  term->SetVisible(true);
  term->Loaded();
  ui::Edit* input = term->ManualLine();

  input->UserType("ATZ\r");
  input->UserType("ATZ\x1b");
  input->UserType("ATZ\x1a");
  input->UserType("AT\r");  // the terminator is used once
  EXPECT_EQ(sent, (std::vector<std::string>{"ATZ\r", "ATZ\x1b", "ATZ\x1a", "AT\r"}));
  EXPECT_EQ(input->Text(), "");

  // Keys reach the input line wherever the focus is; Backspace edits the focused control; a
  // blank on a focused button is left to the button.
  sent.clear();
  term->BtnDirect()->UserFocus();
  term->BtnDirect()->UserKey('O');
  term->BtnDirect()->UserKey(' ');
  term->RichEdit()->UserFocus();
  term->RichEdit()->UserKey('K');
  term->RichEdit()->UserKey(' ');
  EXPECT_EQ(input->Text(), "OK ");
  input->UserFocus();
  input->UserKey('\b');
  input->SetSelStart(1);
  input->UserKey('-');
  EXPECT_EQ(input->Text(), "O-K");
  term->TermForm()->UserKey('\r');
  EXPECT_EQ(sent, (std::vector<std::string>{"O-K\r"}));
}

TEST_F(TerminalTest, SendDirectlyAndClearButtons) {
  term->SetVisible(true);
  term->Loaded();
  ui::Edit* input = term->ManualLine();
  EXPECT_TRUE(term->SendLinebutton()->IsDefault());

  term->SendLinebutton()->UserClick();  // an empty line still sends its CR
  input->UserType("AT+CSQ");
  term->BtnDirect()->UserClick();
  term->BtnDirect()->UserClick();  // nothing left to send
  input->UserType(Win1250("žluť"));
  term->SendLinebutton()->UserClick();
  EXPECT_EQ(sent, (std::vector<std::string>{"\r", "AT+CSQ", Win1250("žluť") + "\r"}));

  input->UserType("x");
  input->SelectAll();
  term->unselectManualLine();
  EXPECT_EQ(input->SelStart(), 1);
  EXPECT_EQ(input->SelLength(), 0);

  // Clear empties the history (only); what comes next starts a line with its prefix even when
  // it is of the type that was open.
  Add({1}, VQelTerminal_ltInBin, false);
  term->ClearButton()->UserClick();
  EXPECT_EQ(term->RichEdit()->LineCount(), 0);
  EXPECT_EQ(input->Text(), "x");
  Add({2}, VQelTerminal_ltInBin, false);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"+ # 02@blue"}));
}

TEST_F(TerminalTest, WindowAndControlsAreNamedAfterTheComponent) {
  term->SetModeItems({"A", "B"});
  term->SetModeIndex(7);
  term->Loaded();
  ui::Form* form = term->TermForm();
  EXPECT_EQ(main->FindDeep("VQelTerminal1_Form"), form);
  for (const char* name : {"_RichEdit", "_ManualLine", "_RGroupMode", "_SendLinebutton",
                           "_BtnDirect", "_Clear", "_BtnUndock", "_DebugInTime", "_DebugOutTime"})
    EXPECT_NE(main->FindDeepAs<ui::Control>(std::string("VQelTerminal1") + name), nullptr) << name;
  EXPECT_EQ(form->Text(), Win1250("Terminál"));
  EXPECT_EQ(term->SendLinebutton()->Hint(), Win1250("Odeslat s odřádkováním"));
  EXPECT_TRUE(term->FormIs(form));
  EXPECT_FALSE(term->FormIs(main));

  // The mode selector stays hidden; its index is clamped to its entries.
  EXPECT_FALSE(term->RGroupMode()->Visible());
  EXPECT_EQ(term->GetModeIndex(), 1);
  term->SetModeIndex(-5);
  EXPECT_EQ(term->GetModeIndex(), -1);
}

TEST_F(TerminalTest, DocksIntoThePageControlAndFloats) {
  term->Loaded();
  ui::Form* form = term->TermForm();
  ui::TabSheet* sheet = term->DockSheet();
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(term->GetDocked());
  EXPECT_EQ(form->HostDockSite(), sheet);
  EXPECT_EQ(sheet->PageControlOf(), pages);
  EXPECT_EQ(docks, std::vector<ui::TabSheet*>{sheet});
  EXPECT_EQ(sheet->Text(), form->Text());
  form->SetText("Terminal");  // as a language switch does
  term->RefreshPageCaption();
  EXPECT_EQ(sheet->Text(), "Terminal");
  EXPECT_TRUE(term->BtnUndock()->Enabled());
  // Hidden by default: its tab too. The docked window fills its page; the history grows.
  EXPECT_FALSE(sheet->TabVisible());
  EXPECT_EQ(form->Bounds(), (ui::Rect{0, 0, 640, 392}));
  EXPECT_EQ(term->RichEdit()->Bounds(), (ui::Rect{0, 0, 638, 299}));
  EXPECT_EQ(term->BtnUndock()->Top(), 362);

  term->SetVisible(true);
  EXPECT_TRUE(sheet->TabVisible());
  pages->SetActivePage(sheet);
  term->SetVisible(false);
  EXPECT_EQ(pages->ActivePage(), general);  // a hidden tab does not stay shown
  term->SetVisible(true);

  // Remembered floating place while docked; Undock puts the window there.
  EXPECT_EQ(term->GetFormLeft(), 500);
  term->SetFormLeft(120);
  term->SetFormTop(80);
  EXPECT_EQ(term->GetFormWidth(), 400);
  EXPECT_EQ(form->Left(), 0);
  term->BtnUndock()->UserClick();
  EXPECT_FALSE(term->GetDocked());
  EXPECT_EQ(term->DockSheet(), nullptr);
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(form->Bounds(), (ui::Rect{120, 80, 400, 450}));
  // Floating, the rows keep to the bottom of the client area the window's frame leaves.
  EXPECT_EQ(form->ClientHeight(), 423);
  EXPECT_EQ(term->ManualLine()->Top(), 331);
  EXPECT_EQ(term->BtnUndock()->Top() + term->BtnUndock()->Height(), form->ClientHeight() - 5);
  EXPECT_EQ(term->ManualLine()->Width(), form->ClientWidth() - 2);
  EXPECT_FALSE(term->BtnUndock()->Enabled());
  EXPECT_TRUE(term->GetVisible());

  // While floating the position is read and set live.
  form->SetBounds(200, 100, 500, 460);
  EXPECT_EQ(term->GetFormLeft(), 200);
  term->SetFormTop(150);
  EXPECT_EQ(form->Top(), 150);

  term->SetDocked(true);
  EXPECT_TRUE(term->GetDocked());
  EXPECT_EQ(term->GetFormLeft(), 200);
  EXPECT_EQ(term->GetFormWidth(), 500);
  EXPECT_EQ(pages->Pages().back(), term->DockSheet());
  EXPECT_TRUE(term->DockSheet()->TabVisible());
  term->SetDocked(false);
  EXPECT_EQ(form->Bounds(), (ui::Rect{200, 150, 500, 460}));

  // A stored place off the screen is brought back onto it.
  term->SetDocked(true);
  term->SetFormLeft(5000);
  term->SetDocked(false);
  EXPECT_LE(form->Bounds().Right(), app.GetDesktop().WorkArea().Right());
}

TEST_F(TerminalTest, ClosingTheFloatingWindowFollowsTheCloseAction) {
  term->SetVisible(true);
  term->Loaded();
  ui::Form* form = term->TermForm();

  term->SetDocked(false);
  form->UserClose();  // trmcaDock: back into its page, still open
  EXPECT_TRUE(term->GetDocked());
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(term->DockSheet()->TabVisible());

  term->SetTermCloseAction(trmcaHide);
  term->SetDocked(false);
  form->UserClose();
  EXPECT_FALSE(term->GetDocked());
  EXPECT_FALSE(term->GetVisible());

  // Without a page control there is nowhere to dock: the window hides rather than stay open.
  term->SetTermCloseAction(trmcaDock);
  term->SetParentPageControl(nullptr);
  term->SetVisible(true);
  form->UserClose();
  EXPECT_FALSE(term->GetVisible());
  term->SetDocked(true);
  EXPECT_FALSE(term->GetDocked());

  term->SetParentPageControl(pages);
  term->SetDocked(false);
  term->SetTermCloseAction(trmcaFree);
  form->UserClose();
  loop.RunPending();
  EXPECT_EQ(term->TermForm(), nullptr);
  EXPECT_EQ(term->GetParentPageControl(), nullptr);
  EXPECT_EQ(pages->PageCount(), 2);
  Add({1}, VQelTerminal_ltInBin);  // the traffic has nowhere to go, and that is fine
  term->SetDocked(true);
  EXPECT_FALSE(term->GetDocked());
}

TEST_F(TerminalTest, ComponentsMayGoInAnyOrder) {
  term->SetVisible(true);
  term->Loaded();
  // The page control goes first: the window floats on.
  delete pages;
  EXPECT_EQ(term->GetParentPageControl(), nullptr);
  EXPECT_FALSE(term->GetDocked());
  EXPECT_EQ(term->DockSheet(), nullptr);

  // The window goes first: the component forgets it.
  delete term->TermForm();
  EXPECT_EQ(term->TermForm(), nullptr);
  EXPECT_FALSE(term->GetVisible());
  term->addLine("x", VQelTerminal_ltInLine);

  // As in the program: the terminal created before the page control it docks into, and both
  // destroyed with their window while docked.
  auto* owner = new ui::Form(&app, "Other");
  auto* terminal = new VQelTerminal(owner, "VQelTerminal2");
  auto* pc = new ui::PageControl(owner, "Pages");
  pc->SetParent(owner);
  terminal->SetParentPageControl(pc);
  terminal->Loaded();
  EXPECT_TRUE(terminal->GetDocked());
  delete owner;
}

// The terminal's own handlers may run code that destroys its page control or its window; it goes
// on without them.
TEST_F(TerminalTest, PartsDestroyedInsideItsOwnHandlersLeaveNothingDangling) {
  term->SetVisible(true);
  term->Loaded();
  term->BtnUndock()->UserClick();
  ui::Form* form = term->TermForm();

  // Docking back, the owner's OnDocked destroys the page control the page was just put into.
  term->OnDocked = [this](ui::TabSheet&) {
    delete pages;
    pages = nullptr;
  };
  term->SetDocked(true);
  EXPECT_FALSE(term->GetDocked());
  EXPECT_EQ(term->DockSheet(), nullptr);
  EXPECT_EQ(term->GetParentPageControl(), nullptr);
  EXPECT_FALSE(term->BtnUndock()->Enabled());
  EXPECT_EQ(form->Parent(), nullptr);

  // The Send click's handler frees the window while the click is still being handled.
  term->OnTermSendData = [this](const uint8_t*, int) { delete term->TermForm(); };
  term->ManualLine()->UserType("AT");
  term->SendLinebutton()->UserClick();
  EXPECT_EQ(term->TermForm(), nullptr);
  EXPECT_EQ(term->ManualLine(), nullptr);
  term->addLine("x", VQelTerminal_ltInLine);
  term->SendLineClick();
  term->SetDocked(true);
  EXPECT_FALSE(term->GetDocked());
  EXPECT_FALSE(term->GetVisible());
  EXPECT_TRUE(term->startingNewLine());
}

}  // namespace

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(TerminalTest, TheHistorysContextMenuSavesItWithATimeStampPerLine) {
  int64_t now = 1767225600000 + 45;  // a day's start plus 45 ms
  term->RichEdit()->clock = [&now] { return now; };
  Add({'A', 'T', 0x0D}, VQelTerminal_ltOutLine);
  now += 1500;
  Add({0x81, 0x0D}, VQelTerminal_ltInBin);
  Add({0x9A, 'e', 'k'}, VQelTerminal_ltExtra, false);  // "šek", still open

  // The menu is the history's own, not a menu bar of the window.
  ASSERT_EQ(term->RichEdit()->PopupMenu(), term->PopupHistory());
  EXPECT_TRUE(term->TermForm()->MenuBar().empty());
  EXPECT_EQ(term->SaveHistoryItem()->Name(), "VQelTerminal1_SaveHistory");

  const std::string path = ::testing::TempDir() + "kx2-terminal.txt";
  loop.AnswerNextFileDialog(path);
  term->SaveHistoryItem()->UserClick();
  const std::string text = Slurp(path);
  // Local time with its zone, milliseconds, then the line as shown, in UTF-8.
  const std::string stamp = "T\\d\\d:\\d\\d:\\d\\d\\.";
  EXPECT_TRUE(std::regex_match(text, std::regex("\\d{4}-\\d\\d-\\d\\d" + stamp +
                                                "045[+-]\\d{4}  - AT<#0D>\n"
                                                "\\d{4}-\\d\\d-\\d\\d" +
                                                stamp +
                                                "545[+-]\\d{4} \\+ # 81 0D\n"
                                                "\\d{4}-\\d\\d-\\d\\d" +
                                                stamp + "545[+-]\\d{4}  E šek\n")))
      << text;
  std::remove(path.c_str());

  // A file that cannot be written: the error box, and the dialog was the user's way out.
  loop.AnswerNextFileDialog(::testing::TempDir() + "no-such-folder/t.txt");
  loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall& call) {
    EXPECT_EQ(call.flags & ui::MB_ICONMASK, ui::MB_ICONERROR);
    EXPECT_NE(call.text.find("no-such-folder/t.txt (No such file or directory)"), std::string::npos)
        << call.text;
    return ui::IDOK;
  });
  term->SaveHistoryItem()->UserClick();
  EXPECT_EQ(loop.Boxes().size(), 1u);
  loop.AnswerNextFileDialog(std::nullopt);  // cancelled: nothing happens
  term->SaveHistoryItem()->UserClick();
  EXPECT_EQ(loop.Boxes().size(), 1u);
}

}  // namespace
