#include "app/Dialogs.h"

#include "app/FormMain.h"
#include "app/Place.h"

#include <cstdio>

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "components/FormUtils.h"
#include "lang/FormatSettings.h"
#include "protocol/VUniModule.h"
#include "ui/EventLoop.h"

// ---- progress ----

TFormProgress::TFormProgress(ui::Component* owner, TFormMain& main)
    : ui::Form(owner, "FormProgress"), main_(main) {
  SetBorder(ui::BorderStyle::None);
  // Without a caption of its own the desktop would name the window after the program's file.
  SetText(Win1250("Přenos nastavení"));
  SetPosition(ui::FormPosition::MainFormCenter);
  SetBounds(0, 0, 252, 128);  // a client area of 244 x 101
  LabelCaption = Place<ui::Label>(this, this, "LabelCaption", 8, 8, 228, 16);
  GaugeProg = Place<ui::Gauge>(this, this, "GaugeProg", 8, 30, 228, 22);
  BtnCancel = Place<ui::Button>(this, this, "BtnCancel", 82, 64, 80, 26, Win1250("Přerušit"));
  BtnCancel->OnClick = [this](ui::Control&) { BtnCancelClick(); };
  OnShow = [this](ui::Form&) { FormShow(); };
  OnHide = [this](ui::Form&) { FormHide(); };
}

void TFormProgress::FormShow() {
  // Centred on the main window by its position; kept on the screen.
  MoveFormToScreen(*this);
  main_.SetEnabled(false);
  enabledStates.clear();
  for (ui::Control* c : main_.Children()) {
    enabledStates.push_back(c->Enabled() ? "1" : "");
    c->SetEnabled(false);
  }
}

void TFormProgress::FormHide() {
  const auto& children = main_.Children();
  for (size_t i = 0; i < children.size(); ++i)
    children[i]->SetEnabled(i < enabledStates.size() && !enabledStates[i].empty());
  main_.SetEnabled(true);
}

void TFormProgress::BtnCancelClick() {
  if (main_.uniModule) main_.uniModule->Abort();
}

// ---- options ----

TFormOptions::TFormOptions(ui::Component* owner) : ui::Form(owner, "FormOptions") {
  SetText(Win1250("Nastavení"));
  SetBorder(ui::BorderStyle::Dialog);
  SetPosition(ui::FormPosition::MainFormCenter);
  SetBounds(0, 0, 330, 290);
  RGroupExpLevel =
      Place<ui::RadioGroup>(this, this, "RGroupExpLevel", 8, 8, 150, 96, Win1250("Ovládání"));
  RGroupExpLevel->SetItems({Win1250("Základní"), Win1250("Pokročilé"), "Expert"});
  RGroupExpLevel->SetItemIndex(0);
  RGroupTerminal =
      Place<ui::RadioGroup>(this, this, "RGroupTerminal", 168, 8, 150, 72, Win1250("Terminál"));
  RGroupTerminal->SetItems({Win1250("Skrýt"), "Zobrazit"});
  RGroupTerminal->SetItemIndex(0);
  RGroupExpLevel->OnClick = [this](ui::Control&) { RGroupLevelsClick(); };
  RGroupTerminal->OnClick = [this](ui::Control&) { RGroupLevelsClick(); };
  CheckCheckEEREAD = Place<ui::CheckBox>(this, this, "CheckCheckEEREAD", 8, 112, 300, 20,
                                         Win1250("Kontrolovat čtení"));
  CheckCheckEEREAD->SetChecked(true);
  CheckSpoilCRC = Place<ui::CheckBox>(this, this, "CheckSpoilCRC", 8, 136, 300, 20,
                                      Win1250("Zapsat chybně CRC"));
  CheckWriteFull = Place<ui::CheckBox>(this, this, "CheckWriteFull", 8, 160, 300, 20);
  CheckWriteFull->SetChecked(true);
  CheckWriteFull->SetVisible(false);
  LabelLanguage = Place<ui::Label>(this, this, "LabelLanguage", 8, 188, 64, 16, "Jazyk:");
  ComboLanguage = Place<ui::ComboBox>(this, this, "ComboLanguage", 76, 184, 242, 22);
  ComboLanguage->SetStyle(ui::ComboStyle::DropDownList);
  BtnOK = Place<ui::Button>(this, this, "BtnOK", 150, 222, 80, 26, "OK");
  BtnOK->OnClick = [this](ui::Control&) { BtnOKClick(); };
  BtnCancel = Place<ui::Button>(this, this, "BtnCancel", 238, 222, 80, 26, "Storno");
  BtnCancel->OnClick = [this](ui::Control&) { BtnCancelClick(); };
  OnShow = [this](ui::Form&) { FormShow(); };
  OnClose = [this](ui::Form&, ui::CloseAction&) { FormClose(); };
  RGroupLevelsClick();
}

