// The main window's configuration files: load and save with their dialogs kept in step, the
// folders made as needed, and the question about unsaved changes when the window closes.

#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>

#include "app/FormMain.h"
#include "base/Cp1250.h"
#include "base/LangText.h"
#include "base/Paths.h"
#include "protocol/VUniModule.h"
#include "ui/EventLoop.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

bool TFormMain::IsDirectory(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool TFormMain::EnsureDirectory(const std::string& path) {
  if (path.empty() || IsDirectory(path)) return true;
  const std::string full = WithSlash(path);
  for (size_t slash = full.find('/', 1); slash != std::string::npos;
       slash = full.find('/', slash + 1)) {
    const std::string prefix = full.substr(0, slash);
    if (IsDirectory(prefix)) continue;
    if (::mkdir(prefix.c_str(), 0777) == 0 || (errno == EEXIST && IsDirectory(prefix))) continue;
    MessageBox2(GetLangText("Texts", "CannotCreateDir", Win1250("Nelze vytvořit adresář ")) +
                    PathText(prefix),
                ui::MB_OK | ui::MB_ICONERROR);
    return false;
  }
  return true;
}

void TFormMain::MenuFileLoadDevCfgClick() {
  // A load replaces what the window shows: edits not yet saved get the close's question first.
  if (!configSaved && AskToSaveChanges() == ui::IDCANCEL) return;
  EnsureDirectory(OpenDialog1->InitialDir());
  // The dialog keeps the folder and name it was given until a file has actually been loaded:
  // a file that failed to load must not become the one the next save overwrites.
  const std::string dir = OpenDialog1->InitialDir();
  const std::string name = OpenDialog1->FileName();
  if (!OpenDialog1->Execute()) return;
  const std::string chosen = OpenDialog1->FileName();
  OpenDialog1->SetFileName(name);
  OpenDialog1->SetInitialDir(dir);
  if (!LoadConfigFile(chosen, true)) return;
  OpenDialog1->SetInitialDir(FolderOf(chosen));
  OpenDialog1->SetFileName(NameOf(chosen));
  SaveDialog1->SetInitialDir(OpenDialog1->InitialDir());
  SaveDialog1->SetFileName(OpenDialog1->FileName());
}

void TFormMain::MenuFileSaveDevCfgClick() {
  EnsureDirectory(SaveDialog1->InitialDir());
  if (!SaveDialog1->Execute()) return;
  const std::string chosen = SaveDialog1->FileName();
  SaveDialog1->SetInitialDir(FolderOf(chosen));
  SaveDialog1->SetFileName(NameOf(chosen));
  OpenDialog1->SetInitialDir(SaveDialog1->InitialDir());
  OpenDialog1->SetFileName(SaveDialog1->FileName());
  SaveConfigFile(WithSlash(SaveDialog1->InitialDir()) + SaveDialog1->FileName());
}

bool TFormMain::LoadConfigFile(const std::string& name, bool showErrors) {
  if (!uniModule) return false;
  const std::string path =
      name.find('/') != std::string::npos ? name : WithSlash(OpenDialog1->InitialDir()) + name;
  if (!FileExists(path)) {
    if (showErrors)
      MessageBox2(
          GetLangText("Texts", "CfgNotFound", Win1250("Nelze nalézt konfigurační soubor ")) +
              PathText(name),
          ui::MB_OK | ui::MB_ICONERROR);
    return false;
  }
  if (::access(path.c_str(), R_OK) != 0) return false;  // there, but not ours to read
  if (uniModule->LoadFile(path)) {
    configSaved = true;
    shownFile_ = path;
    UpdateCaption();
    return true;
  }
  MessageBox2(
      GetLangText("Texts", "CannotReadCfg", Win1250("Chyba při čtení souboru ")) + PathText(path),
      ui::MB_OK | ui::MB_ICONERROR);
  return false;
}

bool TFormMain::SaveConfigFile(const std::string& path) {
  if (!uniModule) return false;
  EnsureDirectory(FolderOf(path));
  if (uniModule->SaveFile(path)) {
    configSaved = true;
    shownFile_ = path;
    UpdateCaption();
    return true;
  }
  MessageBox2(GetLangText("Texts", "CannotWriteEep", Win1250("Chyba při zápisu nastavení")),
              ui::MB_OK | ui::MB_ICONERROR);
  return false;
}

int TFormMain::AskToSaveChanges() {
  const std::string path = WithSlash(SaveDialog1->InitialDir()) + SaveDialog1->FileName();
  const int answer = MessageBox2(
      GetLangText("Texts", "CfgChanged",
                  Win1250("Konfigurace zařízení byla změněna. Chcete ji uložit do souboru")) +
          "\n" + PathText(path) + " ?",
      ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
  // Going on would lose the changes the user asked to keep: a failed save counts as Cancel.
  if (answer == ui::IDYES && !SaveConfigFile(path)) return ui::IDCANCEL;
  return answer == ui::IDYES ? ui::IDYES : answer == ui::IDNO ? ui::IDNO : ui::IDCANCEL;
}

void TFormMain::FormCloseQuery(bool& canClose) {
  if (inCloseQuery) {
    canClose = false;
    return;
  }
  if (closeQueryDone) return;
  closeQueryDone = true;
  inCloseQuery = true;
  if (!configSaved) {
    const int answer = AskToSaveChanges();
    if (answer == ui::IDCANCEL) {
      // The next close asks again.
      canClose = false;
      closeQueryDone = false;
    } else if (answer == ui::IDNO) {
      configSaved = true;
    }
  }
  inCloseQuery = false;
}
