#include "components/VQelTerminal.h"

#include <algorithm>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/Cp1250.h"
#include "base/LangText.h"
#include "components/FormUtils.h"
#include "ui/EventLoop.h"

VQelTerminal::VQelTerminal(ui::Component* owner, std::string name)
    : ui::Component(owner, std::move(name)) {
  form_.OnGone([this] { FormGone(); });
  pageControl_.OnGone([this] { PageControlGone(); });
  CreateWindow();
  form_->NameControls(Name());
}

VQelTerminal::~VQelTerminal() {
  pageControl_ = nullptr;
  if (form_ && !Floating()) Undock();
  delete sheet_.get();
  delete form_.get();
}

void VQelTerminal::CreateWindow() {
  auto* form = new TerminalWindow(this);
  form_ = form;
  form->OnSend = [this](const std::string& bytes) {
    if (OnTermSendData)
      OnTermSendData(reinterpret_cast<const uint8_t*>(bytes.data()),
                     static_cast<int>(bytes.size()));
  };
  form->OnUndock = [this] { UndockClick(); };
  form->OnSaveHistory = [this] { SaveHistoryClick(); };
  form->OnClose = [this](ui::Form&, ui::CloseAction& action) { FormClose(action); };
  TerminalHistory& history = form->RichEdit()->History();
  history.SetMaxLines(maxLines_);
  history.onLineStart = [this](VQelTerminal_LineType type) { NoteLineStart(type); };
  form->SetBounds(floatBounds_.left, floatBounds_.top, floatBounds_.width, floatBounds_.height);
}

void VQelTerminal::Loaded() {
  if (!loading_) return;
  loading_ = false;
  if (!form_) return;
  form_->SetBounds(floatBounds_.left, floatBounds_.top, floatBounds_.width, floatBounds_.height);
  form_->NameControls(Name());
  UpdateDocked();
  ApplyVisible();
  lastLineTick_ = Now() - 2000;
  SetDebugWindowsVisible(debugWindowsVisible_);
  SetModeIndex(modeIndex_);
  if (Floating()) MoveFormToScreen(*form_);
  if (auto* ownerControl = dynamic_cast<ui::Control*>(Owner()))
    form_->SetFontCharset(ownerControl->FontCharset());
  if (OnFormCreate) OnFormCreate(*form_);
}

uint32_t VQelTerminal::Now() const {
  ui::EventLoop* loop = ui::LoopOrNull();
  return loop != nullptr ? loop->TickCount() : 0;
}

// ---- Lines ----

void VQelTerminal::addChars(const uint8_t* data, int count, VQelTerminal_LineType lineType) {
  if (TerminalLines* lines = RichEdit()) lines->History().Add(data, count, lineType);
}

// The timing boxes show the gap since the previous line of traffic (remarks do not count).
void VQelTerminal::NoteLineStart(VQelTerminal_LineType type) {
  if (type > VQelTerminal_ltOutBin) return;
  ui::Edit* box = type <= VQelTerminal_ltInBin ? DebugInTime() : DebugOutTime();
  if (box == nullptr) return;
  const uint32_t now = Now();
  box->SetText(std::to_string(now - lastLineTick_));
  lastLineTick_ = now;
}

void VQelTerminal::addLine(const uint8_t* data, int count, VQelTerminal_LineType lineType) {
  addChars(data, count, lineType);
  breakLine();
}

void VQelTerminal::addLine(const std::string& bytes, VQelTerminal_LineType lineType) {
  addLine(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()), lineType);
}

void VQelTerminal::breakLine() {
  if (TerminalLines* lines = RichEdit()) lines->History().BreakLine();
}

bool VQelTerminal::startingNewLine() const {
  const TerminalLines* lines = RichEdit();
  return lines == nullptr || lines->History().StartingNewLine();
}

void VQelTerminal::SetMaxLines(int lines) {
  maxLines_ = lines;
  if (TerminalLines* history = RichEdit()) history->History().SetMaxLines(lines);
}

void VQelTerminal::AddBytes(const uint8_t* data, int count, int lineType) {
  addLine(data, count, lineType);
}

bool VQelTerminal::SaveHistory(const std::string& path, int* error) {
  const TerminalLines* lines = RichEdit();
  const AtomicFileResult result =
      WriteFileAtomically(path, lines != nullptr ? lines->StampedText() : std::string());
  if (error != nullptr) *error = result.error;
  return result.ok();
}

