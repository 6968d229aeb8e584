// The fixed parts of the main window's settings pages: the general page, the column headings and
// the single fields of the other pages. The rows of the phone book, inputs and outputs are made
// by the device description, which also binds every control here to its setting by name.

#include "app/FormMain.h"
#include "app/Place.h"
#include "base/Cp1250.h"

// The SMS centres offered when the list file is missing: number, a space, and the operator in
// double quotes (country code and name).
const std::vector<std::string>& BuiltinSmsCentres() {
  static const std::vector<std::string> list = {
      "+420602909909 \"CZE Eurotel\"",     "+420603052000 \"CZE Radiomobil\"",
      "+420608005681 \"CZE Cesky Mobil\"", "+12063130004 \"USA Voicestream\"",
      "+97254120032 \"ISR Orange\"",
  };
  return list;
}

void TFormMain::BuildSettingsPages() {
  ui::TabSheet* g = SheetGeneral;
  // Station.
  Place<ui::Label>(this, g, "LabelStationName", 12, 14, 120, 16, Win1250("Jméno stanice"));
  EditStationName = Place<ui::Edit>(this, g, "EditStationName", 136, 10, 244, 21);
  Place<ui::Label>(this, g, "LabelPIN", 12, 40, 120, 16, "PIN");
  EditPIN = Place<ui::Edit>(this, g, "EditPIN", 136, 36, 80, 21);
  Place<ui::CheckBox>(this, g, "CheckPINAuth", 224, 38, 172, 17, Win1250("Vyžadovat ověření PIN"));
  Place<ui::Label>(this, g, "LabelSCA", 12, 66, 120, 16, "SMS centrum");
  ComboSCA = Place<ui::ComboBox>(this, g, "ComboSCA", 136, 62, 244, 22);
  ComboSCA->SetItems(BuiltinSmsCentres());

  // Messages, each with the box that switches it on.
  auto* messages =
      Place<ui::GroupBox>(this, g, "GroupBox1", 8, 92, 380, 150, Win1250(" Zpráva při ... "));
  struct Row {
    const char* check;
    const char* label;
    const char* edit;
    std::string caption;
  };
  const Row rows[] = {
      {"CheckNotAuthorized", "LabelNotAuthorized", "EditNotAuthorized",
       Win1250("Neoprávněný přístup")},
      {"CheckMainPwrOff", "LabelACOffMsg", "EditACOffMsg", Win1250("Výpadek napájení")},
      {"CheckMainPwrOn", "LabelACOnMsg", "EditACOnMsg", Win1250("Obnovení napájení")},
      {"CheckSendOffMsg", "LabelOffMsg", "EditOffMsg", Win1250("Vypnutí zařízení")},
      {"CheckSendOnMsg", "LabelOnMsg", "EditOnMsg", Win1250("Zapnutí zařízení")},
  };
  int top = 20;
  for (const Row& r : rows) {
    Place<ui::CheckBox>(this, messages, r.check, 8, top + 2, 17, 17);
    Place<ui::Label>(this, messages, r.label, 30, top + 3, 140, 16, r.caption);
    Place<ui::Edit>(this, messages, r.edit, 176, top, 192, 21);
    top += 25;
  }

  Place<ui::CheckBox>(this, g, "CheckNotAuth2", 12, 250, 370, 17,
                      Win1250("Hlásit neoprávněný přístup na T0"));
  Place<ui::CheckBox>(this, g, "CheckStateToT0", 12, 270, 370, 17,
                      Win1250("Posílat stav vždy také na T0"));
  Place<ui::CheckBox>(this, g, "CheckPowerSaveMode", 12, 290, 370, 17,
                      Win1250("Úsporný režim při slabé baterii"));
  Place<ui::Label>(this, g, "LabelVP", 12, 320, 120, 16, Win1250("Platnost zpráv"));
  Place<ui::Edit>(this, g, "EditVP", 136, 316, 80, 21);
  Place<ui::Label>(this, g, "LabelVPUnits", 222, 320, 60, 16, Win1250("dní"));

  auto* tries = Place<ui::GroupBox>(this, g, "GroupNrAttempts", 400, 96, 228, 76,
                                    Win1250(" Při problémech s odesláním SMS "));
  Place<ui::RadioButton>(this, tries, "RBtnSMSTriesFull", 10, 22, 200, 17,
                         Win1250("Zkoušet stále"));
  Place<ui::RadioButton>(this, tries, "RBtnSMSTriesNumber", 10, 46, 96, 17, Win1250("Vzdát po"));
  Place<ui::Edit>(this, tries, "EditNrAttempts", 108, 44, 36, 21);
  Place<ui::Label>(this, tries, "LabelNrAttemptsUnits", 150, 48, 74, 16, "pokusech");

  auto* memory = Place<ui::GroupBox>(this, g, "GroupMemoryInfo", 400, 180, 228, 92,
                                     Win1250(" Velikost paměti "));
  Place<ui::Label>(this, memory, "LabMemLenTotal", 10, 22, 100, 16, Win1250("Celková:"));
  LabelMemLenTotal = Place<ui::Label>(this, memory, "LabelMemLenTotal", 120, 22, 90, 16, "0");
  Place<ui::Label>(this, memory, "LabMemLenCfg", 10, 44, 100, 16, Win1250("Nastavení:"));
  LabelMemLenCfg = Place<ui::Label>(this, memory, "LabelMemLenCfg", 120, 44, 90, 16, "0");
  Place<ui::Label>(this, memory, "LabMemLenFree", 10, 66, 100, 16, Win1250("Volná:"));
  LabelMemLenFree = Place<ui::Label>(this, memory, "LabelMemLenFree", 120, 66, 90, 16, "0");

  // Phone book: the prefix for international numbers and the column headings.
  ui::TabSheet* n = SheetNumbers;
  Place<ui::Label>(this, n, "LabelInternationalPrefix", 4, 12, 140, 16,
                   Win1250("Mezinárodní předvolba"));
  Place<ui::Edit>(this, n, "EditInternationalPrefix", 148, 8, 60, 21);
  Place<ui::CheckBox>(this, n, "CheckAlwaysInterNumber", 224, 10, 300, 17,
                      Win1250("Vždy používat mezinárodní čísla"));
  Place<ui::Label>(this, n, "LabelTelNum", 32, 34, 145, 16, Win1250("Telefonní číslo"));
  Place<ui::Label>(this, n, "LabelTelAcceptSMS", 176, 34, 72, 16, Win1250("Přijímat SMS"));
  Place<ui::Label>(this, n, "LabelTelsAllAccept", 150, 52, 44, 16, Win1250("ze všech"));
  Place<ui::Label>(this, n, "LabelTelSendEvents", 238, 34, 50, 16, Win1250("Posílat události"));
  Place<ui::Label>(this, n, "LabelTelsAllSend", 214, 52, 44, 16, Win1250("na všechna"));
  Place<ui::Label>(this, n, "LabelTelPrefix", 288, 34, 200, 16, Win1250("Předpona zprávy"));

  // Inputs and outputs: column headings over the rows.
  struct Heading {
    const char* name;
    int left, top, width;
    std::string caption;
  };
  const Heading inputs[] = {
      {"LabelDinName", 40, 14, 112, Win1250("Jméno")},
      {"LabelDinStateL", 160, 14, 71, "Stav L"},
      {"LabelDinStateH", 232, 14, 71, "Stav H"},
      {"LabelDinMessLH", 320, 14, 121, Win1250("Zpráva při L->H")},
      {"LabelDinAllMessLH", 340, 36, 40, Win1250("vše")},
      {"LabelDinMessHL", 448, 14, 121, Win1250("Zpráva při H->L")},
      {"LabelDinAllMessHL", 468, 36, 40, Win1250("vše")},
      {"LabelDinNegate", 570, 14, 26, "Neg."},
      {"LabelDinMention", 598, 14, 40, Win1250("Uvádět")},
      {"LabelDinAllNegMent", 540, 36, 34, Win1250("vše")},
  };
  for (const auto& h : inputs)
    Place<ui::Label>(this, SheetDIns, h.name, h.left, h.top, h.width, 16, h.caption);
  const Heading outputs[] = {
      {"LabelDoutName", 40, 14, 112, Win1250("Jméno")},
      {"LabelDoutStateL", 160, 14, 71, "Povel L"},
      {"LabelDoutStateH", 232, 14, 71, "Povel H"},
      {"LabelDoutImpuls", 336, 14, 105, "Povel pro impuls"},
      {"LabelDoutNegate", 570, 14, 26, "Neg."},
      {"LabelDoutMention", 598, 14, 40, Win1250("Uvádět")},
      {"LabelDoutAllNegMent", 540, 36, 34, Win1250("vše")},
  };
  for (const auto& h : outputs)
    Place<ui::Label>(this, SheetDOuts, h.name, h.left, h.top, h.width, 16, h.caption);
  Place<ui::Label>(this, SheetDOuts, "LabelPulseTime", 40, 262, 110, 16, Win1250("Délka impulsu"));
  Place<ui::Edit>(this, SheetDOuts, "EditPulseTime", 160, 258, 71, 21);
  Place<ui::Label>(this, SheetDOuts, "LabelPulseTimeUnits", 236, 262, 20, 16, "s");
}
