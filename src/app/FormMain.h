#pragma once
// The main window: the bottom row with the port, the connect button, Read and Write and the link
// status; the settings pages; the menus; the poll loop that drives the device module (10 ms while
// anything is in flight, 100 ms while idle); the receive path from the serial port to the
// terminal and the module; the close sequence that lets a connected unit go before the window
// may close.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BoundValues.h"
#include "app/ProgramEnv.h"
#include "protocol/TInputBuffer.h"
#include "serial/CommTypes.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Timer.h"

class TQlsComm32;
class VQelAppInfo;
class VUniModule;
class VQelTerminal;
namespace lang {
class VQelLanguage;
}
class TFormProgress;
class TFormOptions;
class TFormAbout;
class TFormCompare;

class TFormMain : public ui::Form {
 public:
  TFormMain(ui::Component* owner, ProgramEnv env);
  ~TFormMain() override;

  // Components.
  std::unique_ptr<TQlsComm32> QlsComm321;
  VQelAppInfo* VQelAppInfo1 = nullptr;
  VQelTerminal* VQelTerminal1 = nullptr;
  lang::VQelLanguage* VQelLanguage1 = nullptr;
  ui::Timer* Timer1 = nullptr;
  ui::PageControl* PageControl1 = nullptr;
  ui::TabSheet* SheetGeneral = nullptr;
  ui::TabSheet* SheetNumbers = nullptr;
  ui::TabSheet* SheetDIns = nullptr;
  ui::TabSheet* SheetDOuts = nullptr;
  ui::TabSheet* SheetAIns = nullptr;
  ui::TabSheet* SheetDin815 = nullptr;
  ui::MenuItem* MenuFile = nullptr;
  ui::MenuItem* MenuFileLoadAnyCfg = nullptr;
  ui::MenuItem* MenuFileSaveBrCfg = nullptr;
  ui::MenuItem* MenuSaveReport = nullptr;
  ui::MenuItem* MenuCompareUnit = nullptr;
  ui::MenuItem* MenuFileExit = nullptr;
  ui::MenuItem* ItemNastaveni = nullptr;
  ui::MenuItem* MenuHelp = nullptr;
  ui::MenuItem* MenuAbout = nullptr;
  ui::FileDialog* OpenDialog1 = nullptr;
  ui::FileDialog* SaveDialog1 = nullptr;
  ui::FileDialog* SaveDialog2 = nullptr;
  ui::ComboBox* ComboComm = nullptr;
  ui::Button* BtnConnect = nullptr;
  ui::Button* BtnDisCon = nullptr;
  ui::Button* BtnPrerusit = nullptr;
  ui::Label* LabComm = nullptr;
  ui::Label* LabelComm = nullptr;
  ui::Shape* ShapeProgress = nullptr;
  ui::Button* ReadEEPROM = nullptr;
  ui::Button* WriteEEPROM = nullptr;
  ui::GroupBox* GroupDevInfo = nullptr;
  // General page (the settings bind to these by name).
  ui::Edit* EditStationName = nullptr;
  ui::Edit* EditPIN = nullptr;
  ui::ComboBox* ComboSCA = nullptr;
  ui::Label* LabelMemLenTotal = nullptr;
  ui::Label* LabelMemLenCfg = nullptr;
  ui::Label* LabelMemLenFree = nullptr;
  ui::Label* LabelID = nullptr;
  ui::Label* LabelVersion = nullptr;

  // Own fields.
  std::unique_ptr<VUniModule> uniModule;
  bool startedUp = false;
  bool closeRequested = false;
  bool closeDone = false;
  bool showOptionsOnStart = false;
  std::string windowsDir;
  std::string documentsDir;
  std::unique_ptr<TInputBuffer> echoBuffer;
  bool configSaved = true;
  bool closeQueryDone = false;
  bool inCloseQuery = false;

