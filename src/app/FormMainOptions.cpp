// The program's options in the per-user settings store, under the application's key followed by
// "Options": read at start-up, written when the window closes. Texts are text values, booleans
// the texts "0" and "1", integers numbers (or decimal text where a text value already stands).

#include <cstdlib>
#include <fstream>

#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "base/Cp1250.h"
#include "base/LangText.h"
#include "base/Paths.h"
#include "base/SettingsStore.h"
#include "components/VQelAppInfo.h"
#include "components/VQelTerminal.h"
#include "lang/VQelLanguage.h"
#include "serial/TQlsComm32.h"
#include "ui/EventLoop.h"

namespace {

// The options' sections below the application key, with their typed rules.
class OptionsIni {
 public:
  OptionsIni(SettingsStore& store, const VQelAppInfo& info)
      : store_(store), key_(KeyOf(info) + "\\Options\\") {}

  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& def) const {
    return store_.ReadString(key_ + section, name, def);
  }
  bool ReadBool(const std::string& section, const std::string& name, bool def) const {
    if (store_.ValueType(key_ + section, name) == SettingsValueType::None) return def;
    return store_.ReadInteger(key_ + section, name, def ? 1 : 0) != 0;
  }
  int ReadInteger(const std::string& section, const std::string& name, int def) const {
    return store_.ReadInteger(key_ + section, name, def);
  }
  bool WriteString(const std::string& section, const std::string& name, const std::string& v) {
    return store_.WriteString(key_ + section, name, v);
  }
  bool WriteBool(const std::string& section, const std::string& name, bool v) {
    return store_.WriteString(key_ + section, name, v ? "1" : "0");
  }
  bool WriteInteger(const std::string& section, const std::string& name, int v) {
    if (store_.ValueType(key_ + section, name) == SettingsValueType::String)
      return store_.WriteString(key_ + section, name, std::to_string(v));
    return store_.WriteInteger(key_ + section, name, v);
  }

 private:
  static std::string KeyOf(const VQelAppInfo& info) {
    std::string path = info.RegistryPath();
    if (path.empty() || path.back() != '\\') path += '\\';
    return path + info.AppName();
  }
  SettingsStore& store_;
  std::string key_;
};

const char* const kGeneral = "General";
const char* const kProject = "Project";
const char* const kTerminal = "Forms\\VQelTerminal1_Form";

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

void TFormMain::LoadOptions() {
  if (env_.store != nullptr && FormOptions != nullptr) {
    OptionsIni ini(*env_.store, *VQelAppInfo1);
    // Nothing stored: the port chosen when the window was built (the first found) stays.
    QlsComm321->SetCommPort(ini.ReadString(kGeneral, "CommPort", QlsComm321->CommPort()));
    QlsComm321->SetCommComboBoxIndex(*ComboComm);
    VQelLanguage1->SetCurrLanguage(ini.ReadString(kGeneral, "Language", ""));
    FormOptions->RGroupExpLevel->SetItemIndex(ini.ReadInteger(kGeneral, "UserExpLevel", 0));
    FormOptions->CheckCheckEEREAD->SetChecked(ini.ReadBool(kProject, "ReadEEPtwice", true));
    FormOptions->CheckWriteFull->SetChecked(ini.ReadBool(kProject, "WriteFull", false));
    FormOptions->CheckSpoilCRC->SetChecked(ini.ReadBool(kProject, "WriteBadCRC", false));
    SaveDialog2->SetInitialDir(ini.ReadString(kProject, "DirectoryReport", documentsDir));
    const std::string config = ini.ReadString(
        kProject, "ConfigFile", WithSlash(SaveDialog1->InitialDir()) + SaveDialog1->FileName());
    const size_t slash = config.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : config.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? config : config.substr(slash + 1);
    SaveDialog1->SetInitialDir(folder);
    OpenDialog1->SetInitialDir(folder);
    SaveDialog1->SetFileName(name);
    OpenDialog1->SetFileName(name);

    VQelTerminal1->SetVisible(false);
    VQelTerminal1->SetDocked(ini.ReadBool(kTerminal, "Docked", VQelTerminal1->GetDocked()));
    VQelAppInfo1->loadPositions();
    FormOptions->RGroupTerminal->SetItemIndex(ini.ReadInteger(kGeneral, "Terminal", 0));
    VQelTerminal1->SetFormLeft(ini.ReadInteger(kTerminal, "Left", VQelTerminal1->GetFormLeft()));
    VQelTerminal1->SetFormTop(ini.ReadInteger(kTerminal, "Top", VQelTerminal1->GetFormTop()));
  }
  LoadSmsCentres();
}

bool TFormMain::SaveOptions() {
  if (env_.store == nullptr || FormOptions == nullptr) return true;
  OptionsIni ini(*env_.store, *VQelAppInfo1);
  SettingsStore::Batch batch(*env_.store);
  // A simulated unit's port is gone with the program: the user's own port stays stored.
  const bool simulated =
      !env_.simulatedPort.empty() && QlsComm321->CommPort() == env_.simulatedPort;
  bool ok = ini.WriteString(kGeneral, "CommPort", simulated ? storedPort_ : QlsComm321->CommPort());
  ok = ini.WriteString(kGeneral, "Language", VQelLanguage1->GetCurrLanguage()) && ok;
  ok = ini.WriteInteger(kGeneral, "UserExpLevel", FormOptions->RGroupExpLevel->ItemIndex()) && ok;
  ok = ini.WriteInteger(kGeneral, "Terminal", FormOptions->RGroupTerminal->ItemIndex()) && ok;
  ok = ini.WriteBool(kProject, "ReadEEPtwice", FormOptions->CheckCheckEEREAD->Checked()) && ok;
  ok = ini.WriteBool(kProject, "WriteFull", FormOptions->CheckWriteFull->Checked()) && ok;
  ok = ini.WriteBool(kProject, "WriteBadCRC", FormOptions->CheckSpoilCRC->Checked()) && ok;
  ok = ini.WriteString(kProject, "DirectoryReport", SaveDialog2->InitialDir()) && ok;
  ok = ini.WriteString(kProject, "ConfigFile",
                       WithSlash(SaveDialog1->InitialDir()) + SaveDialog1->FileName()) &&
       ok;
  ok = VQelAppInfo1->savePositions() && ok;
  ok = ini.WriteBool(kTerminal, "Docked", VQelTerminal1->GetDocked()) && ok;
  ok = ini.WriteInteger(kTerminal, "Left", VQelTerminal1->GetFormLeft()) && ok;
  ok = ini.WriteInteger(kTerminal, "Top", VQelTerminal1->GetFormTop()) && ok;
  return batch.Finish() && ok;
}

void TFormMain::LoadSmsCentres() {
  const std::string path = windowsDir + "qel_smsc.ini";
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    ComboSCA->SetItems(lines);
    return;
  }
  MessageBox2(
      GetLangText("Texts", "CannotSMSC", Win1250("Nenalezen soubor s konfigurací SMS center")) +
          " (" + PathText(path) + ").",
      ui::MB_OK | ui::MB_ICONERROR);
}
