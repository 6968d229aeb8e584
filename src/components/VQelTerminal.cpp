#include "components/VQelTerminal.h"

#include <algorithm>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/Cp1250.h"
#include "base/LangText.h"
#include "base/Qelutils.h"
#include "components/FormUtils.h"
#include "ui/EventLoop.h"

namespace {

constexpr ui::Color kBlack = ui::clBlack;
constexpr ui::Color kBlue = ui::clBlue;
constexpr ui::Color kPurple = ui::clPurple;
constexpr ui::Color kRed = ui::clRed;

struct LineStyle {
  const char* prefix;
  ui::Color prefixColor;
};

// Indexed by line type 0..5.
constexpr LineStyle kStyles[] = {
    {"+ ", kBlack},    // received text
    {"+ #", kBlue},    // received bytes
    {" - ", kBlack},   // sent text
    {" - #", kBlue},   // sent bytes
    {" E ", kPurple},  // remark
    {"? ", kRed},      // anything else
};

bool ShownAsItself(uint8_t byte) {
  return byte >= 0x20 && byte <= 0x80;
}

std::string HexByte(uint8_t byte) {
  return {Hex2Asc(byte >> 4), Hex2Asc(byte & 0x0F)};
}

}  // namespace

// The window. It tells the component when it goes away (however that happens) and lays its
// controls out again whenever its size changes.
class VQelTerminal::TermFormImpl : public ui::Form {
 public:
  TermFormImpl(VQelTerminal& terminal, std::string name)
      : ui::Form(&terminal, std::move(name)), terminal_(&terminal) {}
  ~TermFormImpl() override {
    if (terminal_ != nullptr) terminal_->FormDestroyed();
  }
  void SetBounds(int left, int top, int width, int height) override {
    ui::Form::SetBounds(left, top, width, height);
    if (terminal_ != nullptr) terminal_->ArrangeControls();
  }

  VQelTerminal* terminal_;
};

// Owned by the page control the window docks into, so that the component learns when that page
// control is destroyed before it.
class VQelTerminal::PageControlWatch : public ui::Component {
 public:
  PageControlWatch(ui::PageControl& pages, VQelTerminal& terminal)
      : ui::Component(&pages), terminal_(&terminal) {}
  ~PageControlWatch() override {
    if (terminal_ != nullptr) terminal_->PageControlGone();
  }
  const char* ClassName() const override { return "TPageControlWatch"; }

  VQelTerminal* terminal_;
};

VQelTerminal::VQelTerminal(ui::Component* owner, std::string name)
    : ui::Component(owner, std::move(name)) {
  CreateControls();
  NameControls();
}

VQelTerminal::~VQelTerminal() {
  WatchPageControl(nullptr);
  pageControl_ = nullptr;
  if (form_ != nullptr && !Floating()) Undock();
  delete sheet_;
  sheet_ = nullptr;
  delete form_;  // FormDestroyed forgets the controls
}