void VQelTerminal::SaveHistoryClick() {
  ui::FileDialog* dialog = SaveDialog();
  if (dialog == nullptr || !dialog->Execute()) return;
  const std::string path = dialog->FileName();
  int error = 0;
  if (SaveHistory(path, &error)) return;
  char buffer[256];
  // The GNU strerror_r returns the text, which may or may not live in the buffer.
  const char* reason = strerror_r(error, buffer, sizeof buffer);
  ui::Loop().MessageBox("KX2 Init",
                        GetLangText("Texts", "CannotSaveHistory",
                                    Win1250("Nelze uložit historii terminálu do souboru ")) +
                            Utf8ToCp1250(path) + " (" +
                            Utf8ToCp1250(reason != nullptr ? reason : "") + ")",
                        ui::MB_OK | ui::MB_ICONERROR);
}

// An emptied history has no open line: what comes next starts with its prefix.
void VQelTerminal::ClearHistory() {
  if (TerminalLines* lines = RichEdit()) lines->Clear();
}

void VQelTerminal::unselectManualLine() {
  if (form_) form_->UnselectInput();
}

bool VQelTerminal::FormIs(const ui::Control* control) const {
  return control != nullptr && control == form_.get();
}

bool VQelTerminal::Focused() const {
  return form_ && form_->HasFocus();
}

void VQelTerminal::RefreshPageCaption() {
  if (form_ && sheet_) sheet_->SetText(form_->Text());
}

ui::Form* VQelTerminal::TermForm() const {
  return form_.get();
}

void VQelTerminal::SendLineClick() {
  if (form_) form_->SendInput(true);
}

void VQelTerminal::DirectClick() {
  if (form_) form_->SendInput(false);
}

// ---- Docking ----

bool VQelTerminal::Floating() const {
  return !form_ || form_->Floating();
}

void VQelTerminal::UpdateDocked() {
  if (loading_ || !form_) return;
  if (docked_ && pageControl_) {
    const bool inPlace = !Floating() && sheet_ && form_->HostDockSite() == sheet_.get() &&
                         sheet_->PageControlOf() == pageControl_.get();
    if (!inPlace) DockInto(*pageControl_);
  } else if (!Floating()) {
    Undock();
  }
  if (ui::Button* undock = BtnUndock()) undock->SetEnabled(!Floating());
}

void VQelTerminal::DockInto(ui::PageControl& pages) {
  if (Floating()) floatBounds_ = {form_->Left(), form_->Top(), form_->Width(), form_->Height()};
  ui::TabSheet* old = sheet_.get();
  ui::TabSheet* sheet = form_->DockInto(pages, this, old);
  sheet_ = sheet;
  delete old;
  if (OnDocked) OnDocked(*sheet);
}

void VQelTerminal::Undock() {
  form_->FloatAt(floatBounds_.left, floatBounds_.top);
  delete sheet_.get();
}

void VQelTerminal::SetDocked(bool docked) {
  docked_ = docked;
  UpdateDocked();
}

bool VQelTerminal::GetDocked() const {
  return !Floating();
}

void VQelTerminal::SetParentPageControl(ui::PageControl* pages) {
  if (pages == pageControl_.get()) return;
  pageControl_ = pages;
  UpdateDocked();
}

// The page control is being destroyed: the window floats on.
void VQelTerminal::PageControlGone() {
  if (form_ && !Floating()) Undock();
  if (ui::Button* undock = BtnUndock()) undock->SetEnabled(!Floating());
}

void VQelTerminal::UndockClick() {
  SetDocked(false);
}

void VQelTerminal::FormClose(ui::CloseAction& action) {
  switch (closeAction_) {
    case trmcaDock:
      if (!Floating()) {
        action = ui::CloseAction::None;
      } else if (pageControl_) {
        action = ui::CloseAction::None;
        SetDocked(true);
      } else {
        // Nowhere to dock: a window that refused to close could never be closed.
        action = ui::CloseAction::Hide;
      }
      break;
    case trmcaHide:
      action = ui::CloseAction::Hide;
      break;
    case trmcaFree:
      action = ui::CloseAction::Free;
      ScheduleFormRelease();
      break;
  }
}