void TFormOptions::TakeSnapshot() {
  savedTerminal = RGroupTerminal->ItemIndex();
  savedLevel = RGroupExpLevel->ItemIndex();
  savedVerify = CheckCheckEEREAD->Checked();
  savedBadCrc = CheckSpoilCRC->Checked();
  savedLanguage = currentLanguage ? currentLanguage() : std::string();
}

void TFormOptions::FormShow() {
  MoveFormToScreen(*this);
  TakeSnapshot();
}

void TFormOptions::RGroupLevelsClick() {
  const int level = Level();
  RGroupTerminal->SetVisible(level > Basic);
  CheckSpoilCRC->SetVisible(level > Advanced);
  CheckCheckEEREAD->SetVisible(level > Basic);
  if (onLevelsChanged) onLevelsChanged(level, RGroupTerminal->ItemIndex() > 0);
}

void TFormOptions::BtnOKClick() {
  TakeSnapshot();
  if (Modal())
    SetModalResult(ui::mrOk);
  else
    Close();
}

void TFormOptions::BtnCancelClick() {
  if (Modal())
    SetModalResult(ui::mrCancel);
  else
    Close();
}

void TFormOptions::FormClose() {
  RGroupTerminal->SetItemIndex(savedTerminal);
  RGroupExpLevel->SetItemIndex(savedLevel);
  CheckCheckEEREAD->SetChecked(savedVerify);
  CheckSpoilCRC->SetChecked(savedBadCrc);
  if (currentLanguage && setLanguage && currentLanguage() != savedLanguage)
    setLanguage(savedLanguage);
}

// ---- analog input, about ----

TFormAnaIn::TFormAnaIn(ui::Component* owner) : ui::Form(owner, "FormAnaIn") {
  SetText(Win1250("Analogový vstup"));
  SetBorder(ui::BorderStyle::Dialog);
  SetPosition(ui::FormPosition::MainFormCenter);
  SetBounds(0, 0, 452, 420);
  Place<ui::Label>(this, this, "LabelName", 8, 12, 90, 16, Win1250("Jméno"));
  editName = Place<ui::Edit>(this, this, "editName", 100, 8, 150, 21);
  Place<ui::Label>(this, this, "LabelStates", 8, 38, 90, 16, "Stavy L, M, H");
  editStateL = Place<ui::Edit>(this, this, "editStateL", 100, 34, 100, 21);
  editStateM = Place<ui::Edit>(this, this, "editStateM", 204, 34, 100, 21);
  editStateH = Place<ui::Edit>(this, this, "editStateH", 308, 34, 100, 21);
  checkSendSt =
      Place<ui::CheckBox>(this, this, "checkSendSt", 8, 64, 140, 17, Win1250("Uvádět stav"));
  checkSendVa =
      Place<ui::CheckBox>(this, this, "checkSendVa", 150, 64, 140, 17, Win1250("Uvádět hodnotu"));
  checkCpl = Place<ui::CheckBox>(this, this, "checkCpl", 292, 64, 140, 17, "Invertovat");
  ComboValueType = Place<ui::ComboBox>(this, this, "ComboValueType", 100, 88, 150, 22);
  ComboValueType->SetStyle(ui::ComboStyle::DropDownList);
  ComboValueType->SetItems({"%", Win1250("°C"), Win1250("Celé číslo (0-255)")});
  GroupLM = MakeTransition("GroupLM", 8, "L - M");
  GroupMH = MakeTransition("GroupMH", 228, "M - H");
  BtnOK = Place<ui::Button>(this, this, "BtnOK", 272, 360, 80, 26, "OK");
  BtnOK->OnClick = [this](ui::Control&) { BtnOKClick(); };
  BtnCancel = Place<ui::Button>(this, this, "BtnCancel", 360, 360, 80, 26, "Storno");
  BtnCancel->OnClick = [this](ui::Control&) { BtnCancelClick(); };
  OnClose = [this](ui::Form&, ui::CloseAction&) { FormClose(); };
}

