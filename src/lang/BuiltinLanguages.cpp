#include "lang/BuiltinLanguages.h"

#include "base/Cp1250.h"
#include "base/Qelutils.h"
#include "lang/LangIcon.h"
#include "lang/LngFile.h"

namespace lang {

namespace {

// One key of a section with its Czech and English texts. Counts of lists are written without
// quotes, as the files have always had them.
struct Entry {
  std::string key;
  std::string czech;
  std::string english;
  bool quoted = true;
};

struct Section {
  std::string name;
  std::vector<Entry> entries;
};

std::vector<Section> BuildSections() {
  std::vector<Section> sections;
  sections.push_back({"General",
                      {
                          {"FileName", "czech.lng", "english.lng"},
                          {"LanguageName", Win1250("Česky"), "English"},
                          {"LanguageId", "0x0405", "0x0809"},
                          {"IconString", BytesToHexaString(CzechFlagIconFile()),
                           BytesToHexaString(BritishFlagIconFile())},
                      }});
  sections.push_back(
      {"FormMain",
       {
           {"FormMain", Win1250("Konfigurační nástroj KX2 Init"), "Configuration tool KX2 Init"},
           {"LabComm", Win1250("Spojení:"), "Connection:"},
           {"OpenDialog1", Win1250("Nahrání konfigurace"), "Load configuration"},
           {"OpenDialog1_Filter_0", Win1250("Konfigurace zařízení (*.eep)"),
            "Device configuration (*.eep)"},
           {"SaveDialog1", Win1250("Uložit konfiguraci zařízení"), "Save device configuration"},
           {"SaveDialog1_Filter_0", Win1250("Konfigurace zařízení (*.eep)"),
            "Device configuration (*.eep)"},
           {"SaveDialog2", Win1250("Uložit zprávu o nastavení"), "Save settings report"},
           {"SaveDialog2_Filter_0", Win1250("Stránky HTML"), "HTML pages"},
           {"SheetGeneral", Win1250("Obecné"), "General"},
           {"LabelStationName", Win1250("Jméno stanice"), "Station name"},
           {"LabelPIN", "PIN", "PIN"},
           {"LabelSCA", "SMS centrum", "SMS centre"},
           {"LabelTelPrefix", Win1250("Předpona zprávy"), "Message prefix"},
           {"LabelVP", Win1250("Platnost zpráv"), "Message validity"},
           {"LabelVPUnits", Win1250("dní"), "days"},
           {"CheckNotAuth2", Win1250("Hlásit neoprávněný přístup na T0"),
            "Report unauthorised access to T0"},
           {"CheckPINAuth", Win1250("Vyžadovat ověření PIN"), "Require PIN authentication"},
           {"CheckStateToT0", Win1250("Posílat stav vždy také na T0"),
            "Always send state to T0 too"},
           {"GroupBox1", Win1250(" Zpráva při ... "), " Message on ... "},
           {"LabelACOffMsg", Win1250("Výpadek napájení"), "Power supply failure"},
           {"LabelACOnMsg", Win1250("Obnovení napájení"), "Power supply recovery"},
           {"LabelOffMsg", Win1250("Vypnutí zařízení"), "Device switched off"},
           {"LabelOnMsg", Win1250("Zapnutí zařízení"), "Device switched on"},
           {"LabelNotAuthorized", Win1250("Neoprávněný přístup"), "Unauthorised access"},
           {"CheckMainPwrOn_Hint", Win1250("Poslat zprávu při obnovení napájení"),
            "Send message on Power Supply Recovery"},
           {"CheckMainPwrOff_Hint", Win1250("Poslat zprávu při výpadku napájení"),
            "Send message on Power Supply Failure"},
           {"CheckNotAuthorized_Hint", Win1250("Odpovídat na neoprávněný přístup"),
            "Reply to unauthorised access"},
           {"CheckSendOnMsg_Hint", Win1250("Poslat zprávu při zapnutí zařízení"),
            "Send message when the device is switched on"},
           {"CheckSendOffMsg_Hint", Win1250("Poslat zprávu při vypnutí zařízení"),
            "Send message when the device is switched off"},
           {"CheckPowerSaveMode", Win1250("Úsporný režim při slabé baterii"),
            "Power save mode on low battery"},
           {"GroupNrAttempts", Win1250(" Při problémech s odesláním SMS "),
            " On problems with sending SMSs "},
           {"LabelNrAttemptsUnits", "pokusech", "attempts"},
           {"RBtnSMSTriesFull", Win1250("Zkoušet stále"), "Keep trying"},
           {"RBtnSMSTriesNumber", Win1250("Vzdát po"), "Give up after"},
           {"SheetNumbers", Win1250("Telefonní seznam"), "Phonebook"},
           {"LabelTelNum", Win1250("Telefonní číslo"), "Phone number"},
           {"LabelTelAcceptSMS", Win1250("Přijímat SMS"), "Accept SMSs"},
           {"LabelTelsAllAccept", Win1250("ze všech"), "from all"},
           {"LabelTelSendEvents", Win1250("Posílat události"), "Send events"},
           {"LabelTelsAllSend", Win1250("na všechna"), "to all"},
           {"CheckTelAcceptSMSAll_Hint", Win1250("Přijímat SMS ze všech telefonních čísel"),
            "Accept SMSs from all phone numbers"},
           {"CheckTelSendEventsAll_Hint", Win1250("Odesílat události na všechna čísla"),
            "Send events to all phones"},
           {"LabelInternationalPrefix", Win1250("Mezinárodní předvolba"), "International prefix"},
           {"CheckAlwaysInterNumber", Win1250("Vždy používat mezinárodní čísla"),
            "Always use international numbers"},
           {"SheetDIns", Win1250("Logické vstupy"), "Logical Inputs"},
           {"LabelDinName", Win1250("Jméno"), "Name"},
           {"LabelDinStateL", "Stav L", "State L"},
           {"LabelDinStateH", "Stav H", "State H"},
           {"CheckDinLHAll_Hint", Win1250("Všechny vstupy při L->H"), "All inputs on L->H"},
           {"LabelDinMessLH", Win1250("Zpráva při L->H"), "Message on L->H"},
           {"CheckDinHLAll_Hint", Win1250("Všechny vstupy při H->L"), "All inputs on H->L"},
           {"LabelDinMessHL", Win1250("Zpráva při H->L"), "Message on H->L"},
           {"LabelDinAllMessLH", Win1250("vše"), "all"},
           {"LabelDinAllMessHL", Win1250("vše"), "all"},
           {"LabelDinNegate", "Neg.", "Neg."},
           {"LabelDinAllNegMent", Win1250("vše"), "all"},
           {"CheckDinCplAll_Hint", Win1250("Negovat všechny vstupy"), "Negate all inputs"},
           {"LabelDinMention", Win1250("Uvádět"), "Mention"},
           {"CheckDinMentionAll_Hint", Win1250("Uvádět všechny vstupy"), "Mention all inputs"},
           {"SheetDOuts", Win1250("Logické výstupy"), "Logical Outputs"},
           {"LabelDoutName", Win1250("Jméno"), "Name"},
           {"LabelDoutStateL", "Povel L", "Command L"},
           {"LabelDoutStateH", "Povel H", "Command H"},
           {"LabelDoutImpuls", "Povel pro impuls", "Pulse command"},
           {"LabelDoutAllNegMent", Win1250("vše"), "all"},
           {"LabelPulseTime", Win1250("Délka impulsu"), "Pulse length"},
           {"LabelPulseTimeUnits", "s", "s"},
           {"LabelDoutNegate", "Neg.", "Neg."},
           {"CheckDoutCplAll_Hint", Win1250("Negovat všechny výstupy"), "Negate all outputs"},
           {"LabelDoutMention", Win1250("Uvádět"), "Mention"},
           {"CheckDoutMentionAll_Hint", Win1250("Uvádět všechny výstupy"), "Mention all outputs"},
           {"ReadEEPROM", Win1250("Načíst"), "Read"},
           {"WriteEEPROM", "Zapsat", "Write"},
           {"GroupMemoryInfo", Win1250(" Velikost paměti "), " Memory Size "},
           {"LabMemLenFree", Win1250("Volná:"), "Free:"},
           {"LabMemLenTotal", Win1250("Celková:"), "Total:"},
           {"LabMemLenCfg", Win1250("Nastavení:"), "Settings:"},
           {"GroupDeviceInfo", Win1250(" Informace o zařízení "), " Information on device "},
           {"LabDeviceType", "Typ:", "Type:"},
           {"LabVersion", "Verze:", "Version:"},
           {"MenuFile", "&Soubor", "&File"},
           {"MenuFileLoadAnyCfg", Win1250("&Načíst konfiguraci"), "&Load configuration"},
           {"MenuFileSaveBrCfg", Win1250("&Uložit konfiguraci"), "&Save configuration"},
           {"MenuSaveReport", Win1250("Uložit report (HTML)"), "Save report (HTML)"},
           {"MenuCompareUnit", Win1250("Porovnat s jednotkou"), "Compare with unit"},
           {"MenuFileExit", "&Konec", "E&xit"},
           {"ItemNastaveni", Win1250("&Nastavení"), "&Options"},
           {"MenuHelp", Win1250("Ná&pověda"), "&Help"},
           {"MenuAbout", "O aplikaci...", "About..."},
           {"BtnPrerusit", Win1250("Přerušit"), "Abort"},
           {"SheetAIns", Win1250("Analogové vstupy"), "Analog Inputs"},
           {"SheetDin815", "Vstupy 8-15", "Inputs 8-15"},
           {"VQelTerminal1_Form", Win1250("Terminál"), "Terminal"},
           {"VQelTerminal1_RGroupMode", Win1250("Režim"), "Mode"},
           {"VQelTerminal1_SendLinebutton", "Odeslat", "Send"},
           {"VQelTerminal1_SendLinebutton_Hint", Win1250("Odeslat s odřádkováním"),
            "Send with new line character"},
           {"VQelTerminal1_Clear", "Vymazat", "Clear"},
           {"VQelTerminal1_Clear_Hint", "Vymazat historii", "Clear history"},
           {"VQelTerminal1_SaveHistory", Win1250("Uložit do souboru..."), "Save to file..."},
           {"VQelTerminal1_BtnUndock", "Uvolnit okno", "Free window"},
           {"VQelTerminal1_BtnUndock_Hint", Win1250("Uvolnit okno terminálu"),
            "Free terminal's window"},
           {"VQelTerminal1_BtnDirect", Win1250("Přímo"), "Directly"},
           {"VQelTerminal1_BtnDirect_Hint", Win1250("Odeslat bez odřádkování"),
            "Send without new line character"},
       }});
  sections.push_back({"FormProgress",
                      {
                          {"FormProgress", Win1250("Přenos nastavení"), "Transferring settings"},
                          {"BtnCancel", Win1250("Přerušit"), "Cancel"},
                      }});
  sections.push_back({"FormOptions",
                      {
                          {"FormOptions", Win1250("Nastavení"), "Options"},
                          {"LabelLanguage", "Jazyk:", "Language:"},
                          {"RGroupExpLevel", Win1250("Ovládání"), "Operation"},
                          {"RGroupExpLevel_Count", "3", "3", false},
                          {"RGroupExpLevel_0", Win1250("Základní"), "Basic"},
                          {"RGroupExpLevel_1", Win1250("Pokročilé"), "Advanced"},
                          {"RGroupExpLevel_2", "Expert", "Expert"},
                          {"RGroupTerminal", Win1250("Terminál"), "Terminal"},
                          {"RGroupTerminal_Count", "2", "2", false},
                          {"RGroupTerminal_0", Win1250("Skrýt"), "Hidden"},
                          {"RGroupTerminal_1", "Zobrazit", "Shown"},
                          {"CheckSpoilCRC", Win1250("Zapsat chybně CRC"), "Write bad CRC"},
                          {"CheckCheckEEREAD", Win1250("Kontrolovat čtení"), "Verify Reads"},
                          {"BtnCancel", "Storno", "Cancel"},
                          {"BtnOK", "OK", "OK"},
                      }});
  sections.push_back(
      {"FormAbout",
       {
           {"FormAbout", "O aplikaci ...", "About..."},
           {"LabelRights", Win1250("© Qel s.r.o. Všechna práva vyhrazena."),
            Win1250("© Qel s.r.o. All rights reserved.")},
           {"Version", "Verze", "Version"},
           {"BtnDone", Win1250("Zavřít"), "Close"},
           {"MemoAddress_Count", "4", "4"},
           {"MemoAddress_0", "Qel s.r.o.", "Qel s.r.o."},
           {"MemoAddress_1", Win1250("Technická 12"), Win1250("Technická 12")},
           {"MemoAddress_2", "616 00 Brno", "616 00 Brno"},
           {"MemoAddress_3", Win1250("Česká republika"), "Czech Republic"},
           {"MemoContact_Count", "2", "2"},
           {"MemoContact_0", Win1250("Technická podpora:"), "Technical support:"},
           {"MemoContact_1", Win1250("u dodavatele zařízení"), "from the supplier of the unit"},
       }});
  sections.push_back(
      {"FormCompare",
       {
           {"FormCompare", Win1250("Porovnání s jednotkou"), "Compare with unit"},
           {"LabelCompare", Win1250("Rozdíly proti jednotce: popis [jméno]: jednotka -> okno"),
            "Differences from the unit: caption [name]: unit -> window"},
           {"BtnClose", Win1250("Zavřít"), "Close"},
           {"NoDifferences", Win1250("Žádné rozdíly"), "No differences"},
       }});
  sections.push_back({"FormAnaIn",
                      {
                          {"FormAnaIn", Win1250("Analogový vstup"), "Analog input"},
                          {"LabelName", Win1250("Jméno"), "Name"},
                          {"LabelStates", "Stavy L, M, H", "States L, M, H"},
                          {"checkSendSt", Win1250("Uvádět stav"), "Include state"},
                          {"checkSendVa", Win1250("Uvádět hodnotu"), "Include value"},
                          {"checkCpl", "Invertovat", "Invert"},
                          {"ComboValueType_Count", "3", "3", false},
                          {"ComboValueType_0", "%", "%"},
                          {"ComboValueType_1", Win1250("°C"), Win1250("°C")},
                          {"ComboValueType_2", Win1250("Celé číslo (0-255)"), "Integer (0-255)"},
                          {"GroupLM", "L - M", "L - M"},
                          {"GroupLMLabelLevel", Win1250("Úroveň"), "Level"},
                          {"GroupLMLabelHyst", "Hystereze", "Hysteresis"},
                          {"GroupLMSendUp", Win1250("Posílat"), "Send"},
                          {"GroupLMSendDown", Win1250("Posílat"), "Send"},
                          {"GroupMH", "M - H", "M - H"},
                          {"GroupMHLabelLevel", Win1250("Úroveň"), "Level"},
                          {"GroupMHLabelHyst", "Hystereze", "Hysteresis"},
                          {"GroupMHSendUp", Win1250("Posílat"), "Send"},
                          {"GroupMHSendDown", Win1250("Posílat"), "Send"},
                          {"BtnOK", "OK", "OK"},
                          {"BtnCancel", "Storno", "Cancel"},
                      }});
  sections.push_back(
      {"Texts",
       {
           {"CannotWriteCfg", "Nelze zapsat konfiguraci programu", "Cannot write configuration"},
           {"CannotSaveHistory", Win1250("Nelze uložit historii terminálu do souboru "),
            "Cannot save the terminal's history to file "},
           {"CannotCreateDir", Win1250("Nelze vytvořit adresář "), "Cannot create directory "},
           {"CannotSuffix", Win1250("Nelze zjistit příponu konfiguračního souboru "),
            "Cannot find suffix of configuration file "},
           {"CfgNotFound", Win1250("Nelze nalézt konfigurační soubor "),
            "Cannot find configuration file "},
           {"CannotReadCfg", Win1250("Chyba při čtení souboru "), "Error reading file "},
           {"ErrorReadingEep", Win1250("Chyba při interpretaci nastavení zařízení"),
            "Error interpreting device's memory"},
           {"CannotWriteEep", Win1250("Chyba při zápisu nastavení"),
            "Error writing device settings"},
           {"CfgChanged", Win1250("Konfigurace zařízení byla změněna. Chcete ji uložit do souboru"),
            "Device settings have been changed. Do you want them to be saved to "
            "file"},
           {"CannotSMSC", Win1250("Nenalezen soubor s konfigurací SMS center"),
            "Cannot find file containing SMS centres"},
           {"DeviceNotXKX2", Win1250("Je připojeno jiné zařízení než XKX2, "),
            "Connected device is not XKX2, "},
           {"DeviceVer1", Win1250("Verze zařízení"), "Device version"},
           {"DeviceVerHigh", Win1250("je vyšší než verze programu"),
            "is higher than application version"},
           {"DeviceVerLow", Win1250("je nižší než verze programu"),
            "is lower than application version"},
           {"DeviceBadProtokol", Win1250("Zařízení komunikuje nepodporovaným protokolem"),
            "The device uses unsupported communications protocol"},
           {"ConnectAnywayQ", Win1250("přejete si přesto připojit?"),
            "do you want to connect anyway?"},
           {"DeviceDead", Win1250("Zařízení přestalo komunikovat. Ověřte propojení a napájení."),
            "Device stopped responding. Check connection and power supply."},
           {"ProgressWriting", Win1250("Průběh zápisu"), "Write progress"},
           {"ProgressReading", Win1250("Průběh načítání"), "Read progress"},
           {"ConnectCancel", Win1250("Přerušit"), "Cancel"},
           {"ConnectDo", Win1250("Připojit"), "Connect"},
           {"ConnectBreak", Win1250("Rozpojit"), "Force disc."},
           {"ConnectDis", "Odpojit", "Disconnect"},
           {"ConfigLong", Win1250("Nastavení se nevejde do paměti zařízení!"),
            "Device memory is too small for required settings!"},
           {"CommPortBlocked", Win1250("Port blokován"), "Port blocked"},
           {"CommPortFreed", Win1250("Port uvolněn"), "Port freed"},
           {"CommPortNoResp", Win1250("Není odpověď"), "No response"},
           {"CommPortOK", Win1250("Připojeno"), "Connected"},
           {"CommPortDisconnect", "Odpojit", "Disconnect"},
           {"CommPortConnect", Win1250("Připojit"), "Connect"},
           {"Simulated", Win1250("simulovaná jednotka"), "simulated unit"},
           {"EepWriteOK", Win1250("Zařízení bylo úspěšně naprogramováno"),
            "Device has been programmed successfully"},
           {"EepWriteFail", Win1250("Během programování zařízení došlo k chybě"),
            "The was an error programming the device"},
           {"EepWriteBreak", Win1250("Programování zařízení bylo přerušeno"),
            "The programming of the device has been interrupted"},
           {"EepReadOK", Win1250("Nastavení zařízení bylo načteno"),
            "Settings of the device have been read successfully"},
           {"EepReadFail", Win1250("Během čtení nastavení zařízení došlo k chybě"),
            "The was an error reading settings"},
           {"EepReadBreak", Win1250("Čtení nastavení zařízení bylo přerušeno"),
            "Reading of settings has been interrupted"},
       }});
  sections.push_back(
      {"Report",
       {
           {"True", "Ano", "True"},
           {"False", "Ne", "False"},
           {"StationSetting1", Win1250("Nastavení stanice "), "Settings of Station "},
           {"StationSetting2", " z programu ", " from Application "},
           {"ListingOfDevice", Win1250("Výpis nastavení zařízení KX2"), "Listing of device KX2"},
           {"TimeStamp", Win1250("Časová známka"), "Time stamp"},
           {"GeneratedBy", Win1250("Tento výpis byl generován programem"),
            "This listing was generated by application"},
           {"Chapter", "Kapitola", "Chapter"},
           {"Empty", Win1250("<em>prázdné</em>"), "<em>empty</em>"},
           {"NotSent", Win1250("<em>neposílá se</em>"), "<em>not sent</em>"},
           {"Days", "(dny)", "(days)"},
           {"Summary", Win1250("Shrnutí"), "Summary"},
           {"MemoryUsed", Win1250("Velikost nastavení"), "Size of setting"},
           {"EndOfListing", Win1250("Konec výpisu"), "End of Listing"},
       }});
  sections.push_back(
      {"EEPROM",
       {
           {"HintAcceptSMSfrom", Win1250("Přijímat SMS z T%d"), "Accept SMSs from T%d"},
           {"HintEventsTo", Win1250("Události na T%d"), "Events to T%d"},
           {"HintDigInLH", "Dig. vstup %d L->H", "Dig. input %d L->H"},
           {"HintDigInHL", "Dig. vstup %d H->L", "Dig. input %d H->L"},
           {"HintDigInCpl", "Negovat dig. vstup %d", "Negate dig. input %d"},
           {"HintDigInMent", Win1250("Uvádět dig. vstup %d"), "Mention dig. input %d"},
           {"HintDigOutCpl", Win1250("Negovat dig. výstup %d"), "Negate dig. output %d"},
           {"HintDigOutMent", Win1250("Uvádět dig. výstup %d"), "Mention dig. output %d"},
       }});
  return sections;
}

const std::vector<Section>& Sections() {
  static const std::vector<Section> sections = BuildSections();
  return sections;
}

std::string BuildText(bool czech) {
  Lines lines;
  for (const Section& section : Sections()) {
    if (!lines.empty()) lines.emplace_back();
    std::string header = "[" + section.name + "]";
    // The Czech file has always carried two blanks after this header. Being no header, the
    // section's Czech texts are never found, and the callers' defaults (the same texts) show.
    if (czech && section.name == "EEPROM") header += "  ";
    lines.push_back(header);
    for (const Entry& entry : section.entries) {
      const std::string& text = czech ? entry.czech : entry.english;
      lines.push_back(entry.key + "=" + (entry.quoted ? QuoteLngValue(text) : text));
    }
  }
  return JoinLines(lines);
}

}  // namespace

std::string BuiltinCzechText() {
  static const std::string text = BuildText(true);
  return text;
}

std::string BuiltinEnglishText() {
  static const std::string text = BuildText(false);
  return text;
}

std::vector<std::string> BuiltinLanguageTexts() {
  return {BuiltinCzechText(), BuiltinEnglishText()};
}

}  // namespace lang
