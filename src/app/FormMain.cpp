#include "app/FormMain.h"
#include "app/Place.h"

#include <cstdlib>

#include "app/Dialogs.h"
#include "app/FormCompare.h"
#include "base/Cp1250.h"
#include "base/FlagUp.h"
#include "base/LangText.h"
#include "components/VQelAppInfo.h"
#include "components/VQelTerminal.h"
#include "device/KXADCdect.h"
#include "eeprom/VConfigByteArray.h"
#include "lang/BuiltinLanguages.h"
#include "lang/VQelLanguage.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptReset.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "serial/PortNames.h"
#include "serial/TQlsComm32.h"
#include "ui/EventLoop.h"

namespace {

const char* const kTexts = "Texts";

}  // namespace

TFormMain::TFormMain(ui::Component* owner, ProgramEnv env)
    : ui::Form(owner, "FormMain"), env_(std::move(env)) {
  BuildResource();
  FormCreate();
}

TFormMain::~TFormMain() {
  // The module talks to the port and the window's controls: it goes first.
  uniModule.reset();
  QlsComm321.reset();
}

void TFormMain::BuildResource() {
  SetText(Win1250("Konfigurační nástroj KX2 Init"));
  SetBorder(ui::BorderStyle::Single);
  SetBounds(0, 0, 660, 520);

  QlsComm321 = std::make_unique<TQlsComm32>("QlsComm321");
  QlsComm321->SetAutoReconnect(false);
  // The unit's replies end with CR and hold it nowhere else (data are hex digits, a checksum of
  // CR goes out as 0x0C): a reply is handed over at its last byte, not after the quiet time.
  QlsComm321->SetEventChar('\r');

  VQelAppInfo1 = new VQelAppInfo(this, env_.store, "VQelAppInfo1");
  VQelAppInfo1->SetAppName("KX2 Init");
  VQelAppInfo1->SetRegistryPath("Software\\Qel\\");
  VQelAppInfo1->OnApplRunning = [this](VQelAppInfo&) { VQelAppInfo1ApplRunning(); };
  VQelAppInfo1->OnOwnerFirstShow = [this](VQelAppInfo&) { VQelAppInfo1OwnerFirstShow(); };
  VQelAppInfo1->Loaded();

  Timer1 = new ui::Timer(this, "Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(kPollMs);
  Timer1->SetOnTimer([this](ui::Timer&) { Timer1Timer(); });

  MenuFile = new ui::MenuItem(this, "MenuFile");
  MenuFile->SetCaption("&Soubor");
  MenuFileLoadAnyCfg = new ui::MenuItem(this, "MenuFileLoadAnyCfg", MenuFile);
  MenuFileLoadAnyCfg->SetCaption(Win1250("&Načíst konfiguraci"));
  MenuFileLoadAnyCfg->SetShortCut("Ctrl+O");
  MenuFileLoadAnyCfg->OnClick = [this](ui::MenuItem&) { MenuFileLoadDevCfgClick(); };
  MenuFileSaveBrCfg = new ui::MenuItem(this, "MenuFileSaveBrCfg", MenuFile);
  MenuFileSaveBrCfg->SetCaption(Win1250("&Uložit konfiguraci"));
  MenuFileSaveBrCfg->SetShortCut("Ctrl+S");
  MenuFileSaveBrCfg->OnClick = [this](ui::MenuItem&) { MenuFileSaveDevCfgClick(); };
  MenuSaveReport = new ui::MenuItem(this, "MenuSaveReport", MenuFile);
  MenuSaveReport->SetCaption(Win1250("Uložit report (HTML)"));
  MenuSaveReport->OnClick = [this](ui::MenuItem&) { MenuSaveReportClick(); };
  MenuCompareUnit = new ui::MenuItem(this, "MenuCompareUnit", MenuFile);
  MenuCompareUnit->SetCaption(Win1250("Porovnat s jednotkou"));
  MenuCompareUnit->SetEnabled(false);  // until a unit has been read
  MenuCompareUnit->OnClick = [this](ui::MenuItem&) { MenuCompareUnitClick(); };
  (new ui::MenuItem(this, "N1", MenuFile))->SetCaption("-");
  MenuFileExit = new ui::MenuItem(this, "MenuFileExit", MenuFile);
  MenuFileExit->SetCaption("&Konec");
  MenuFileExit->OnClick = [this](ui::MenuItem&) { MenuFileExitClick(); };
  ItemNastaveni = new ui::MenuItem(this, "ItemNastaveni");
  ItemNastaveni->SetCaption(Win1250("&Nastavení"));
  ItemNastaveni->OnClick = [this](ui::MenuItem&) { ItemNastaveniClick(); };
  MenuHelp = new ui::MenuItem(this, "MenuHelp");
  MenuHelp->SetCaption(Win1250("Ná&pověda"));
  MenuAbout = new ui::MenuItem(this, "MenuAbout", MenuHelp);
  MenuAbout->SetCaption("O aplikaci...");
  MenuAbout->OnClick = [this](ui::MenuItem&) { MenuAboutClick(); };

  OpenDialog1 = new ui::FileDialog(this, "OpenDialog1", ui::FileDialog::Kind::Open);
  OpenDialog1->SetTitle(Win1250("Nahrání konfigurace"));
  OpenDialog1->SetFilter(Win1250("Konfigurace zařízení (*.eep)|*.eep"));
  OpenDialog1->SetDefaultExt("eep");
  OpenDialog1->SetOptions(ui::ofHideReadOnly | ui::ofPathMustExist | ui::ofFileMustExist |
                          ui::ofEnableSizing);
  SaveDialog1 = new ui::FileDialog(this, "SaveDialog1", ui::FileDialog::Kind::Save);
  SaveDialog1->SetTitle(Win1250("Uložit konfiguraci zařízení"));
  SaveDialog1->SetFilter(Win1250("Konfigurace zařízení (*.eep)|*.eep"));
  SaveDialog1->SetDefaultExt("eep");
  SaveDialog1->SetOptions(ui::ofHideReadOnly | ui::ofPathMustExist | ui::ofOverwritePrompt |
                          ui::ofEnableSizing);
  SaveDialog2 = new ui::FileDialog(this, "SaveDialog2", ui::FileDialog::Kind::Save);
  SaveDialog2->SetTitle(Win1250("Uložit zprávu o nastavení"));
  SaveDialog2->SetFilter(Win1250("Stránky HTML|*.html"));
  SaveDialog2->SetDefaultExt("html");
  SaveDialog2->SetOptions(ui::ofHideReadOnly | ui::ofPathMustExist | ui::ofOverwritePrompt |
                          ui::ofEnableSizing);

  PageControl1 = Place<ui::PageControl>(this, this, "PageControl1", 4, 4, 648, 420);
  struct SheetDef {
    ui::TabSheet** sheet;
    const char* name;
    std::string caption;
  };
  const SheetDef sheets[] = {
      {&SheetGeneral, "SheetGeneral", Win1250("Obecné")},
      {&SheetNumbers, "SheetNumbers", Win1250("Telefonní seznam")},
      {&SheetDIns, "SheetDIns", Win1250("Logické vstupy")},
      {&SheetDOuts, "SheetDOuts", Win1250("Logické výstupy")},
      {&SheetAIns, "SheetAIns", Win1250("Analogové vstupy")},
      {&SheetDin815, "SheetDin815", "Vstupy 8-15"},
  };
  for (const auto& def : sheets) {
    *def.sheet = new ui::TabSheet(this, def.name);
    (*def.sheet)->SetText(def.caption);
    (*def.sheet)->SetBounds(0, 0, 640, 392);
    (*def.sheet)->SetPageControl(PageControl1);
  }

  GroupDevInfo = Place<ui::GroupBox>(this, SheetGeneral, "GroupDeviceInfo", 400, 8, 228, 80,
                                     Win1250(" Informace o zařízení "));
  Place<ui::Label>(this, GroupDevInfo, "LabDeviceType", 10, 22, 60, 16, "Typ:");
  LabelID = Place<ui::Label>(this, GroupDevInfo, "LabelID", 80, 22, 140, 16, "-");
  Place<ui::Label>(this, GroupDevInfo, "LabVersion", 10, 46, 60, 16, "Verze:");
  LabelVersion = Place<ui::Label>(this, GroupDevInfo, "LabelVersion", 80, 46, 140, 16, "1.0");

  BuildSettingsPages();

  // Bottom row.
  const int y = 436;
  LabComm = Place<ui::Label>(this, this, "LabComm", 8, y + 4, 72, 16, Win1250("Spojení:"));
  LabelComm = Place<ui::Label>(this, this, "LabelComm", 82, y + 4, 92, 16, Win1250("Není odpověď"));
  ShapeProgress = Place<ui::Shape>(this, this, "ShapeProgress", 176, y + 2, 18, 18);
  ShapeProgress->SetType(ui::ShapeType::Circle);
  ShapeProgress->SetBrushColor(ui::clYellow);
  ComboComm = Place<ui::ComboBox>(this, this, "ComboComm", 200, y, 150, 22);
  ComboComm->OnChange = [this](ui::Control&) { ComboCommChange(); };
  ComboComm->OnDropDown = [this](ui::Control&) { ComboCommDropDown(); };
  ComboCommDropDown();
  // Until the options say otherwise: the first port found.
  QlsComm321->SetCommPort(ComboComm->Items().empty() ? "COM2" : ComboComm->Items().front());
  BtnConnect = Place<ui::Button>(this, this, "BtnConnect", 358, y - 2, 90, 26, "Connect");
  BtnConnect->OnClick = [this](ui::Control&) { BtnConnectClick(); };
  ReadEEPROM = Place<ui::Button>(this, this, "ReadEEPROM", 456, y - 2, 94, 26, Win1250("Načíst"));
  ReadEEPROM->SetEnabled(false);
  ReadEEPROM->OnClick = [this](ui::Control&) { ReadEEPROMClick(); };
  WriteEEPROM = Place<ui::Button>(this, this, "WriteEEPROM", 556, y - 2, 94, 26, "Zapsat");
  WriteEEPROM->SetEnabled(false);
  WriteEEPROM->OnClick = [this](ui::Control&) { WriteEEPROMClick(); };
  BtnDisCon = Place<ui::Button>(this, this, "BtnDisCon", 456, y + 30, 94, 26, Win1250("Připojit"));
  BtnDisCon->SetVisible(false);
  BtnDisCon->OnClick = [this](ui::Control&) { BtnDisConClick(); };
  BtnPrerusit =
      Place<ui::Button>(this, this, "BtnPrerusit", 556, y + 30, 94, 26, Win1250("Přerušit"));
  BtnPrerusit->SetVisible(false);
  BtnPrerusit->SetEnabled(false);
  BtnPrerusit->OnClick = [this](ui::Control&) { BtnPrerusitClick(); };

  VQelTerminal1 = new VQelTerminal(this, "VQelTerminal1");
  VQelTerminal1->SetParentPageControl(PageControl1);
  VQelTerminal1->SetTermCloseAction(trmcaDock);
  VQelTerminal1->SetModeIndex(-1);
  VQelTerminal1->OnTermSendData = [this](const uint8_t* bytes, int count) {
    VQelTerminal1TermSendData(bytes, count);
  };
  VQelTerminal1->OnDocked = [this](ui::TabSheet& sheet) { PageControl1DockDrop(sheet); };
  VQelTerminal1->Loaded();

  VQelLanguage1 = new lang::VQelLanguage(this, "VQelLanguage1");
  VQelLanguage1->SetStartupLanguages(lang::BuiltinLanguageTexts());
  // Memos and lists keep their contents in another language, except the about box's address
  // and the analog input's choice of value type, which are words to translate.
  VQelLanguage1->SetExceptionList(
      {"FormAbout.MemoAddress", "FormAbout.MemoContact", "FormAnaIn.ComboValueType"});
  if (env_.userLanguageId != 0) VQelLanguage1->SetUserDefaultLanguageId(env_.userLanguageId);
  VQelLanguage1->OnChangeLanguage = [this](lang::VQelLanguage&) { VQelLanguage1ChangeLanguage(); };
  VQelLanguage1->Loaded();

  OnClose = [this](ui::Form&, ui::CloseAction& action) { FormClose(action); };
  OnCloseQuery = [this](ui::Form&, bool& canClose) { FormCloseQuery(canClose); };
  // The window keeps its size.
  OnCanResize = [](ui::Form&, int&, int&, bool& resize) { resize = false; };

  QlsComm321->OnReceiveData = [this](const uint8_t* data, uint16_t n) {
    QlsComm321ReceiveData(data, n);
  };
  QlsComm321->OnStateChange = [this](TCommState state) { QlsComm321StateChange(state); };
  QlsComm321->OnRequestHangup = [this](TQlsComm32&) { QlsComm321RequestHangup(); };
  QlsComm321->Loaded();
}

void TFormMain::SetDialogs(TFormProgress* progress, TFormOptions* options, TFormAbout* about) {
  FormProgress = progress;
  FormOptions = options;
  FormAbout = about;
  VQelLanguage1->SetLangCombo(FormOptions->ComboLanguage);
  FormOptions->currentLanguage = [this] { return VQelLanguage1->GetCurrLanguage(); };
  FormOptions->setLanguage = [this](const std::string& name) {
    VQelLanguage1->SetCurrLanguage(name);
  };
  FormOptions->onLevelsChanged = [this](int level, bool terminalShown) {
    if (auto* c = FindDeepAs<ui::Control>("CheckAlwaysInterNumber"))
      c->SetVisible(level > TFormOptions::Basic);
    if (level == TFormOptions::Basic) {
      VQelTerminal1->SetVisible(false);
    } else {
      VQelTerminal1->SetVisible(terminalShown);
      VQelTerminal1->SetDebugWindowsVisible(level > TFormOptions::Advanced);
    }
  };
}

int TFormMain::MessageBox2(const std::string& text, unsigned flags) {
  return VQelAppInfo1->MessageBox2(text, flags);
}

void TFormMain::FormCreate() {
  SheetAIns->SetTabVisible(false);
  SheetDin815->SetTabVisible(false);
  echoBuffer = std::make_unique<TInputBuffer>();
  if (ui::App() != nullptr) {
    ui::App()->SetHintHidePause(5000);
    // Fit the window into the desktop's work area.
    const ui::Rect area = ui::App()->GetDesktop().WorkArea();
    int l = Left(), t = Top(), w = Width(), h = Height();
    if (w > area.width) w = area.width;
    if (h > area.height) h = area.height;
    if (l + w > area.Right()) l = area.Right() - w;
    if (t + h > area.Bottom()) t = area.Bottom() - h;
    if (l < area.left) l = area.left;
    if (t < area.top) t = area.top;
    ui::Form::SetNormalBounds({l, t, w, h});
  }
  MenuHelp->SetRightJustify(true);
  configSaved = true;
  closeQueryDone = false;
  inCloseQuery = false;
}

void TFormMain::VQelAppInfo1OwnerFirstShow() {
  VQelAppInfo1->loadPositions();
}

void TFormMain::VQelAppInfo1ApplRunning() {
  DeferredStart();
}

void TFormMain::DeferredStart() {
  PageControl1->SetActivePage(SheetGeneral);
  PageControl1->SetVisible(false);
  uniModule = std::make_unique<KXADCdect>(*QlsComm321, this);
  uniModule->onRefreshLinkState = [this] { QlsComm321StateChange(QlsComm321->ConnectionState()); };
  uniModule->onBusy = [this] { PollSoon(); };
  uniModule->messageBox = [this](const std::string& text, unsigned flags) {
    return MessageBox2(text, flags);
  };
  uniModule->terminal = VQelTerminal1;
  if (auto* kx2 = dynamic_cast<KXADCdect*>(uniModule.get())) {
    kx2->onModified = [this] { configSaved = false; };
    kx2->isBasicLevel = [this] {
      return FormOptions == nullptr || FormOptions->Level() == TFormOptions::Basic;
    };
  }
  uniModule->SetProgressWindow(FormProgress);
  if (FormOptions != nullptr) {
    uniModule->Image().verifyReads = [this] { return FormOptions->VerifyReads(); };
    uniModule->Image().writeBadCrc = [this] { return FormOptions->WriteBadCrc(); };
  }
  PageControl1->SetVisible(true);
  uniModule->Init();
  VQelLanguage1->UpdateAllTexts();
  ui::Loop().ProcessMessages();

  // The program's folder under the documents folder, or the program's own folder.
  const std::string appName = VQelAppInfo1->AppName();
  if (env_.documentsDir.empty()) {
    documentsDir = env_.programDir;
  } else {
    documentsDir = env_.documentsDir;
    if (documentsDir.back() != '/') documentsDir += '/';
    documentsDir += "Qel/" + appName + "/";
  }
  if (!env_.sysConfDir.empty()) windowsDir = env_.sysConfDir;

  if (env_.store != nullptr) {
    // Booleans are kept as "0"/"1" texts; a stored number reads the same way.
    const std::string firstTime = VQelAppInfo1->ReadRegistryString("Options", "FirstTime", "1");
    if (std::atoi(firstTime.c_str()) != 0) showOptionsOnStart = true;
  }
  OpenDialog1->SetInitialDir(documentsDir);
  OpenDialog1->SetFileName(appName + ".eep");
  SaveDialog1->SetInitialDir(documentsDir);
  SaveDialog1->SetFileName(appName + ".eep");
  LoadOptions();

  // Configuration files named on the command line ("-" starts an option, not a file), or else
  // the last one, silently.
  bool loaded = false;
  for (const std::string& arg : env_.args) {
    if (arg.empty() || arg[0] == '-') continue;
    ui::Loop().ProcessMessages();
    LoadConfigFile(arg, true);
    loaded = true;
  }
  if (!loaded && env_.loadLastFile) {
    std::string dir = OpenDialog1->InitialDir();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    LoadConfigFile(dir + OpenDialog1->FileName(), false);
  }

  storedPort_ = QlsComm321->CommPort();
  if (!env_.simulatedPort.empty()) {
    QlsComm321->SetCommPort(env_.simulatedPort);
    UpdateCaption();
  }
  QlsComm321->SetCommComboBoxIndex(*ComboComm);
  Timer1->SetEnabled(true);
  if (FormOptions != nullptr) FormOptions->RGroupLevelsClick();

  startedUp = true;
  if (closeRequested) {
    closeRequested = false;
    Close();
  }
}

void TFormMain::Timer1Timer() {
  if (showOptionsOnStart) {
    // The first run of the program opens the options, modally.
    showOptionsOnStart = false;
    if (FormOptions != nullptr) FormOptions->ShowModal();
  }
  if (polling_) return;
  const FlagUp guard(polling_);
  PollStep();
  ui::Loop().ProcessMessages();
  // With nothing in flight the poll slows down until work starts again (PollSoon).
  const bool busy = showOptionsOnStart || closeRequested || transferRunning_ || takeUnitValues_ ||
                    (uniModule && uniModule->Busy());
  if (!busy && Timer1->Interval() != kIdlePollMs) Timer1->SetInterval(kIdlePollMs);
}

void TFormMain::PollSoon() {
  if (Timer1->Interval() != kPollMs) Timer1->SetInterval(kPollMs);
}

bool TFormMain::shutdownHook(SessionMessage message, int& result) {
  if (message == SessionMessage::Other) return false;
  Close();
  // The reset of a connected unit ends on its own time-outs; the bound only guards against a
  // loop that stopped ticking.
  const uint32_t start = ui::Loop().TickCount();
  while (!closeDone && ui::Loop().TickCount() - start < 60000) {
    PollStep();
    ui::Loop().ProcessMessages();
  }
  if (message == SessionMessage::QueryEnd) {
    ui::Loop().ProcessMessages();
    result = 1;
  } else {
    result = 0;
  }
  return true;
}

void TFormMain::PollStep() {
  if (uniModule) {
    uniModule->Poll();
    const bool linked = !uniModule->IsDisconnected();
    if (linked && !unitLinked_) {
      unitValues.clear();
      MenuCompareUnit->SetEnabled(false);
    }
    unitLinked_ = linked;
    if (takeUnitValues_) {
      takeUnitValues_ = false;
      unitValues = BoundValues(*this);
      MenuCompareUnit->SetEnabled(true);
    }
    const VScriptSyncEEPROM& sync = uniModule->SyncScript();
    if (sync.IsRunning()) {
      transferRunning_ = true;
    } else if (transferRunning_) {
      transferRunning_ = false;
      // A verified write leaves the unit holding what the window shows; a write does not make
      // the values of a unit never read known, though (the menu waits for a read).
      takeUnitValues_ =
          sync.LastEndState() == ScriptDone && (!sync.Writing() || !unitValues.empty());
    }
  }
  if (closeRequested) Close();
}

void TFormMain::MenuCompareUnitClick() {
  if (FormCompare == nullptr || unitValues.empty()) return;
  FormCompare->ShowDifferences(Differences(unitValues, BoundValues(*this)));
  FormCompare->ShowModal();
}

void TFormMain::QlsComm321ReceiveData(const uint8_t* buffer, uint16_t length) {
  echoBuffer->AddData(buffer, length);
  echoBuffer->CStr();
  VQelTerminal1->addLine(echoBuffer->Data(), static_cast<int>(echoBuffer->Length()),
                         VQelTerminal_ltInBin);
  echoBuffer->Clear();
  if (!uniModule) return;
  for (uint16_t i = 0; i < length; ++i) uniModule->FeedByte(buffer[i]);
}

void TFormMain::QlsComm321StateChange(TCommState state) {
  switch (state) {
    case TCommState::CommStateFailed:
      LabelComm->SetText(GetLangText(kTexts, "CommPortBlocked", Win1250("Port blokován")));
      // The label has room for its two words only: the system's reason is its hint.
      LabelComm->SetHint(Utf8ToCp1250(QlsComm321->OpenFailure()));
      LabelComm->SetFontColor(ui::RGB(255, 0, 0));
      BtnDisCon->SetText(GetLangText(kTexts, "CommPortConnect", Win1250("Připojit")));
      break;
    case TCommState::CommStateDisconnected:
      LabelComm->SetHint({});
      LabelComm->SetText(GetLangText(kTexts, "CommPortFreed", Win1250("Port uvolněn")));
      LabelComm->SetFontColor(ui::RGB(0, 0, 0));
      BtnDisCon->SetText(GetLangText(kTexts, "CommPortConnect", Win1250("Připojit")));
      break;
    default:
      LabelComm->SetHint({});
      if (uniModule && !uniModule->IsDisconnected()) {
        LabelComm->SetText(GetLangText(kTexts, "CommPortOK", Win1250("Připojeno")));
        LabelComm->SetFontColor(ui::RGB(0, 0, 255));
      } else {
        LabelComm->SetText(GetLangText(kTexts, "CommPortNoResp", Win1250("Není odpověď")));
        LabelComm->SetFontColor(ui::RGB(128, 0, 128));
      }
      BtnDisCon->SetText(GetLangText(kTexts, "CommPortDisconnect", "Odpojit"));
      break;
  }
  if (state == TCommState::CommStateFailed || state == TCommState::CommStateDisconnected) {
    if (uniModule) uniModule->SetDisconnected();
  }
  ComboComm->SetEnabled(state != TCommState::CommStateConnected);
}

void TFormMain::QlsComm321RequestHangup() {
  // The reader repeats the request while the line stays dead; once the port is closed there is
  // nothing left to let go.
  if (!QlsComm321->Connected()) return;
  if (uniModule)
    uniModule->LineLost();
  else
    QlsComm321->StopComm();
}

void TFormMain::UpdateCaption() {
  std::string caption = Text();
  if (!captionSuffix_.empty() && caption.size() >= captionSuffix_.size() &&
      caption.compare(caption.size() - captionSuffix_.size(), std::string::npos, captionSuffix_) ==
          0)
    caption.erase(caption.size() - captionSuffix_.size());
  captionSuffix_.clear();
  if (!shownFile_.empty())
    captionSuffix_ += " - " + Utf8ToCp1250(shownFile_.substr(shownFile_.rfind('/') + 1));
  if (!env_.simulatedPort.empty())
    captionSuffix_ += " (" + GetLangText(kTexts, "Simulated", Win1250("simulovaná jednotka")) + ")";
  SetText(caption + captionSuffix_);
}

void TFormMain::ComboCommDropDown() {
  std::vector<std::string> paths, descriptions;
  for (serial::Port& port : serial::FindPortsIn(env_.devDir, env_.sysTtyDir)) {
    paths.push_back(std::move(port.path));
    // The adapter's name is shown as text; the path stays the file-system name it is.
    descriptions.push_back(Utf8ToCp1250(port.description));
  }
  ComboComm->SetItems(std::move(paths), std::move(descriptions));
}

void TFormMain::ComboCommChange() {
  QlsComm321->SetCommPort(ComboComm->Text());
}

void TFormMain::BtnConnectClick() {
  if (!uniModule) return;
  if (uniModule->IsDisconnected()) {
    if (uniModule->ConnectScript().IsRunning())
      uniModule->ConnectScript().RequestAbort();
    else
      uniModule->ConnectScript().StartConnect(nullptr);
  } else {
    if (uniModule->ResetScript().IsRunning())
      uniModule->ResetScript().RequestAbort();
    else
      uniModule->ResetScript().StartReset(nullptr);
  }
}

void TFormMain::BtnDisConClick() {
  QlsComm321->SetAutoReconnect(false);
  if (QlsComm321->Connected())
    QlsComm321->StopComm();
  else
    QlsComm321->StartComm();
}

void TFormMain::BtnPrerusitClick() {
  if (uniModule) uniModule->Abort();
}

void TFormMain::ReadEEPROMClick() {
  if (uniModule) uniModule->ReadEEPROM();
}

void TFormMain::WriteEEPROMClick() {
  if (uniModule) uniModule->WriteEEPROM();
}

void TFormMain::VQelTerminal1TermSendData(const uint8_t* bytes, int count) {
  if (uniModule) uniModule->Send(bytes, count);
}

void TFormMain::MenuFileExitClick() {
  Close();
}

void TFormMain::FormClose(ui::CloseAction& action) {
  action = ui::CloseAction::None;
  if (!startedUp) {
    closeRequested = true;
    return;
  }
  if (!closeRequested) {
    if (!SaveOptions()) {
      MessageBox2(
          GetLangText(kTexts, "CannotWriteCfg", Win1250("Nelze zapsat konfiguraci programu")),
          ui::MB_OK | ui::MB_ICONERROR);
      if (!SaveOptions()) {
        // Nothing is lost by staying: a later close starts over.
        MessageBox2(
            GetLangText(kTexts, "CannotWriteCfg", Win1250("Nelze zapsat konfiguraci programu")),
            ui::MB_OK | ui::MB_ICONERROR);
        closeQueryDone = false;
        return;
      }
    }
    closeRequested = true;
    PollSoon();
    uniModule->RequestDisconnect();
    if (env_.store != nullptr) VQelAppInfo1->WriteRegistryString("Options", "FirstTime", "0");
    return;
  }
  if (uniModule->RequestDisconnect()) {
    if (QlsComm321->Connected()) {
      QlsComm321->StopComm();
      return;
    }
    Timer1->SetEnabled(false);
    action = ui::CloseAction::Free;
    closeDone = true;
  }
}

void TFormMain::PageControl1DockDrop(ui::TabSheet& sheet) {
  PageControl1->MovePage(&sheet, PageControl1->PageCount() - 1);
  sheet.SetImageIndex(5);
  // A terminal docked while hidden has no tab to show yet.
  if (sheet.TabVisible()) PageControl1->SetActivePage(&sheet);
  VQelTerminal1->unselectManualLine();
}

void TFormMain::ItemNastaveniClick() {
  // Without blocking the main window.
  if (FormOptions != nullptr) FormOptions->Show();
}

void TFormMain::MenuAboutClick() {
  if (FormAbout != nullptr) FormAbout->ShowModal();
}

void TFormMain::VQelLanguage1ChangeLanguage() {
  MenuHelp->SetRightJustify(true);
  QlsComm321StateChange(QlsComm321->ConnectionState());
  if (FormAbout != nullptr) FormAbout->UpdateTexts();
  VQelTerminal1->RefreshPageCaption();
  UpdateCaption();
  if (uniModule) {
    uniModule->Refresh();
    uniModule->RetranslateSettings();
  }
}
