#include "components/TerminalWindow.h"

#include <algorithm>

#include "base/Cp1250.h"
#include "components/FormUtils.h"

TerminalWindow::TerminalWindow(ui::Component* owner) : ui::Form(owner, {}) {
  SetText(Win1250("Terminál"));
  SetShowHint(true);
  InstallKeyPreview(*this);

  auto place = [this](ui::Control* control, const std::string& text, const std::string& hint) {
    control->SetParent(this);
    control->SetText(text);
    control->SetHint(hint);
    InstallKeyPreview(*control);
  };
  auto* lines = new TerminalLines(this);
  richEdit_ = lines;
  place(lines, {}, {});
  // What support asks for: the traffic as a file, each line with its time.
  auto* popup = new ui::MenuItem(this);
  popupHistory_ = popup;
  popup->SetPopup(true);
  auto* save = new ui::MenuItem(this, {}, popup);
  saveHistoryItem_ = save;
  save->SetCaption(Win1250("Uložit do souboru..."));
  save->OnClick = [this](ui::MenuItem&) {
    if (OnSaveHistory) OnSaveHistory();
  };
  lines->SetPopupMenu(popup);
  auto* dialog = new ui::FileDialog(this, {}, ui::FileDialog::Kind::Save);
  saveDialog_ = dialog;
  dialog->SetFilter(Win1250("Text (*.txt)|*.txt|Vše (*.*)|*.*"));
  dialog->SetDefaultExt("txt");
  dialog->SetFileName("terminal.txt");
  auto* input = new TerminalInputLine(this);
  manualLine_ = input;
  place(input, {}, {});
  auto* modes = new ui::RadioGroup(this);
  rgroupMode_ = modes;
  place(modes, Win1250("Režim"), {});
  modes->SetVisible(false);

  auto button = [&](ui::Ref<ui::Button>& ref, const std::string& text, const std::string& hint,
                    std::function<void()> click) {
    auto* b = new ui::Button(this);
    ref = b;
    place(b, text, hint);
    b->OnClick = [click = std::move(click)](ui::Control&) { click(); };
    return b;
  };
  button(sendButton_, "Odeslat", Win1250("Odeslat s odřádkováním"), [this] {
    SendInput(true);
  })->SetDefault(true);
  button(directButton_, Win1250("Přímo"), Win1250("Odeslat bez odřádkování"),
         [this] { SendInput(false); });
  button(clearButton_, "Vymazat", "Vymazat historii", [this] {
    if (richEdit_) richEdit_->Clear();
  });
  button(undockButton_, "Uvolnit okno", Win1250("Uvolnit okno terminálu"), [this] {
    if (OnUndock) OnUndock();
  })->SetEnabled(false);  // the window floats until it is docked

  for (ui::Ref<ui::Edit>* ref : {&debugInTime_, &debugOutTime_}) {
    auto* box = new ui::Edit(this);
    *ref = box;
    place(box, ref == &debugInTime_ ? "DebugInTime" : "DebugOutTime", {});
    box->SetEnabled(false);
    box->SetVisible(false);
  }
}

// Whoever follows the window learns that it goes while it is still whole: the terminal takes it
// off its page first.
TerminalWindow::~TerminalWindow() {
  AnnounceEnd();
}

void TerminalWindow::NameControls(const std::string& base) {
  SetName(base + "_Form");
  const std::pair<ui::Component*, const char*> names[] = {
      {RichEdit(), "_RichEdit"},
      {PopupHistory(), "_PopupHistory"},
      {SaveHistoryItem(), "_SaveHistory"},
      {SaveDialog(), "_SaveDialog"},
      {ManualLine(), "_ManualLine"},
      {RGroupMode(), "_RGroupMode"},
      {SendLinebutton(), "_SendLinebutton"},
      {BtnDirect(), "_BtnDirect"},
      {ClearButton(), "_Clear"},
      {BtnUndock(), "_BtnUndock"},
      {DebugInTime(), "_DebugInTime"},
      {DebugOutTime(), "_DebugOutTime"},
  };
  for (const auto& [component, suffix] : names)
    if (component != nullptr) component->SetName(base + suffix);
}