// The window cannot be destroyed inside its own close event; it goes once the event is over.
void VQelTerminal::ScheduleFormRelease() {
  ui::EventLoop* loop = ui::LoopOrNull();
  if (loop == nullptr) return;
  loop->Post([self = ui::Ref<VQelTerminal>(this)] {
    if (self && self->form_) delete self->form_.get();
  });
}

// The window is going, still whole: its page goes with it (deleting the page takes the window
// off it), and without a window there is nothing to dock into the page control.
void VQelTerminal::FormGone() {
  delete sheet_.get();
  pageControl_ = nullptr;
}

// ---- Visibility ----

void VQelTerminal::SetVisible(bool visible) {
  visible_ = visible;
  if (!loading_) ApplyVisible();
}

bool VQelTerminal::GetVisible() const {
  if (!form_) return false;
  return loading_ ? visible_ : form_->Visible();
}

void VQelTerminal::ApplyVisible() {
  if (!form_) return;
  if (visible_)
    form_->Show();
  else
    form_->Hide();
  if (Floating() || !sheet_) return;
  sheet_->SetTabVisible(visible_);
  ui::PageControl* pages = sheet_->PageControlOf();
  if (visible_ || pages == nullptr || pages->ActivePage() != sheet_.get()) return;
  // A hidden tab does not stay the page shown.
  ui::TabSheet* next = nullptr;
  for (ui::TabSheet* page : pages->Pages())
    if (page != sheet_.get() && page->TabVisible()) {
      next = page;
      break;
    }
  pages->SetActivePage(next);
}

void VQelTerminal::SetDebugWindowsVisible(bool visible) {
  debugWindowsVisible_ = visible;
  for (ui::Edit* box : {DebugInTime(), DebugOutTime()})
    if (box != nullptr) box->SetVisible(visible);
}

void VQelTerminal::SetShowOnTaskbar(bool show) {
  showOnTaskbar_ = show;
}

bool VQelTerminal::HasTaskbarButton() const {
  return showOnTaskbar_ && form_ && Floating();
}

// ---- Position and size ----

int VQelTerminal::GetFormLeft() const {
  return form_ && Floating() ? form_->Left() : floatBounds_.left;
}

void VQelTerminal::SetFormLeft(int left) {
  floatBounds_.left = left;
  if (form_ && Floating()) form_->SetLeft(left);
}

int VQelTerminal::GetFormTop() const {
  return form_ && Floating() ? form_->Top() : floatBounds_.top;
}

void VQelTerminal::SetFormTop(int top) {
  floatBounds_.top = top;
  if (form_ && Floating()) form_->SetTop(top);
}

int VQelTerminal::GetFormWidth() const {
  if (!form_) return floatBounds_.width;
  return Floating() ? form_->Width() : form_->UndockWidth();
}

void VQelTerminal::SetFormWidth(int width) {
  floatBounds_.width = width;
  if (!form_) return;
  if (Floating())
    form_->SetWidth(width);
  else
    form_->SetUndockSize(width, form_->UndockHeight());
}

int VQelTerminal::GetFormHeight() const {
  if (!form_) return floatBounds_.height;
  return Floating() ? form_->Height() : form_->UndockHeight();
}

void VQelTerminal::SetFormHeight(int height) {
  floatBounds_.height = height;
  if (!form_) return;
  if (Floating())
    form_->SetHeight(height);
  else
    form_->SetUndockSize(form_->UndockWidth(), height);
}

// ---- Mode selector ----

int VQelTerminal::GetModeIndex() const {
  const ui::RadioGroup* modes = RGroupMode();
  if (loading_ || modes == nullptr) return std::max(modeIndex_, -1);
  return modes->ItemIndex();
}

void VQelTerminal::SetModeIndex(int index) {
  modeIndex_ = index;
  ui::RadioGroup* modes = RGroupMode();
  if (loading_ || modes == nullptr) return;
  const int last = static_cast<int>(modes->Items().size()) - 1;
  modes->SetItemIndex(std::clamp(index, -1, last));
}

void VQelTerminal::SetModeItems(std::vector<std::string> items) {
  modeItems_ = std::move(items);
  if (ui::RadioGroup* modes = RGroupMode()) modes->SetItems(modeItems_);
}
