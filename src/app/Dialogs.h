#pragma once
// The program's secondary windows: the progress window of reads and writes, the options dialog,
// the analog input dialog (never opened by this program) and the about box.

#include <functional>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/Form.h"

class TFormMain;

class TFormProgress : public ui::Form {
 public:
  TFormProgress(ui::Component* owner, TFormMain& main);
  ui::Label* LabelCaption = nullptr;
  ui::Gauge* GaugeProg = nullptr;
  ui::Button* BtnCancel = nullptr;

  void FormShow();
  void FormHide();
  void BtnCancelClick();

  // One entry per control placed directly on the main window: "1" enabled, "" disabled.
  std::vector<std::string> enabledStates;

 private:
  TFormMain& main_;
};

class TFormOptions : public ui::Form {
 public:
  explicit TFormOptions(ui::Component* owner);
  ui::RadioGroup* RGroupExpLevel = nullptr;
  ui::RadioGroup* RGroupTerminal = nullptr;
  ui::CheckBox* CheckCheckEEREAD = nullptr;
  ui::CheckBox* CheckSpoilCRC = nullptr;
  ui::CheckBox* CheckWriteFull = nullptr;
  ui::Label* LabelLanguage = nullptr;
  ui::ComboBox* ComboLanguage = nullptr;
  ui::Button* BtnOK = nullptr;
  ui::Button* BtnCancel = nullptr;

  void FormShow();
  void RGroupLevelsClick();
  void BtnOKClick();
  void BtnCancelClick();
  void FormClose();
  void TakeSnapshot();

  // Experience levels.
  enum Level { Basic = 0, Advanced = 1, Expert = 2 };
  int Level() const { return RGroupExpLevel->ItemIndex(); }
  // Reads are verified when the box is checked, and always at the Basic level.
  bool VerifyReads() const { return CheckCheckEEREAD->Checked() || Level() <= Basic; }
  bool WriteBadCrc() const { return CheckSpoilCRC->Checked(); }

  // What the level and terminal choice act on in other windows (the main window sets these).
  std::function<void(int level, bool terminalShown)> onLevelsChanged;
  std::function<std::string()> currentLanguage;
  std::function<void(const std::string&)> setLanguage;

  int savedTerminal = 0;
  int savedLevel = 0;
  bool savedVerify = true;
  bool savedBadCrc = false;
  std::string savedLanguage;
};

class TFormAnaIn;

// What the analog input dialog edits: an object that fills and watches the dialog's controls
// while it is bound, lets go of them, and undoes its changes.
class AnaInBinding {
 public:
  virtual ~AnaInBinding() = default;
  virtual void Attach(TFormAnaIn& dialog) = 0;
  virtual void Detach(TFormAnaIn& dialog) = 0;
  virtual void Undo() = 0;
};

class TFormAnaIn : public ui::Form {
 public:
  explicit TFormAnaIn(ui::Component* owner);
  ui::Edit* editName = nullptr;
  ui::Edit* editStateL = nullptr;
  ui::Edit* editStateM = nullptr;
  ui::Edit* editStateH = nullptr;
  ui::CheckBox* checkSendSt = nullptr;
  ui::CheckBox* checkSendVa = nullptr;
  ui::CheckBox* checkCpl = nullptr;
  ui::ComboBox* ComboValueType = nullptr;
  // One group per transition (low-middle, middle-high): level, hysteresis, the messages up and
  // down and whether each is sent.
  struct Transition {
    ui::GroupBox* group = nullptr;
    ui::Edit* level = nullptr;
    ui::Edit* hysteresis = nullptr;
    ui::Memo* messageUp = nullptr;
    ui::Memo* messageDown = nullptr;
    ui::CheckBox* sendUp = nullptr;
    ui::CheckBox* sendDown = nullptr;
  };
  Transition GroupLM, GroupMH;
  ui::Button* BtnOK = nullptr;
  ui::Button* BtnCancel = nullptr;

  // Shows the dialog for an object (none: empty); the object bound before lets go first.
  void ShowFor(AnaInBinding* object);
  // Binds the same object again (its controls are filled anew) while the dialog is shown.
  void Rebind();
  void BtnOKClick();
  void BtnCancelClick();
  void FormClose();
  AnaInBinding* BoundInput() const { return boundInput_; }

 private:
  Transition MakeTransition(const char* name, int left, const std::string& caption);
  AnaInBinding* boundInput_ = nullptr;
};

class TFormAbout : public ui::Form {
 public:
  TFormAbout(ui::Component* owner, const std::string& appName, std::string productVersion);
  ui::Label* LabelAppName = nullptr;
  ui::Label* LabelVersion = nullptr;
  ui::Label* LabelDate = nullptr;
  ui::Label* LabelRights = nullptr;
  ui::Memo* MemoAddress = nullptr;
  ui::Memo* MemoContact = nullptr;
  ui::Button* BtnDone = nullptr;

  void UpdateTexts();

  // The build's date, from a text like "Oct 23 2001" (the compiler's __DATE__).
  struct Date {
    int year = 2001, month = 1, day = 1;
  };
  static Date ParseBuildDate(const std::string& text);
  Date buildDate;

 private:
  std::string productVersion_;
};
