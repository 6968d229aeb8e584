#include "lang/LanguageCatalogue.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Paths.h"
#include "base/Qelutils.h"
#include "lang/LangLocale.h"

namespace lang {

namespace fs = std::filesystem;

namespace {

// The profile reader reads at most this many characters of a value.
constexpr size_t kMaxProfileValue = 199;
// A selectable language falls back to its primary language, which falls back to id 0.
constexpr int kMaxFallbackDepth = 2;

std::string AbsoluteDirectory(const std::string& directory) {
  std::error_code ec;
  fs::path path = fs::absolute(directory.empty() ? fs::path(".") : fs::path(directory), ec);
  if (ec) path = directory;
  std::string text = path.lexically_normal().string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

bool HasLngExtension(const fs::path& path) {
  const std::string ext = path.extension().string();
  return SameTextAscii(ext, ".lng");
}

// The language id of a file's lines as the scan reads it, or nothing.
std::optional<int> ScannedLanguageId(const Lines& lines) {
  const auto idText = ReadProfileString(lines, "General", "LanguageId");
  if (!idText || idText->size() > kMaxProfileValue) return std::nullopt;
  const auto id = ParseLanguageId(*idText);
  if (!id || !IsLanguageId(*id)) return std::nullopt;
  return id;
}

}  // namespace

LanguageCatalogue::LanguageCatalogue(VQelLanguage* recordOwner) : recordOwner_(recordOwner) {}

void LanguageCatalogue::SetCfgDirectory(std::string directory) {
  cfgDirectory_ = loaded_ ? AbsoluteDirectory(directory) : std::move(directory);
}

void LanguageCatalogue::Load() {
  if (loaded_) return;
  for (const auto& text : startupAnyLanguages_) AddStartup(text, anyLanguages_);
  for (const auto& text : startupLanguages_) AddStartup(text, languages_);
  startupAnyLanguages_.clear();
  startupLanguages_.clear();
  activeIndex_ = languages_.empty() ? -1 : 0;
  cfgDirectory_ = AbsoluteDirectory(cfgDirectory_);
  loaded_ = true;
  // At start the first language in sort order becomes active.
  Rescan(false);
}

void LanguageCatalogue::AddStartup(const std::string& text, RecordList& list) {
  Lines lines = SplitLines(text);
  auto record = NewRecord(ScannedLanguageId(lines).value_or(-1));
  record->lines = std::move(lines);
  record->fileName = GetCachedText("General", "FileName", record->lines, -1, "");
  list.push_back(std::move(record));
}

// ---- texts ----

std::string LanguageCatalogue::GetLangText(const std::string& section, const std::string& key,
                                           const std::string& defaultText, int index,
                                           int languageId) {
  const LanguageRecord* record = GetAnyLanguageRecord(languageId);
  if (record == nullptr) return defaultText;
  return LookUp(section, FullKey(key, index), record->lines, defaultText, 0);
}

std::string LanguageCatalogue::GetCachedText(const std::string& section, const std::string& key,
                                             const Lines& lines, int index,
                                             const std::string& defaultText) {
  return LookUp(section, FullKey(key, index), lines, defaultText, 0);
}

std::string LanguageCatalogue::LookUp(const std::string& section, const std::string& fullKey,
                                      const Lines& lines, const std::string& defaultText,
                                      int depth) {
  if (auto raw = FindLngValue(lines, section, fullKey)) return DecodeLngValue(*raw);
  // The id itself never comes from another language.
  if (section == "General" && fullKey == "LanguageId") return defaultText;
  // The depth bound keeps a file that claims an id other than its own from looping.
  if (depth >= kMaxFallbackDepth) return defaultText;
  const int id = LinesLanguageId(lines);
  if (id == -1 || id == 0) return defaultText;
  LanguageRecord* neutral = FindNeutral(SubLangId(id) != 0 ? PrimaryLangId(id) : 0);
  if (neutral == nullptr) neutral = FindNeutral(0);
  if (neutral == nullptr) return defaultText;
  return LookUp(section, fullKey, neutral->lines, defaultText, depth + 1);
}

int LanguageCatalogue::LinesLanguageId(const Lines& lines) const {
  const LanguageRecord* active = GetActiveLangRecord();
  if (active != nullptr && &active->lines == &lines) return active->languageId;
  const auto raw = FindLngValue(lines, "General", "LanguageId");
  if (!raw) return -1;
  return ParseLanguageId(DecodeLngValue(*raw)).value_or(-1);
}

void LanguageCatalogue::SetCachedText(const std::string& section, const std::string& key,
                                      Lines& lines, int index, const std::string& value) {
  StoreLngValue(lines, section, FullKey(key, index), value);
}

bool LanguageCatalogue::SetLangText(const std::string& section, const std::string& key,
                                    const std::string& value, int index, int languageId) {
  if (section.empty() || key.empty()) return false;
  LanguageRecord* record = GetAnyLanguageRecord(languageId);
  if (record == nullptr) return false;
  const std::string fullKey = FullKey(key, index);
  if (!record->BuiltIn() && !WriteFileEntry(record->path, section, fullKey, QuoteLngValue(value)))
    return false;
  // The lines in memory follow at once, so a stored text is what the next look-up finds.
  StoreLngValue(record->lines, section, fullKey, value);
  return true;
}

bool LanguageCatalogue::WriteFileEntry(const std::string& path, const std::string& section,
                                       const std::string& key, const std::string& quotedValue) {
  auto it = batch_.find(path);
  Lines loaded;
  Lines* lines = it != batch_.end() ? &it->second : &loaded;
  if (it == batch_.end()) {
    std::error_code ec;
    // A file that exists but cannot be read is never replaced by what little is known.
    if (fs::exists(path, ec) && !ReadLngFile(path, loaded)) {
      batchFailed_ = true;
      return false;
    }
  }
  WriteProfileString(*lines, section, key, quotedValue);
  if (batchDepth_ > 0) {
    if (it == batch_.end()) batch_.emplace(path, std::move(loaded));
    return true;
  }
  return WriteWholeFileAtomically(path, JoinLines(*lines));
}

void LanguageCatalogue::BeginFileBatch() {
  if (batchDepth_++ == 0) batchFailed_ = false;
}

bool LanguageCatalogue::EndFileBatch() {
  if (--batchDepth_ > 0) return !batchFailed_;
  for (const auto& [path, lines] : batch_)
    if (!WriteWholeFileAtomically(path, JoinLines(lines))) batchFailed_ = true;
  batch_.clear();
  return !batchFailed_;
}

// ---- languages ----

LanguageRecord* LanguageCatalogue::GetActiveLangRecord() {
  if (activeIndex_ < 0 || activeIndex_ >= static_cast<int>(languages_.size())) return nullptr;
  return languages_[static_cast<size_t>(activeIndex_)].get();
}

const LanguageRecord* LanguageCatalogue::GetActiveLangRecord() const {
  return const_cast<LanguageCatalogue*>(this)->GetActiveLangRecord();
}

LanguageRecord* LanguageCatalogue::GetAnyLanguageRecord(int id) {
  if (id == -1) return GetActiveLangRecord();
  if (LanguageRecord* record = FindSelectable(id)) return record;
  return FindNeutral(id);
}

LanguageRecord* LanguageCatalogue::FindSelectable(int id) {
  for (auto& record : languages_)
    if (record->languageId == id) return record.get();
  return nullptr;
}

LanguageRecord* LanguageCatalogue::FindNeutral(int id) {
  for (auto& record : anyLanguages_)
    if (record->languageId == id) return record.get();
  return nullptr;
}

int LanguageCatalogue::IndexOfName(const std::string& name) const {
  // The last of equal names, as the platform's list finds it.
  for (int i = static_cast<int>(languages_.size()) - 1; i >= 0; --i)
    if (languages_[static_cast<size_t>(i)]->displayName == name) return i;
  for (int i = static_cast<int>(languages_.size()) - 1; i >= 0; --i)
    if (SameTextCp1250(languages_[static_cast<size_t>(i)]->displayName, name)) return i;
  return -1;
}

void LanguageCatalogue::SetActiveIndex(int index) {
  activeIndex_ = index;
  ClampActive();
}

void LanguageCatalogue::ClampActive() {
  const int count = static_cast<int>(languages_.size());
  if (count == 0)
    activeIndex_ = -1;
  else if (activeIndex_ < 0)
    activeIndex_ = 0;
  else if (activeIndex_ >= count)
    activeIndex_ = count - 1;
}

LanguageRecord* LanguageCatalogue::ReadActiveAgain() {
  LanguageRecord* record = GetActiveLangRecord();
  if (record == nullptr || record->BuiltIn()) return record;
  Lines fresh;
  std::error_code ec;
  if (fs::is_regular_file(record->path, ec) && ReadLngFile(record->path, fresh))
    JoinConfigs(record->lines, fresh, true);
  return record;
}

// ---- scanning ----

std::unique_ptr<LanguageRecord> LanguageCatalogue::NewRecord(int id) {
  auto record = std::make_unique<LanguageRecord>();
  record->owner = recordOwner_;
  record->languageId = id;
  record->userDefault = id != -1 && id == userDefaultId_;
  record->iconIndex = -1;
  return record;
}

void LanguageCatalogue::Rescan(bool keepActive) {
  // Once running, the active language stays the same language whatever the new order is.
  const LanguageRecord* active = keepActive ? GetActiveLangRecord() : nullptr;
  for (auto& record : languages_) record->fromFile = false;
  for (auto& record : anyLanguages_) record->fromFile = false;

  std::vector<std::string> directories{cfgDirectory_, cfgDirectory_};
  for (const auto& directory : runtimeDirs_) directories.push_back(AbsoluteDirectory(directory));
  for (size_t pass = 0; pass < directories.size(); ++pass)
    ScanDirectory(directories[pass], static_cast<int>(pass));

  userCharset_ = 0;
  bool userFound = false;
  for (auto& record : languages_) {
    SetUpRecord(*record);
    if (record->userDefault && !userFound) {
      userCharset_ = record->charset;
      userFound = true;
    }
  }
  std::stable_sort(languages_.begin(), languages_.end(), [this](const auto& a, const auto& b) {
    if (a->userDefault != b->userDefault) return a->userDefault;
    const int ra = CharsetRank(a->charset, userCharset_);
    const int rb = CharsetRank(b->charset, userCharset_);
    if (ra != rb) return ra < rb;
    const int names = CompareNamesCp1250(a->displayName, b->displayName);
    if (names != 0) return names < 0;
    return a->languageId < b->languageId;
  });
  if (active != nullptr)
    for (size_t i = 0; i < languages_.size(); ++i)
      if (languages_[i].get() == active) activeIndex_ = static_cast<int>(i);
  ClampActive();
  startupLanguages_.clear();
  startupAnyLanguages_.clear();
}

void LanguageCatalogue::ScanDirectory(const std::string& directory, int pass) {
  std::error_code ec;
  std::vector<fs::path> files;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (HasLngExtension(it->path()) && it->is_regular_file(typeError)) files.push_back(it->path());
  }
  // Listed by name, as the platform the files come from lists a folder.
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return CompareTextAscii(a.filename().string(), b.filename().string()) < 0;
  });

  for (const fs::path& file : files) {
    Lines lines;
    if (!ReadLngFile(file.string(), lines)) continue;
    const auto parsed = ScannedLanguageId(lines);
    if (!parsed) continue;
    const int id = *parsed;
    const bool selectable = IsSelectableId(id);

    LanguageRecord* join = nullptr;
    RecordList* addTo = nullptr;
    if (selectable) {
      if (pass == 1) continue;
      join = FindSelectable(id);
      if (join == nullptr && pass == 0) addTo = &languages_;
    } else {
      if (pass == 0) continue;
      join = FindNeutral(id);
      if (join == nullptr) {
        const bool wanted =
            id == 0 || std::any_of(languages_.begin(), languages_.end(), [id](const auto& r) {
              return IsLanguageId(r->languageId) && PrimaryLangId(r->languageId) == id;
            });
        if (wanted) addTo = &anyLanguages_;
      }
    }
    if (join != nullptr) {
      // What the language already has stays; the file only adds what is missing.
      JoinConfigs(join->lines, lines, false);
    } else if (addTo != nullptr) {
      auto record = NewRecord(id);
      record->fileName = file.filename().string();
      record->path = file.string();
      record->fromFile = true;
      record->lines = std::move(lines);
      addTo->push_back(std::move(record));
    }
  }
}

