// The fixed parts of the main window's settings pages: the general page, the column headings and
// the single fields of the other pages. The rows of the phone book, inputs and outputs are made
// by the device description, which also binds every control here to its setting by name.

#include "app/FormMain.h"
#include "app/Place.h"
#include "base/Cp1250.h"
#include "device/Kx2Pages.h"

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
  // Headings over the columns; the "all" boxes' captions end a few pixels left of their boxes.
  using namespace kx2;
  Place<ui::Label>(this, n, "LabelTelNum", kPhoneNumberLeft, 34, kPhoneNumberWidth, 16,
                   Win1250("Telefonní číslo"));
  Place<ui::Label>(this, n, "LabelTelAcceptSMS", kPhoneAcceptLeft - 34, 34, 86, 16,
                   Win1250("Přijímat SMS"));
  Place<ui::Label>(this, n, "LabelTelsAllAccept", kPhoneAcceptLeft - 58, 52, 54, 16,
                   Win1250("ze všech"));
  Place<ui::Label>(this, n, "LabelTelSendEvents", kPhoneSendLeft - 38, 34, 90, 16,
                   Win1250("Posílat události"));
  Place<ui::Label>(this, n, "LabelTelsAllSend", kPhoneSendLeft - 70, 52, 66, 16,
                   Win1250("na všechna"));
  Place<ui::Label>(this, n, "LabelTelPrefix", kPhonePrefixLeft, 34, 200, 16,
                   Win1250("Předpona zprávy"));

  // Inputs and outputs: column headings over the rows.
  struct Heading {
    const char* name;
    int left, top, width;
    std::string caption;
  };
  // "Neg." stands over the negate boxes, its neighbour over the mention boxes up to the page's
  // edge; the "all" of those two ends left of the negate box.
  const int negate = kColumnLeft[8] - 6;
  const int mention = kColumnLeft[9];
  const int allBoth = kColumnLeft[8] - 36;
  const Heading inputs[] = {
      {"LabelDinName", kColumnLeft[1], 14, kColumnWidth[1], Win1250("Jméno")},
      {"LabelDinStateL", kColumnLeft[2], 14, kColumnWidth[2], "Stav L"},
      {"LabelDinStateH", kColumnLeft[3], 14, kColumnWidth[3], "Stav H"},
      {"LabelDinMessLH", kColumnLeft[4], 14, 124, Win1250("Zpráva při L->H")},
      {"LabelDinAllMessLH", kColumnLeft[5], 36, 40, Win1250("vše")},
      {"LabelDinMessHL", kColumnLeft[6], 14, 124, Win1250("Zpráva při H->L")},
      {"LabelDinAllMessHL", kColumnLeft[7], 36, 40, Win1250("vše")},
      {"LabelDinNegate", negate, 14, mention - negate, "Neg."},
      {"LabelDinMention", mention, 14, 48, Win1250("Uvádět")},
      {"LabelDinAllNegMent", allBoth, 36, 32, Win1250("vše")},
  };
  for (const auto& h : inputs)
    Place<ui::Label>(this, SheetDIns, h.name, h.left, h.top, h.width, 16, h.caption);
  const Heading outputs[] = {
      {"LabelDoutName", kColumnLeft[1], 14, kColumnWidth[1], Win1250("Jméno")},
      {"LabelDoutStateL", kColumnLeft[2], 14, kColumnWidth[2], "Povel L"},
      {"LabelDoutStateH", kColumnLeft[3], 14, kColumnWidth[3], "Povel H"},
      {"LabelDoutImpuls", kColumnLeft[5], 14, kColumnWidth[5], "Povel pro impuls"},
      {"LabelDoutNegate", negate, 14, mention - negate, "Neg."},
      {"LabelDoutMention", mention, 14, 48, Win1250("Uvádět")},
      {"LabelDoutAllNegMent", allBoth, 36, 32, Win1250("vše")},
  };
  for (const auto& h : outputs)
    Place<ui::Label>(this, SheetDOuts, h.name, h.left, h.top, h.width, 16, h.caption);
  Place<ui::Label>(this, SheetDOuts, "LabelPulseTime", kColumnLeft[1], 262, kColumnWidth[1], 16,
                   Win1250("Délka impulsu"));
  Place<ui::Edit>(this, SheetDOuts, "EditPulseTime", kColumnLeft[2], 258, kColumnWidth[2], 21);
  Place<ui::Label>(this, SheetDOuts, "LabelPulseTimeUnits", kColumnLeft[3] + 4, 262, 20, 16, "s");
}
