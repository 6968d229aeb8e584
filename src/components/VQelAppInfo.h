#pragma once
// Application info: a non-visual component on the main window that carries the application's
// name and the root of its keys in the settings store, tells the window when start-up has
// finished (the first-run event), remembers positions, sizes, states and the stacking order of
// all windows between runs, shows message boxes titled with the application's name and hands out
// the program's version texts.
//
// Setting it up (the owner window does this in its constructor):
//
//   appInfo_ = new VQelAppInfo(this, &settingsStore);   // owned by the window
//   appInfo_->SetAppName("KX2 Init");
//   appInfo_->OnApplRunning = ...;                        // deferred start-up
//   appInfo_->OnOwnerFirstShow = ...;                     // e.g. loadPositions()
//   appInfo_->Loaded();                                   // after the window's own OnShow is set
//
// The settings store is not owned: the program keeps one store for its whole run and hands it to
// the component at construction or later through SetSettingsStore; it has to outlive the
// component. Without a store, reads give their defaults and writes report failure.
//
// Settings keys: RegistryPath + AppName + "\" + section for the registry operations, and
// RegistryPath + AppName + "\Options\Forms\" (+ the window's name) for window positions, e.g.
// "Software\Qel\KX2 Init\Options\Forms\FormMain".

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/ProgramVersion.h"
#include "ui/Component.h"

namespace ui {
class Form;
class Timer;
}  // namespace ui
class SettingsStore;

class VQelAppInfo : public ui::Component {
 public:
  using NotifyEvent = std::function<void(VQelAppInfo& sender)>;

  // `owner` must be a ui::Form (std::invalid_argument otherwise). Starts the 1 ms start-up timer
  // through the installed event loop.
  explicit VQelAppInfo(ui::Component* owner, SettingsStore* store = nullptr,
                       std::string name = "VQelAppInfo1");
  ~VQelAppInfo() override;
  const char* ClassName() const override { return "VQelAppInfo"; }

  // Completes the set-up once the owner's own OnShow handler and this component's properties are
  // in place: puts the first-show hook on the owner. Throws std::runtime_error when
  // SplashFormClass names a class (this program registers no window classes). Runs once.
  void Loaded();

  SettingsStore* Settings() const { return store_; }
  void SetSettingsStore(SettingsStore* store) { store_ = store; }

  const std::string& AppName() const { return appName_; }
  void SetAppName(std::string name) { appName_ = std::move(name); }
  const std::string& RegistryPath() const { return registryPath_; }
  // Stores the path with a final backslash.
  void SetRegistryPath(const std::string& path);
  bool InhibitApplRunning() const { return inhibitApplRunning_; }
  void SetInhibitApplRunning(bool inhibit) { inhibitApplRunning_ = inhibit; }
  bool ResizeNonresizeable() const { return resizeNonresizeable_; }
  void SetResizeNonresizeable(bool resize) { resizeNonresizeable_ = resize; }
  const std::string& SplashFormClass() const { return splashFormClass_; }
  void SetSplashFormClass(std::string name) { splashFormClass_ = std::move(name); }
  bool SplashVisible() const { return splashVisible_; }
  void SetSplashVisible(bool visible) { splashVisible_ = visible; }
  uint32_t SplashMinTime() const { return splashMinTime_; }
  void SetSplashMinTime(uint32_t ms) { splashMinTime_ = ms; }
  // Names of windows whose positions are neither saved nor restored (case ignored).
  const std::vector<std::string>& ExceptionList() const { return exceptionList_; }
  void SetExceptionList(std::vector<std::string> names) { exceptionList_ = std::move(names); }
  bool IsException(const std::string& formName) const;

  // The first-run event: fired once, from the first tick of the start-up timer that finds
  // InhibitApplRunning false.
  NotifyEvent OnApplRunning;
  // The owner window is being shown for the first time (fired before the window's own OnShow).
  NotifyEvent OnOwnerFirstShow;

  // True once the first-run step has run. Setting true runs the step now unless it is held back;
  // setting false does nothing.
  bool ApplRunning() const { return applRunning_; }
  void SetApplRunning(bool running);