  // Handlers bound by the window's resource.
  void FormCreate();
  void VQelAppInfo1OwnerFirstShow();
  void VQelAppInfo1ApplRunning();
  void Timer1Timer();
  // The poll runs every kPollMs while anything is in flight (a script, the close, settings work)
  // and every kIdlePollMs otherwise; work that starts asks for the fast poll at once.
  static constexpr uint32_t kPollMs = 10;
  static constexpr uint32_t kIdlePollMs = 100;
  void PollSoon();
  void QlsComm321ReceiveData(const uint8_t* buffer, uint16_t length);
  void QlsComm321StateChange(TCommState state);
  // The port's line went dead: the unit is let go and the port closed (see VUniModule::LineLost).
  void QlsComm321RequestHangup();
  void FormClose(ui::CloseAction& action);
  void ComboCommChange();
  // The port box lists the ports found now; a typed or stored name stays in its edit.
  void ComboCommDropDown();
  void BtnConnectClick();
  void BtnDisConClick();
  void BtnPrerusitClick();
  void ReadEEPROMClick();
  void WriteEEPROMClick();
  void VQelTerminal1TermSendData(const uint8_t* bytes, int count);
  void MenuFileExitClick();
  void PageControl1DockDrop(ui::TabSheet& sheet);
  void VQelLanguage1ChangeLanguage();
  void MenuFileLoadDevCfgClick();
  void MenuFileSaveDevCfgClick();
  void MenuSaveReportClick();
  // The report of the configuration shown, as lines of Windows-1250 text.
  std::vector<std::string> ReportLines();
  // Writes the report; false (with the message shown) when the file could not be written.
  bool SaveReport(const std::string& path);
  // The viewer started for a saved report (the system's default unless set).
  std::string reportViewer;
  void FormCloseQuery(bool& canClose);

  // Configuration files.
  bool LoadConfigFile(const std::string& name, bool showErrors);
  // True when the file was written (the old one is replaced only by a complete new one).
  bool SaveConfigFile(const std::string& path);
  // The question about unsaved changes, asked by the close and by a load: IDYES (saved), IDNO
  // (the user gives them up) or IDCANCEL (the user keeps them, or saving them failed).
  int AskToSaveChanges();
  bool EnsureDirectory(const std::string& path);
  static bool IsDirectory(const std::string& path);

  // Own operations.
  void DeferredStart();
  void PollStep();
  // The desktop session is ending (log-off or shut-down): the window closes the way a user's
  // close does, letting a connected unit go first, before the answer is given. True: handled;
  // result is the answer (1: the session may end, for the query; 0 for the end itself).
  enum class SessionMessage { QueryEnd, End, Other };
  bool shutdownHook(SessionMessage message, int& result);
  void LoadOptions();
  // False when the options could not be written.
  bool SaveOptions();
  void LoadSmsCentres();
  // The caption ends in the name of the configuration file loaded or saved last and, with a
  // simulated unit, a note saying so (again after each translation).
  void UpdateCaption();

  const ProgramEnv& Env() const { return env_; }
  // The windows created after this one (progress, options); the program connects them.
  void SetDialogs(TFormProgress* progress, TFormOptions* options, TFormAbout* about);
  TFormProgress* FormProgress = nullptr;
  TFormOptions* FormOptions = nullptr;
  TFormAbout* FormAbout = nullptr;
  // The compare window; none: the command shows nothing.
  TFormCompare* FormCompare = nullptr;
  // The settings as the window showed them right after the last successful read of the unit
  // (or the last verified write since, which leaves the unit holding them); what the compare
  // window measures the window against. Empty until a unit has been read, and emptied when a
  // unit connects: it may be another one.
  std::vector<BoundValue> unitValues;
  void MenuCompareUnitClick();
  void ItemNastaveniClick();
  void MenuAboutClick();
  // Shows a message through the application-info component (captioned with the program's name).
  int MessageBox2(const std::string& text, unsigned flags);

 private:
  void BuildResource();
  void BuildSettingsPages();

  ProgramEnv env_;
  // Set while a timer tick polls: the poll processes messages, which may fire the timer again.
  bool polling_ = false;
  // Following the transfer script to notice the end of a read: seen running, then the read
  // ended well and the values are taken one poll later, when the window shows them.
  bool transferRunning_ = false;
  bool takeUnitValues_ = false;
  bool unitLinked_ = false;
  // What UpdateCaption put at the caption's end; the file it names; the port the options hold.
  std::string captionSuffix_;
  std::string shownFile_;
  std::string storedPort_;
};
