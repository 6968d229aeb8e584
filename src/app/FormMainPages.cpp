// The fixed parts of the main window's settings pages: the general page, the column headings and
// the single fields of the other pages. The rows of the phone book, inputs and outputs are made
// by the device description, which also binds every control here to its setting by name.

#include "app/FormMain.h"
#include "support/Cp1250.h"

namespace {

template <class T>
T* Place(ui::Form* form, ui::Control* parent, const char* name, int left, int top, int width,
         int height, const std::string& caption = {}) {
  auto* c = new T(form, name);
  c->SetBounds(left, top, width, height);
  if (!caption.empty()) c->SetText(caption);
  c->SetParent(parent);
  return c;
}

// A check box with its message edit on one line.
void MessageRow(ui::Form* form, ui::Control* parent, int top, const char* check, const char* edit,
                const std::string& caption) {
  Place<ui::CheckBox>(form, parent, check, 8, top + 2, 196, 17, caption);
  Place<ui::Edit>(form, parent, edit, 208, top, 160, 21);
}

}  // namespace

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
  auto* station = Place<ui::GroupBox>(this, g, "GroupStation", 8, 8, 380, 106, "Stanice");
  Place<ui::Label>(this, station, "LabelStationName", 10, 22, 110, 16, Win1250("Název stanice:"));
  EditStationName = Place<ui::Edit>(this, station, "EditStationName", 124, 18, 244, 21);
  Place<ui::Label>(this, station, "LabelPIN", 10, 48, 110, 16, "PIN:");
  EditPIN = Place<ui::Edit>(this, station, "EditPIN", 124, 44, 80, 21);
  Place<ui::CheckBox>(this, station, "CheckPINAuth", 214, 46, 154, 17, Win1250("Ověřovat PIN"));
  Place<ui::Label>(this, station, "LabelSCA", 10, 76, 110, 16, Win1250("Servisní centrum:"));
  ComboSCA = Place<ui::ComboBox>(this, station, "ComboSCA", 124, 72, 244, 22);
  ComboSCA->SetItems(BuiltinSmsCentres());

  // Messages with the boxes that switch them on.
  auto* messages =
      Place<ui::GroupBox>(this, g, "GroupMessages", 8, 120, 380, 152, Win1250("Zprávy"));
  MessageRow(this, messages, 20, "CheckNotAuthorized", "EditNotAuthorized",
             Win1250("Odpověď na neoprávněný přístup"));
  MessageRow(this, messages, 45, "CheckMainPwrOff", "EditACOffMsg", Win1250("Výpadek napájení"));
  MessageRow(this, messages, 70, "CheckMainPwrOn", "EditACOnMsg", Win1250("Obnovení napájení"));
  MessageRow(this, messages, 95, "CheckSendOffMsg", "EditOffMsg", Win1250("Vypnutí zařízení"));
  MessageRow(this, messages, 120, "CheckSendOnMsg", "EditOnMsg", Win1250("Zapnutí zařízení"));

  Place<ui::CheckBox>(this, g, "CheckNotAuth2", 16, 280, 360, 17,
                      Win1250("Hlásit neoprávněný přístup na T0"));
  Place<ui::CheckBox>(this, g, "CheckStateToT0", 16, 300, 360, 17,
                      Win1250("Stav posílat vždy také na T0"));
  Place<ui::CheckBox>(this, g, "CheckPowerSaveMode", 16, 320, 360, 17,
                      Win1250("Úsporný režim při slabé baterii"));
  Place<ui::Label>(this, g, "LabelVP", 16, 348, 120, 16, Win1250("Platnost zpráv:"));
  Place<ui::Edit>(this, g, "EditVP", 140, 344, 90, 21);

  auto* tries = Place<ui::GroupBox>(this, g, "GroupSMSTries", 400, 96, 228, 76,
                                    Win1250("Počet pokusů o odeslání SMS"));
  Place<ui::RadioButton>(this, tries, "RBtnSMSTriesFull", 10, 22, 200, 17, Win1250("Neomezeně"));
  Place<ui::RadioButton>(this, tries, "RBtnSMSTriesNumber", 10, 46, 70, 17, Win1250("Počet:"));
  Place<ui::Edit>(this, tries, "EditNrAttempts", 84, 44, 50, 21);

  auto* memory =
      Place<ui::GroupBox>(this, g, "GroupMemSize", 400, 180, 228, 92, Win1250("Velikost paměti"));
  Place<ui::Label>(this, memory, "LabMemLenTotal", 10, 22, 100, 16, Win1250("Celkem:"));
  LabelMemLenTotal = Place<ui::Label>(this, memory, "LabelMemLenTotal", 120, 22, 90, 16, "0");
  Place<ui::Label>(this, memory, "LabMemLenCfg", 10, 44, 100, 16, "Konfigurace:");
  LabelMemLenCfg = Place<ui::Label>(this, memory, "LabelMemLenCfg", 120, 44, 90, 16, "0");
  Place<ui::Label>(this, memory, "LabMemLenFree", 10, 66, 100, 16, "Volno:");
  LabelMemLenFree = Place<ui::Label>(this, memory, "LabelMemLenFree", 120, 66, 90, 16, "0");

  // Phone book: the prefix for international numbers and the column headings.
  ui::TabSheet* n = SheetNumbers;
  Place<ui::Label>(this, n, "LabelInterPrefix", 4, 12, 140, 16, Win1250("Mezinárodní předvolba:"));
  Place<ui::Edit>(this, n, "EditInternationalPrefix", 148, 8, 60, 21);
  Place<ui::CheckBox>(this, n, "CheckAlwaysInterNumber", 224, 10, 300, 17,
                      Win1250("Čísla vždy v mezinárodním tvaru"));
  Place<ui::Label>(this, n, "LabHeadPhoneNumber", 32, 34, 145, 16, Win1250("Telefonní číslo"));
  Place<ui::Label>(this, n, "LabHeadAcceptSMS", 180, 34, 60, 16, Win1250("Příkazy"));
  Place<ui::Label>(this, n, "LabHeadEvents", 244, 34, 50, 16, Win1250("Události"));
  Place<ui::Label>(this, n, "LabHeadPhonePrefix", 288, 34, 200, 16, Win1250("Začátek zprávy"));

  // Inputs and outputs: column headings over the rows.
  struct Heading {
    const char* name;
    int left, width;
    std::string caption;
  };
  const Heading inputs[] = {
      {"LabHeadDinName", 40, 112, Win1250("Název")},
      {"LabHeadDinStateL", 160, 71, "Stav L"},
      {"LabHeadDinStateH", 232, 71, "Stav H"},
      {"LabHeadDinMessLH", 320, 121, Win1250("Zpráva L->H")},
      {"LabHeadDinMessHL", 448, 121, Win1250("Zpráva H->L")},
      {"LabHeadDinCpl", 572, 24, "Neg."},
      {"LabHeadDinMent", 596, 40, Win1250("Uvést")},
  };
  for (const auto& h : inputs)
    Place<ui::Label>(this, SheetDIns, h.name, h.left, 14, h.width, 16, h.caption);
  const Heading outputs[] = {
      {"LabHeadDoutName", 40, 112, Win1250("Název")},
      {"LabHeadDoutStateL", 160, 71, Win1250("Příkaz L")},
      {"LabHeadDoutStateH", 232, 71, Win1250("Příkaz H")},
      {"LabHeadDoutPulse", 336, 105, Win1250("Příkaz pulz")},
      {"LabHeadDoutCpl", 572, 24, "Neg."},
      {"LabHeadDoutMent", 596, 40, Win1250("Uvést")},
  };
  for (const auto& h : outputs)
    Place<ui::Label>(this, SheetDOuts, h.name, h.left, 14, h.width, 16, h.caption);
  Place<ui::Label>(this, SheetDOuts, "LabelPulseTime", 40, 262, 110, 16,
                   Win1250("Délka pulzu [s]:"));
  Place<ui::Edit>(this, SheetDOuts, "EditPulseTime", 160, 258, 71, 21);
}
