#pragma once
// The languages the program knows and their texts, without any control or window: the built-in
// languages and those found in .lng files (selectable ones and the neutral ones they fall back
// to), which of them is active, the look-up of a text with the fall-back from a language to its
// primary language and to id 0, and the storing of texts (into memory for a built-in language,
// into its file for one read from a file, gathered into one write per file while a batch runs).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lang/LangIcon.h"
#include "lang/LanguageRecord.h"
#include "lang/LngFile.h"

namespace lang {

class LanguageCatalogue {
 public:
  using RecordList = std::vector<std::unique_ptr<LanguageRecord>>;

  // recordOwner: what the records name as their owner (the language component).
  explicit LanguageCatalogue(VQelLanguage* recordOwner = nullptr);

  // Searched first for .lng files ("." by default, made absolute when loaded), then the further
  // directories. Setting them does not rescan.
  const std::string& CfgDirectory() const { return cfgDirectory_; }
  void SetCfgDirectory(std::string directory);
  const std::vector<std::string>& RuntimeDirs() const { return runtimeDirs_; }
  void SetRuntimeDirs(std::vector<std::string> directories) {
    runtimeDirs_ = std::move(directories);
  }
  // Full texts of built-in languages, taken (and emptied) by Load: selectable and neutral ones.
  const std::vector<std::string>& StartupLanguages() const { return startupLanguages_; }
  void SetStartupLanguages(std::vector<std::string> texts) { startupLanguages_ = std::move(texts); }
  const std::vector<std::string>& StartupAnyLanguages() const { return startupAnyLanguages_; }
  void SetStartupAnyLanguages(std::vector<std::string> texts) {
    startupAnyLanguages_ = std::move(texts);
  }
  // The user's own language id (none until set; the program sets it from the locale); it sorts
  // first.
  int UserDefaultLanguageId() const { return userDefaultId_; }
  void SetUserDefaultLanguageId(int id) { userDefaultId_ = id; }

  // Takes the built-in languages, scans the directories and makes the first language in sort
  // order the active one. Once only.
  void Load();
  bool IsLoaded() const { return loaded_; }
  // Scans the directories again; keepActive keeps the active language whatever the new order.
  void Rescan(bool keepActive);

  // ---- texts ----
  // As VQelLanguage::GetLangText: the active language for languageId -1.
  std::string GetLangText(const std::string& section, const std::string& key,
                          const std::string& defaultText, int index = -1, int languageId = -1);
  bool SetLangText(const std::string& section, const std::string& key, const std::string& value,
                   int index = -1, int languageId = -1);
  std::string GetCachedText(const std::string& section, const std::string& key, const Lines& lines,
                            int index, const std::string& defaultText);
  static void SetCachedText(const std::string& section, const std::string& key, Lines& lines,
                            int index, const std::string& value);
  // Writes into language files between these two are gathered and written once at the end;
  // EndFileBatch tells whether every write of the batch succeeded.
  void BeginFileBatch();
  bool EndFileBatch();

  // ---- languages ----
  const RecordList& Languages() const { return languages_; }
  const RecordList& AnyLanguages() const { return anyLanguages_; }
  const LangImageList& Images() const { return images_; }
  int ActiveIndex() const { return activeIndex_; }
  // Makes the language at the index active (clamped to the list); applying it is the caller's.
  void SetActiveIndex(int index);
  LanguageRecord* GetActiveLangRecord();
  const LanguageRecord* GetActiveLangRecord() const;
  LanguageRecord* GetAnyLanguageRecord(int id);
  // The index of the language with that display name (exact first, then regardless of case),
  // -1 when there is none.
  int IndexOfName(const std::string& name) const;
  // The active language after what was written into its file since it was read has been taken
  // in (the file wins); null when no language is active.
  LanguageRecord* ReadActiveAgain();

 private:
  std::string LookUp(const std::string& section, const std::string& fullKey, const Lines& lines,
                     const std::string& defaultText, int depth);
  int LinesLanguageId(const Lines& lines) const;
  LanguageRecord* FindNeutral(int id);
  LanguageRecord* FindSelectable(int id);
  void ClampActive();

  void AddStartup(const std::string& text, RecordList& list);
  void ScanDirectory(const std::string& directory, int pass);
  std::unique_ptr<LanguageRecord> NewRecord(int id);
  void SetUpRecord(LanguageRecord& record);
  void UpdateCachedIcon(LanguageRecord& record);
  int CharsetOf(LanguageRecord& record);
  std::string DefaultDisplayName(const LanguageRecord& record) const;

  bool WriteFileEntry(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& quotedValue);

  VQelLanguage* recordOwner_;
  std::string cfgDirectory_ = ".";
  std::vector<std::string> runtimeDirs_;
  std::vector<std::string> startupLanguages_;
  std::vector<std::string> startupAnyLanguages_;
  int userDefaultId_ = 0;

  RecordList languages_;
  RecordList anyLanguages_;
  int activeIndex_ = -1;
  int userCharset_ = 0;
  LangImageList images_;
  bool loaded_ = false;

  int batchDepth_ = 0;
  bool batchFailed_ = false;
  std::map<std::string, Lines> batch_;
};

}  // namespace lang