void VQelTerminal::CreateControls() {
  form_ = new TermFormImpl(*this, {});
  form_->SetText(Win1250("Terminál"));
  form_->SetShowHint(true);
  InstallKeyPreview(*form_);

  auto place = [this](ui::Control* control, const std::string& text, const std::string& hint) {
    control->SetParent(form_);
    control->SetText(text);
    control->SetHint(hint);
    InstallKeyPreview(*control);
  };
  richEdit_ = new TerminalLines(form_);
  place(richEdit_, {}, {});
  // What support asks for: the traffic as a file, each line with its time.
  popupHistory_ = new ui::MenuItem(form_);
  popupHistory_->SetPopup(true);
  saveHistoryItem_ = new ui::MenuItem(form_, {}, popupHistory_);
  saveHistoryItem_->SetCaption(Win1250("Uložit do souboru..."));
  saveHistoryItem_->OnClick = [this](ui::MenuItem&) { SaveHistoryClick(); };
  richEdit_->SetPopupMenu(popupHistory_);
  saveDialog_ = new ui::FileDialog(form_, {}, ui::FileDialog::Kind::Save);
  saveDialog_->SetFilter(Win1250("Text (*.txt)|*.txt|Vše (*.*)|*.*"));
  saveDialog_->SetDefaultExt("txt");
  saveDialog_->SetFileName("terminal.txt");
  manualLine_ = new TerminalInputLine(form_);
  place(manualLine_, {}, {});
  rgroupMode_ = new ui::RadioGroup(form_);
  place(rgroupMode_, Win1250("Režim"), {});
  rgroupMode_->SetVisible(false);
  sendButton_ = new ui::Button(form_);
  place(sendButton_, "Odeslat", Win1250("Odeslat s odřádkováním"));
  sendButton_->SetDefault(true);
  sendButton_->OnClick = [this](ui::Control&) { SendLineClick(); };
  directButton_ = new ui::Button(form_);
  place(directButton_, Win1250("Přímo"), Win1250("Odeslat bez odřádkování"));
  directButton_->OnClick = [this](ui::Control&) { DirectClick(); };
  clearButton_ = new ui::Button(form_);
  place(clearButton_, "Vymazat", "Vymazat historii");
  clearButton_->OnClick = [this](ui::Control&) { ClearHistory(); };
  undockButton_ = new ui::Button(form_);
  place(undockButton_, "Uvolnit okno", Win1250("Uvolnit okno terminálu"));
  undockButton_->OnClick = [this](ui::Control&) { UndockClick(); };
  undockButton_->SetEnabled(false);  // the window floats until it is docked
  debugInTime_ = new ui::Edit(form_);
  place(debugInTime_, "DebugInTime", {});
  debugOutTime_ = new ui::Edit(form_);
  place(debugOutTime_, "DebugOutTime", {});
  for (ui::Edit* box : {debugInTime_, debugOutTime_}) {
    box->SetEnabled(false);
    box->SetVisible(false);
  }

  form_->OnClose = [this](ui::Form&, ui::CloseAction& action) { FormClose(action); };
  form_->SetBounds(floatBounds_.left, floatBounds_.top, floatBounds_.width, floatBounds_.height);
}

void VQelTerminal::NameControls() {
  if (form_ == nullptr) return;
  const std::string& base = Name();
  form_->SetName(base + "_Form");
  richEdit_->SetName(base + "_RichEdit");
  popupHistory_->SetName(base + "_PopupHistory");
  saveHistoryItem_->SetName(base + "_SaveHistory");
  saveDialog_->SetName(base + "_SaveDialog");
  manualLine_->SetName(base + "_ManualLine");
  rgroupMode_->SetName(base + "_RGroupMode");
  sendButton_->SetName(base + "_SendLinebutton");
  directButton_->SetName(base + "_BtnDirect");
  clearButton_->SetName(base + "_Clear");
  undockButton_->SetName(base + "_BtnUndock");
  debugInTime_->SetName(base + "_DebugInTime");
  debugOutTime_->SetName(base + "_DebugOutTime");
}

