#pragma once
// The language component: knows the languages (built in and found in .lng files), answers text
// look-ups by section and key with the caller's default, switches the active language, offers the
// languages in a combo box or a menu, and translates whole windows (and exports their texts).
//
// Set-up, as the main window does it:
//   auto* lang = new lang::VQelLanguage(this, "VQelLanguage1");
//   lang->SetStartupLanguages(lang::BuiltinLanguageTexts());
//   lang->SetExceptionList({"FormAbout.MemoAddress", "FormAbout.MemoContact"});
//   lang->OnChangeLanguage = [this](lang::VQelLanguage&) { ... };
//   lang->Loaded();                      // reads the languages and applies the first one
//   lang->SetLangCombo(FormOptions->ComboLanguage);
//   lang->SetCurrLanguage(storedName);   // the user's stored choice
// While it exists the component answers the global GetLangText (lang/LangText.h). From Loaded
// on it also translates every window created later (it chains itself onto the application's
// OnFormCreated, keeping the handler that was there).
//
// It is made of three parts, each usable on its own: the catalogue (the languages and their
// texts), the picker (the combo box and menu) and the window translator.
//
// Everything runs on the user-interface thread.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/LangText.h"
#include "lang/FormatSettings.h"
#include "lang/LangIcon.h"
#include "lang/LanguageCatalogue.h"
#include "lang/LanguagePicker.h"
#include "lang/LanguageRecord.h"
#include "lang/LngFile.h"
#include "lang/WindowTranslator.h"
#include "ui/Component.h"

namespace ui {
class ComboBox;
class Form;
class MenuItem;
}  // namespace ui

namespace lang {

class VQelLanguage : public ui::Component, public TextSource {
 public:
  using NotifyEvent = std::function<void(VQelLanguage& sender)>;
  using TranslatedEvent =
      std::function<void(VQelLanguage& sender, ui::Component& component, const std::string& form)>;
  using RecordList = LanguageCatalogue::RecordList;

  explicit VQelLanguage(ui::Component* owner, std::string name = "VQelLanguage1");
  ~VQelLanguage() override;
  const char* ClassName() const override { return "VQelLanguage"; }

  // ---- properties ----
  // "1.09" until Loaded, then "1.10".
  const std::string& Version() const { return version_; }
  ui::ComboBox* LangCombo() const { return picker_.Combo(); }
  // Takes the combo box over (a drop-down list of the selectable languages whose OnSelect
  // belongs to this component); the previous one is emptied and released. Null releases.
  void SetLangCombo(ui::ComboBox* combo);
  ui::MenuItem* LangMenu() const { return picker_.Menu(); }
  // Lists the selectable languages as sub-items of the item (its other sub-items are removed).
  void SetLangMenu(ui::MenuItem* menu);
  // "FormAbout.MemoAddress": window name, a point and component name.
  const std::vector<std::string>& ExceptionList() const { return translator_.exceptionList; }
  void SetExceptionList(std::vector<std::string> list) {
    translator_.exceptionList = std::move(list);
  }
  const std::string& DefaultSection() const { return defaultSection_; }
  void SetDefaultSection(std::string section) { defaultSection_ = std::move(section); }
  unsigned Translate() const { return translator_.translate; }
  void SetTranslate(unsigned options) { translator_.translate = options; }
  unsigned Pad() const { return translator_.pad; }
  void SetPad(unsigned options) { translator_.pad = options; }
  // Searched first for .lng files ("." by default, made absolute when loaded). Changing it, or
  // the further directories, after loading rescans at once.
  const std::string& CfgDirectory() const { return catalogue_.CfgDirectory(); }
  void SetCfgDirectory(std::string directory);
  const std::vector<std::string>& RuntimeDirs() const { return catalogue_.RuntimeDirs(); }
  void SetRuntimeDirs(std::vector<std::string> directories);
  // Full texts of built-in languages, taken (and emptied) by Loaded: selectable and neutral ones.
  const std::vector<std::string>& StartupLanguages() const { return catalogue_.StartupLanguages(); }
  void SetStartupLanguages(std::vector<std::string> texts) {
    catalogue_.SetStartupLanguages(std::move(texts));
  }
  const std::vector<std::string>& StartupAnyLanguages() const {
    return catalogue_.StartupAnyLanguages();
  }
  void SetStartupAnyLanguages(std::vector<std::string> texts) {
    catalogue_.SetStartupAnyLanguages(std::move(texts));
  }
  // The user's own language id (none until set; the program sets it from the locale); it sorts
  // first.
  int UserDefaultLanguageId() const { return catalogue_.UserDefaultLanguageId(); }
  void SetUserDefaultLanguageId(int id) { catalogue_.SetUserDefaultLanguageId(id); }