void TerminalWindow::SetBounds(int left, int top, int width, int height) {
  ui::Form::SetBounds(left, top, width, height);
  ArrangeControls();
}

// The controls keep their distances to the edges of the client area they are tied to: the
// history grows with the window, the rows below it stay at the bottom, the input line and the
// timing boxes stretch. Docked, the client area is the page; floating, what the window's frame
// leaves of its size.
void TerminalWindow::ArrangeControls() {
  if (!debugOutTime_) return;  // still being built
  const int w = ClientWidth();
  const int h = ClientHeight();
  auto size = [](int v) { return std::max(0, v); };
  const int bottom = h - kDesignHeight;  // offset of the controls tied to the bottom edge
  richEdit_->SetBounds(0, 0, size(w - 2), size(h - 93));
  manualLine_->SetBounds(0, 358 + bottom, size(w - 2), 21);
  rgroupMode_->SetBounds(8, 381 + bottom, 81, 61);
  sendButton_->SetBounds(96, 388 + bottom, 75, 25);
  directButton_->SetBounds(176, 388 + bottom, 75, 25);
  clearButton_->SetBounds(96, 420 + bottom, 75, 25);
  undockButton_->SetBounds(176, 420 + bottom, 75, 25);
  debugInTime_->SetBounds(258, 389 + bottom, size(w - 260), 21);
  debugOutTime_->SetBounds(258, 421 + bottom, size(w - 260), 21);
}

// ---- Docking ----

ui::TabSheet* TerminalWindow::DockInto(ui::PageControl& pages, ui::Component* sheetOwner,
                                       const ui::TabSheet* current) {
  SetState(ui::WindowState::Normal);
  ui::Rect area{0, 0, pages.Width(), pages.Height()};
  for (ui::TabSheet* page : pages.Pages())
    if (page != current) {
      area = page->Bounds();
      break;
    }
  if (area.width <= 0 || area.height <= 0) area = {0, 0, Width(), Height()};

  auto* sheet = new ui::TabSheet(sheetOwner);
  sheet->SetText(Text());
  sheet->SetTabVisible(Visible());
  sheet->SetBounds(area.left, area.top, area.width, area.height);
  sheet->SetPageControl(&pages);
  ManualDock(sheet);
  SetBounds(0, 0, area.width, area.height);
  return sheet;
}

void TerminalWindow::FloatAt(int left, int top) {
  ManualFloat({left, top, UndockWidth(), UndockHeight()});
  // The remembered place may lie on a screen that is no longer there.
  MoveFormToScreen(*this);
}

// ---- Input ----

void TerminalWindow::InstallKeyPreview(ui::Control& control) {
  control.OnKeyPress = [this](ui::Control&, char& key) { KeyPreview(key); };
}

// The window sees every key first: typing goes to the input line wherever the focus is.
void TerminalWindow::KeyPreview(char& key) {
  if (key == 0) return;
  const ui::Control* focus = ActiveControl();
  // A blank on a focused button presses it.
  if (key == ' ' && focus != RichEdit() && focus != ManualLine()) return;
  switch (key) {
    case '\t':  // moves the focus; nothing to send
    case '\b':  // edits wherever the focus is
      return;
    case '\r':
      key = 0;
      sendButton_->DoClick();
      return;
    case 26:  // Ctrl+Z
    case 27:  // Escape
      terminator_ = key;
      key = 0;
      sendButton_->DoClick();
      return;
    default:
      manualLine_->InsertAtCaret(std::string(1, key));
      key = 0;
      return;
  }
}

void TerminalWindow::SendInput(bool withTerminator) {
  if (!manualLine_) return;
  std::string bytes = manualLine_->Text();
  if (withTerminator) bytes += terminator_ != 0 ? terminator_ : '\r';
  // Directly with an empty line has nothing to send.
  if (OnSend && !bytes.empty()) {
    const ui::Ref<TerminalWindow> self(this);
    OnSend(bytes);
    if (!self) return;
  }
  terminator_ = 0;
  if (manualLine_) {
    manualLine_->SetText({});
    manualLine_->SetSelStart(0);
  }
}

void TerminalWindow::UnselectInput() {
  if (manualLine_) manualLine_->SetSelStart(static_cast<int>(manualLine_->Text().size()));
}