void LanguageCatalogue::SetUpRecord(LanguageRecord& record) {
  UpdateCachedIcon(record);
  record.displayName =
      GetCachedText("General", "LanguageName", record.lines, -1, DefaultDisplayName(record));
  record.charset = CharsetOf(record);
}

std::string LanguageCatalogue::DefaultDisplayName(const LanguageRecord& record) const {
  std::string name = NativeLanguageName(record.languageId);
  // A file's name is file-system bytes; as a caption it becomes the program's text.
  if (name.empty()) name = PathText(fs::path(record.fileName).stem().string());
  if (!name.empty()) name[0] = UpperCp1250(name[0]);
  return name;
}

void LanguageCatalogue::UpdateCachedIcon(LanguageRecord& record) {
  record.iconIndex = -1;
  if (!IsLanguageId(record.languageId)) return;
  const std::string key = LanguageIdHex(record.languageId);
  const int known = images_.IndexOfKey(key);
  if (known >= 0) {
    record.iconIndex = known;
    return;
  }
  const std::string bytes =
      HexaStringToBytes(GetCachedText("General", "IconString", record.lines, -1, ""));
  if (bytes.empty()) return;
  if (const auto icon = DecodeIconFile(bytes)) record.iconIndex = images_.Add(key, *icon);
}

int LanguageCatalogue::CharsetOf(LanguageRecord& record) {
  const int fromCodePage =
      record.languageId != -1
          ? CharsetOfCodePage(AnsiCodePageOf(record.languageId), DEFAULT_CHARSET)
          : DEFAULT_CHARSET;
  std::string text =
      GetCachedText("General", "LanguageCharset", record.lines, -1, std::to_string(fromCodePage));
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  text = UpperAscii(text);
  if (text.size() > 8 && text.compare(text.size() - 8, 8, "_CHARSET") == 0)
    text.erase(text.size() - 8);
  if (const auto named = CharsetByName(text)) return *named;
  const auto number = ParseLanguageId(text);
  if (number && text.find_first_of("xX") == std::string::npos && *number >= 0 && *number <= 255)
    return *number;
  return fromCodePage;
}

}  // namespace lang