  ui::Form& OwnerForm() const { return *ownerForm_; }

  // Modal message boxes through the event loop, captioned with AppName or the caption given;
  // the first-run event is held back while they are open. Flags and results are MB_* / ID*.
  int MessageBox(const std::string& text, unsigned flags);
  int MessageBox(const std::string& caption, const std::string& text, unsigned flags);
  int MessageBox2(const std::string& text, unsigned flags);
  int MessageBox2(const std::string& caption, const std::string& text, unsigned flags);
  // One pass of pending work, holding back the first-run event meanwhile.
  void ProcessMessages();

  // The key of the stored window positions, with a final backslash.
  std::string FormsKey() const;
  // Restores every window of the application (see GetForms) from the store: the stored stacking
  // order is rebuilt by restoring the top-most window last.
  void loadPositions();
  void loadPositions(bool restoreVisibility, bool resizeNonSizeable);
  // Saves every window of the application and their stacking order. True when the store holds
  // everything on disk.
  bool savePositions();
  // Restores one window from formsKey + its name. Windows without a name are left alone.
  void loadForm(ui::Form& form, const std::string& formsKey, bool restoreVisibility,
                bool resizeNonSizeable);
  // Saves one window under formsKey + its name; true when saved (a window without a name counts
  // as done).
  bool saveForm(ui::Form& form, const std::string& formsKey);
  // Appends the windows handled below `component`, depth first: each owned component's windows
  // before the component itself; windows named in ExceptionList are left out.
  void GetForms(const ui::Component& component, std::vector<ui::Form*>& list) const;

  // General values under RegistryPath + AppName + "\" + section.
  int32_t ReadRegistryInteger(const std::string& section, const std::string& ident,
                              int32_t defaultValue) const;
  // The text; a value stored as an integer gives its decimal text; the default when missing.
  std::string ReadRegistryString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) const;
  // True when the store holds the value on disk; false (value kept for this run) otherwise.
  bool WriteRegistryInteger(const std::string& section, const std::string& ident, int32_t value);
  bool WriteRegistryString(const std::string& section, const std::string& ident,
                           const std::string& value);

  // Version texts of the program.
  const std::string& Comments() const { return Version().comments; }
  const std::string& CompanyName() const { return Version().companyName; }
  const std::string& FileDescription() const { return Version().fileDescription; }
  const std::string& FileVersion() const { return Version().fileVersion; }
  const std::string& InternalName() const { return Version().internalName; }
  const std::string& LegalCopyright() const { return Version().legalCopyright; }
  const std::string& LegalTradeMarks() const { return Version().legalTradeMarks; }
  const std::string& OriginalFilename() const { return Version().originalFilename; }
  const std::string& ProductName() const { return Version().productName; }
  const std::string& ProductVersion() const { return Version().productVersion; }
  const std::string& CountryCode() const { return Version().countryCode; }
  const std::string& BuildDate() const { return Version().buildDate; }

 private:
  static const ProgramVersion& Version() { return ThisProgramVersion(); }
  std::string SectionKey(const std::string& section) const;
  void ApplRunningStep();
  void OwnerFirstShow();
  int ReadInt(const std::string& key, const char* ident, int defaultValue) const;

  // Sets InhibitApplRunning for the duration of a nested loop and restores it afterwards.
  class InhibitScope;

  ui::Form* ownerForm_ = nullptr;
  SettingsStore* store_ = nullptr;
  std::string appName_ = "[Unknown]";
  std::string registryPath_ = "Software\\Qel\\";
  bool inhibitApplRunning_ = false;
  bool resizeNonresizeable_ = false;
  std::string splashFormClass_;
  bool splashVisible_ = true;
  uint32_t splashMinTime_ = 0;
  std::vector<std::string> exceptionList_;

  std::unique_ptr<ui::Timer> startTimer_;
  bool applRunning_ = false;
  bool loaded_ = false;
  // While the first-show hook stands in for the owner's OnShow: the owner's own handler.
  bool hookInstalled_ = false;
  std::function<void(ui::Form&)> ownerOnShow_;
};