TFormAnaIn::Transition TFormAnaIn::MakeTransition(const char* name, int left,
                                                  const std::string& caption) {
  const std::string n = name;
  Transition t;
  t.group = Place<ui::GroupBox>(this, this, name, left, 120, 212, 228, caption);
  Place<ui::Label>(this, t.group, (n + "LabelLevel").c_str(), 8, 22, 80, 16, Win1250("Úroveň"));
  t.level = Place<ui::Edit>(this, t.group, (n + "Level").c_str(), 100, 18, 100, 21, "100%");
  Place<ui::Label>(this, t.group, (n + "LabelHyst").c_str(), 8, 48, 80, 16, "Hystereze");
  t.hysteresis = Place<ui::Edit>(this, t.group, (n + "Hyst").c_str(), 100, 44, 100, 21, "100%");
  t.messageUp = Place<ui::Memo>(this, t.group, (n + "MessUp").c_str(), 8, 72, 196, 56);
  t.sendUp = Place<ui::CheckBox>(this, t.group, (n + "SendUp").c_str(), 8, 130, 196, 17,
                                 Win1250("Posílat"));
  t.messageDown = Place<ui::Memo>(this, t.group, (n + "MessDown").c_str(), 8, 150, 196, 56);
  t.sendDown = Place<ui::CheckBox>(this, t.group, (n + "SendDown").c_str(), 8, 208, 196, 17,
                                   Win1250("Posílat"));
  return t;
}

void TFormAnaIn::ShowFor(AnaInBinding* object) {
  Show();
  if (object == boundInput_) return;
  if (boundInput_ != nullptr) boundInput_->Detach(*this);
  boundInput_ = object;
  if (boundInput_ != nullptr) boundInput_->Attach(*this);
}

void TFormAnaIn::Rebind() {
  if (!Visible()) return;
  AnaInBinding* bound = boundInput_;
  ShowFor(nullptr);
  ShowFor(bound);
}

void TFormAnaIn::BtnOKClick() {
  Close();
}

void TFormAnaIn::BtnCancelClick() {
  if (boundInput_ != nullptr) {
    boundInput_->Undo();
    ShowFor(nullptr);
  }
  Hide();
}

void TFormAnaIn::FormClose() {
  ShowFor(nullptr);
}

TFormAbout::TFormAbout(ui::Component* owner, const std::string& appName, std::string productVersion)
    : ui::Form(owner, "FormAbout"), productVersion_(std::move(productVersion)) {
  SetText("O aplikaci");
  SetBorder(ui::BorderStyle::Dialog);
  SetPosition(ui::FormPosition::MainFormCenter);
  // A client area of 396 x 263: the two notices side by side, the button below them.
  SetBounds(0, 0, 404, 290);
  LabelAppName = Place<ui::Label>(this, this, "LabelAppName", 16, 16, 320, 20);
  LabelAppName->SetFontBold(true);
  LabelVersion = Place<ui::Label>(this, this, "LabelVersion", 16, 44, 320, 16);
  LabelDate = Place<ui::Label>(this, this, "LabelDate", 16, 64, 320, 16);
  LabelRights = Place<ui::Label>(this, this, "LabelRights", 16, 90, 320, 16,
                                 Win1250("© Qel s.r.o. Všechna práva vyhrazena."));
  MemoAddress = Place<ui::Memo>(this, this, "MemoAddress", 16, 116, 176, 90);
  MemoAddress->SetLines({"Qel", Win1250("Vývoj a výroba telemetrie")});
  MemoAddress->SetReadOnly(true);
  MemoContact = Place<ui::Memo>(this, this, "MemoContact", 204, 116, 176, 90);
  MemoContact->SetLines({Win1250("Technická podpora:"), Win1250("u dodavatele zařízení")});
  MemoContact->SetReadOnly(true);
  BtnDone = Place<ui::Button>(this, this, "BtnDone", 158, 222, 80, 26, Win1250("Zavřít"));
  BtnDone->SetModalResult(ui::mrOk);
  BtnDone->SetDefault(true);
  BtnDone->SetCancel(true);
  // The notices are read, never edited: the focus moves on to the button.
  for (ui::Memo* memo : {MemoAddress, MemoContact})
    memo->OnEnter = [this](ui::Control&) { BtnDone->SetFocus(); };
  LabelAppName->SetText(appName);
  buildDate = ParseBuildDate(__DATE__);
  OnShow = [this](ui::Form&) { UpdateTexts(); };
}

TFormAbout::Date TFormAbout::ParseBuildDate(const std::string& text) {
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov"};
  Date d;
  d.month = 12;
  for (int i = 0; i < 11; ++i)
    if (text.compare(0, 3, months[i]) == 0) d.month = i + 1;
  int day = 0, year = 0;
  if (text.size() > 3 && std::sscanf(text.c_str() + 3, "%d %d", &day, &year) == 2) {
    d.day = day;
    d.year = year;
  } else {
    d.day = 1;
    d.year = 2001;
  }
  return d;
}

void TFormAbout::UpdateTexts() {
  LabelDate->SetText(lang::FormatShortDate(buildDate.year, buildDate.month, buildDate.day));
  LabelVersion->SetText(GetLangText("FormAbout", "Version", "Verze") + " " + productVersion_);
}