// The controls keep their distances to the edges of the client area they are tied to: the
// history grows with the window, the rows below it stay at the bottom, the input line and the
// timing boxes stretch. Docked, the client area is the page; floating, what the window's frame
// leaves of its size.
void VQelTerminal::ArrangeControls() {
  if (form_ == nullptr || debugOutTime_ == nullptr) return;
  const int w = form_->ClientWidth();
  const int h = form_->ClientHeight();
  auto size = [](int v) { return std::max(0, v); };
  const int bottom = h - kFormHeight;  // offset of the controls tied to the bottom edge
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

void VQelTerminal::Loaded() {
  if (!loading_) return;
  loading_ = false;
  if (form_ == nullptr) return;
  form_->SetBounds(floatBounds_.left, floatBounds_.top, floatBounds_.width, floatBounds_.height);
  NameControls();
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
  if (count <= 0 || data == nullptr || richEdit_ == nullptr) return;
  const int type =
      lineType >= VQelTerminal_ltInLine && lineType <= VQelTerminal_ltExtra ? lineType : 5;

  // Cut back by about one per cent at once, so that trimming does not run on every append.
  const int lines = richEdit_->LineCount();
  if (lines >= maxLines_) {
    const int keep = maxLines_ - maxLines_ / 100 - 1;
    richEdit_->RemoveFirstLines(lines - std::max(keep, 0));
  }

  if (!lineOpen_ || type != openType_) {
    breakLine();
    lineOpen_ = true;
    openType_ = type;
    if (type <= VQelTerminal_ltOutBin) {
      const uint32_t now = Now();
      ui::Edit* box = type <= VQelTerminal_ltInBin ? debugInTime_ : debugOutTime_;
      box->SetText(std::to_string(now - lastLineTick_));
      lastLineTick_ = now;
    }
    richEdit_->Append(kStyles[type].prefix, kStyles[type].prefixColor);
  }

  switch (type) {
    case VQelTerminal_ltInBin:
    case VQelTerminal_ltOutBin: {
      std::string hex;
      hex.reserve(static_cast<size_t>(count) * 3);
      for (int i = 0; i < count; ++i) hex += ' ' + HexByte(data[i]);
      richEdit_->Append(hex, kBlue);
      break;
    }
    case VQelTerminal_ltInLine:
    case VQelTerminal_ltOutLine: {
      std::string plain;
      for (int i = 0; i < count; ++i) {
        if (ShownAsItself(data[i])) {
          plain += static_cast<char>(data[i]);
          continue;
        }
        richEdit_->Append(plain, kBlack);
        plain.clear();
        richEdit_->Append("<#" + HexByte(data[i]) + ">", kBlue);
      }
      richEdit_->Append(plain, kBlack);
      break;
    }
    default:
      richEdit_->Append(std::string(reinterpret_cast<const char*>(data), count),
                        type == VQelTerminal_ltExtra ? kPurple : kRed);
      break;
  }
}

void VQelTerminal::addLine(const uint8_t* data, int count, VQelTerminal_LineType lineType) {
  addChars(data, count, lineType);
  breakLine();
}

void VQelTerminal::addLine(const std::string& bytes, VQelTerminal_LineType lineType) {
  addLine(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()), lineType);
}

void VQelTerminal::breakLine() {
  if (!lineOpen_) return;
  lineOpen_ = false;
  openType_ = VQelTerminal_lt_NoType;
  if (richEdit_ != nullptr) richEdit_->EndLine();
}

void VQelTerminal::AddBytes(const uint8_t* data, int count, int lineType) {
  addLine(data, count, lineType);
}

bool VQelTerminal::SaveHistory(const std::string& path, int* error) {
  const AtomicFileResult result =
      WriteFileAtomically(path, richEdit_ != nullptr ? richEdit_->StampedText() : std::string());
  if (error != nullptr) *error = result.error;
  return result.ok();
}

void VQelTerminal::SaveHistoryClick() {
  if (saveDialog_ == nullptr || !saveDialog_->Execute()) return;
  const std::string path = saveDialog_->FileName();
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
  lineOpen_ = false;
  openType_ = VQelTerminal_lt_NoType;
  if (richEdit_ != nullptr) richEdit_->Clear();
}

void VQelTerminal::unselectManualLine() {
  if (manualLine_ != nullptr)
    manualLine_->SetSelStart(static_cast<int>(manualLine_->Text().size()));
}

bool VQelTerminal::FormIs(const ui::Control* control) const {
  return control != nullptr && control == form_;
}

bool VQelTerminal::Focused() const {
  return form_ != nullptr && form_->Showing() && form_->ActiveControl() != nullptr;
}

void VQelTerminal::RefreshPageCaption() {
  if (form_ != nullptr && sheet_ != nullptr) sheet_->SetText(form_->Text());
}

ui::Form* VQelTerminal::TermForm() const {
  return form_;
}

// ---- Input ----

void VQelTerminal::InstallKeyPreview(ui::Control& control) {
  control.OnKeyPress = [this](ui::Control& sender, char& key) { KeyPreview(sender, key); };
}