  // After the active language changed and all windows were translated.
  NotifyEvent OnChangeLanguage;
  // For each component translated that is neither reserved nor excepted.
  TranslatedEvent OnTranslated;

  // Reads the built-in languages and the language files and applies the first language in sort
  // order. storedVersion: the Version of stored settings, when there were any.
  void Loaded(const std::optional<std::string>& storedVersion = std::nullopt);
  bool IsLoaded() const { return catalogue_.IsLoaded(); }

  // ---- texts ----
  // The text of the active language (languageId -1) or of the language with that id; the key
  // becomes key "_" index when index >= 0. The default when there is no such language or text.
  std::string GetLangText(const std::string& section, const std::string& key,
                          const std::string& defaultText, int index = -1,
                          int languageId = -1) override;
  // Stores a text into a language: a built-in one keeps it in memory, one read from a file gets
  // it written into that file. False when nothing could be stored.
  bool SetLangText(const std::string& section, const std::string& key, const std::string& value,
                   int index = -1, int languageId = -1);
  std::string GetSimpleText(const std::string& key);
  bool SetSimpleText(const std::string& key, const std::string& value);
  // Look-up and store on one language's lines.
  std::string GetCachedText(const std::string& section, const std::string& key, const Lines& lines,
                            int index, const std::string& defaultText);
  void SetCachedText(const std::string& section, const std::string& key, Lines& lines, int index,
                     const std::string& value);

  // ---- languages ----
  // Display name of the active language, empty when none.
  std::string GetCurrLanguage() const;
  // Makes the language with that display name active (exact match first, then regardless of
  // case) and applies it. An unknown name changes nothing.
  void SetCurrLanguage(const std::string& name);
  // The record of the id among the selectable and then the neutral languages (-1: the active
  // one), or null.
  LanguageRecord* GetAnyLanguageRecord(int id);
  LanguageRecord* GetActiveLangRecord();
  const LanguageRecord* GetActiveLangRecord() const;
  // The active language's file, empty for a built-in language or none.
  std::string GetConfigFile() const;
  int ActiveIndex() const { return catalogue_.ActiveIndex(); }
  // Selectable languages in the order offered, and neutral ones.
  const RecordList& Languages() const { return catalogue_.Languages(); }
  const RecordList& AnyLanguages() const { return catalogue_.AnyLanguages(); }
  // Pictures of the languages (LanguageRecord::iconIndex) and of the menu.
  const LangImageList& Images() const { return catalogue_.Images(); }

  // Rescans the directories; refreshControls refills the combo box and menu.
  void updateLanguages(bool refreshControls = true);
  void updateLangCombo();
  void updateLangMenu();
  void updateLangIndexes();

  // For authors of language files: appends the icon file's bytes as IconString (and what is
  // known of the file's language id) to the .lng file of the same name. False on failure.
  static bool ConvertIconToString(const std::string& iconFile);

  // ---- windows ----
  // Translates the component and everything it owns under the window's section.
  void TranslateTree(const std::string& formName, ui::Component& component);
  // Translates every window of the application (when a language is active).
  void UpdateAllTexts();
  // Writes the texts of the component and everything it owns into the active language.
  bool ExportTree(const std::string& formName, ui::Component& component,
                  const std::string& fileName = std::string());
  // Writes the texts of every window of the application into the active language.
  bool ExportAllTexts();
  bool ExtractAllTexts() { return ExportAllTexts(); }
  // Caption and hint of a component by its kind; false when the kind has none.
  bool GetCaption(const ui::Component& component, std::string& caption) const;
  bool SetCaption(ui::Component& component, const std::string& caption) const;
  bool GetHint(const ui::Component& component, std::string& hint) const;
  bool SetHint(ui::Component& component, const std::string& hint) const;
  // The language combo box and the items of the language menu: never translated or exported.
  bool isReserved(const ui::Component& component) const;

 private:
  struct FormCreatedHook;

  void DoChangeLanguage();
  void Activate(int index);

  std::string version_ = "1.09";
  std::string defaultSection_ = "Texts";
  LanguageCatalogue catalogue_;
  LanguagePicker picker_;
  WindowTranslator translator_;
  // The component is the text source while it exists; the formats are those of the language
  // applied last.
  std::optional<TextSourceScope> installed_;
  std::optional<FormatsScope> formats_;
};

}  // namespace lang