// The window sees every key first: typing goes to the input line wherever the focus is.
void VQelTerminal::KeyPreview(ui::Control& /*sender*/, char& key) {
  if (key == 0 || form_ == nullptr) return;
  const ui::Control* focus = form_->ActiveControl();
  // A blank on a focused button presses it.
  if (key == ' ' && focus != richEdit_ && focus != manualLine_) return;
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

void VQelTerminal::SendInput(bool withTerminator) {
  if (manualLine_ == nullptr) return;
  std::string bytes = manualLine_->Text();
  if (withTerminator) bytes += terminator_ != 0 ? terminator_ : '\r';
  // Directly with an empty line has nothing to send.
  if (OnTermSendData && !bytes.empty())
    OnTermSendData(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
  terminator_ = 0;
  if (manualLine_ != nullptr) {
    manualLine_->SetText({});
    manualLine_->SetSelStart(0);
  }
}

void VQelTerminal::SendLineClick() {
  SendInput(true);
}

void VQelTerminal::DirectClick() {
  SendInput(false);
}

// ---- Docking ----

bool VQelTerminal::Floating() const {
  return form_ == nullptr || form_->HostDockSite() == nullptr;
}

void VQelTerminal::UpdateDocked() {
  if (loading_ || form_ == nullptr) return;
  if (docked_ && pageControl_ != nullptr) {
    const bool inPlace = !Floating() && form_->HostDockSite() == sheet_ && sheet_ != nullptr &&
                         sheet_->PageControlOf() == pageControl_;
    if (!inPlace) DockInto(*pageControl_);
  } else if (!Floating()) {
    Undock();
  }
  if (undockButton_ != nullptr) undockButton_->SetEnabled(!Floating());
}

void VQelTerminal::DockInto(ui::PageControl& pages) {
  if (Floating()) floatBounds_ = {form_->Left(), form_->Top(), form_->Width(), form_->Height()};
  form_->SetState(ui::WindowState::Normal);

  // The new page takes the place the other pages have.
  ui::Rect area{0, 0, pages.Width(), pages.Height()};
  for (ui::TabSheet* page : pages.Pages())
    if (page != sheet_) {
      area = page->Bounds();
      break;
    }
  if (area.width <= 0 || area.height <= 0) area = {0, 0, form_->Width(), form_->Height()};

  ui::TabSheet* old = sheet_;
  auto* sheet = new ui::TabSheet(this);
  sheet->SetText(form_->Text());
  sheet->SetTabVisible(form_->Visible());
  sheet->SetBounds(area.left, area.top, area.width, area.height);
  sheet->SetPageControl(&pages);
  sheet_ = sheet;
  form_->ManualDock(sheet);
  form_->SetBounds(0, 0, area.width, area.height);
  delete old;
  if (OnDocked) OnDocked(*sheet);
}

void VQelTerminal::Undock() {
  form_->ManualFloat(
      {floatBounds_.left, floatBounds_.top, form_->UndockWidth(), form_->UndockHeight()});
  // The remembered place may lie on a screen that is no longer there.
  MoveFormToScreen(*form_);
  delete sheet_;
  sheet_ = nullptr;
}

void VQelTerminal::SetDocked(bool docked) {
  docked_ = docked;
  UpdateDocked();
}

bool VQelTerminal::GetDocked() const {
  return !Floating();
}

void VQelTerminal::SetParentPageControl(ui::PageControl* pages) {
  if (pages == pageControl_) return;
  WatchPageControl(pages);
  pageControl_ = pages;
  UpdateDocked();
}

void VQelTerminal::WatchPageControl(ui::PageControl* pages) {
  if (watch_ != nullptr) {
    watch_->terminal_ = nullptr;
    delete watch_;
    watch_ = nullptr;
  }
  if (pages != nullptr) watch_ = new PageControlWatch(*pages, *this);
}

// The page control is being destroyed (its pages have already left it).
void VQelTerminal::PageControlGone() {
  watch_ = nullptr;
  pageControl_ = nullptr;
  if (form_ != nullptr && !Floating()) Undock();
  if (undockButton_ != nullptr) undockButton_->SetEnabled(!Floating());
}

void VQelTerminal::UndockClick() {
  SetDocked(false);
}

void VQelTerminal::FormClose(ui::CloseAction& action) {
  switch (closeAction_) {
    case trmcaDock:
      if (!Floating()) {
        action = ui::CloseAction::None;
      } else if (pageControl_ != nullptr) {
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
  std::weak_ptr<bool> alive = alive_;
  ui::Form* form = form_;
  loop->Post([this, alive, form] {
    if (alive.expired() || form_ != form || form_ == nullptr) return;
    delete form_;
  });
}

// The window is going: forget it, its controls, its page and the page control.
void VQelTerminal::FormDestroyed() {
  form_ = nullptr;
  richEdit_ = nullptr;
  popupHistory_ = nullptr;
  saveHistoryItem_ = nullptr;
  saveDialog_ = nullptr;
  manualLine_ = nullptr;
  rgroupMode_ = nullptr;
  sendButton_ = nullptr;
  directButton_ = nullptr;
  clearButton_ = nullptr;
  undockButton_ = nullptr;
  debugInTime_ = nullptr;
  debugOutTime_ = nullptr;
  lineOpen_ = false;
  openType_ = VQelTerminal_lt_NoType;
  // Deleting the page takes the window off it before the window's own destruction goes on.
  delete sheet_;
  sheet_ = nullptr;
  WatchPageControl(nullptr);
  pageControl_ = nullptr;
}

// ---- Visibility ----

void VQelTerminal::SetVisible(bool visible) {
  visible_ = visible;
  if (!loading_) ApplyVisible();
}

bool VQelTerminal::GetVisible() const {
  if (form_ == nullptr) return false;
  return loading_ ? visible_ : form_->Visible();
}

void VQelTerminal::ApplyVisible() {
  if (form_ == nullptr) return;
  if (visible_)
    form_->Show();
  else
    form_->Hide();
  if (Floating() || sheet_ == nullptr) return;
  sheet_->SetTabVisible(visible_);
  ui::PageControl* pages = sheet_->PageControlOf();
  if (visible_ || pages == nullptr || pages->ActivePage() != sheet_) return;
  // A hidden tab does not stay the page shown.
  ui::TabSheet* next = nullptr;
  for (ui::TabSheet* page : pages->Pages())
    if (page != sheet_ && page->TabVisible()) {
      next = page;
      break;
    }
  pages->SetActivePage(next);
}

void VQelTerminal::SetDebugWindowsVisible(bool visible) {
  debugWindowsVisible_ = visible;
  if (debugInTime_ == nullptr) return;
  debugInTime_->SetVisible(visible);
  debugOutTime_->SetVisible(visible);
}

void VQelTerminal::SetShowOnTaskbar(bool show) {
  showOnTaskbar_ = show;
}

bool VQelTerminal::HasTaskbarButton() const {
  return showOnTaskbar_ && form_ != nullptr && Floating();
}

// ---- Position and size ----

int VQelTerminal::GetFormLeft() const {
  return form_ != nullptr && Floating() ? form_->Left() : floatBounds_.left;
}

void VQelTerminal::SetFormLeft(int left) {
  floatBounds_.left = left;
  if (form_ != nullptr && Floating()) form_->SetLeft(left);
}

int VQelTerminal::GetFormTop() const {
  return form_ != nullptr && Floating() ? form_->Top() : floatBounds_.top;
}

void VQelTerminal::SetFormTop(int top) {
  floatBounds_.top = top;
  if (form_ != nullptr && Floating()) form_->SetTop(top);
}

int VQelTerminal::GetFormWidth() const {
  if (form_ == nullptr) return floatBounds_.width;
  return Floating() ? form_->Width() : form_->UndockWidth();
}

void VQelTerminal::SetFormWidth(int width) {
  floatBounds_.width = width;
  if (form_ == nullptr) return;
  if (Floating())
    form_->SetWidth(width);
  else
    form_->SetUndockSize(width, form_->UndockHeight());
}

int VQelTerminal::GetFormHeight() const {
  if (form_ == nullptr) return floatBounds_.height;
  return Floating() ? form_->Height() : form_->UndockHeight();
}

void VQelTerminal::SetFormHeight(int height) {
  floatBounds_.height = height;
  if (form_ == nullptr) return;
  if (Floating())
    form_->SetHeight(height);
  else
    form_->SetUndockSize(form_->UndockWidth(), height);
}

// ---- Mode selector ----

int VQelTerminal::GetModeIndex() const {
  if (loading_ || rgroupMode_ == nullptr) return std::max(modeIndex_, -1);
  return rgroupMode_->ItemIndex();
}

void VQelTerminal::SetModeIndex(int index) {
  modeIndex_ = index;
  if (loading_ || rgroupMode_ == nullptr) return;
  const int last = static_cast<int>(rgroupMode_->Items().size()) - 1;
  rgroupMode_->SetItemIndex(std::clamp(index, -1, last));
}

void VQelTerminal::SetModeItems(std::vector<std::string> items) {
  modeItems_ = std::move(items);
  if (rgroupMode_ != nullptr) rgroupMode_->SetItems(modeItems_);
}
