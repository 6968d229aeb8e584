#include "lang/VQelLanguage.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Paths.h"
#include "base/Qelutils.h"
#include "lang/FormatSettings.h"
#include "lang/LangLocale.h"
#include "ui/Controls.h"
#include "ui/EventLoop.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace lang {

namespace fs = std::filesystem;

namespace {

// Language files are small; anything bigger is not one and is not read into memory.
constexpr size_t kMaxLanguageFile = 16u << 20;
// The profile reader reads at most this many characters of a value.
constexpr size_t kMaxProfileValue = 199;
// A selectable language falls back to its primary language, which falls back to id 0.
constexpr int kMaxFallbackDepth = 2;

bool ReadLanguageFile(const std::string& path, Lines& lines) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxLanguageFile)) return false;
  lines = SplitLines(bytes);
  return true;
}

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

}  // namespace

// Owned by a component the language component has taken over (its combo box or menu item), so
// it goes when that component goes and tells the language component to forget it.
class VQelLanguage::Watch : public ui::Component {
 public:
  Watch(ui::Component* watched, VQelLanguage* language)
      : ui::Component(watched), language_(language) {}
  ~Watch() override {
    if (language_ != nullptr) language_->WatchedGone(this);
  }
  const char* ClassName() const override { return "TLanguageWatch"; }
  void Disarm() { language_ = nullptr; }

 private:
  VQelLanguage* language_;
};

// Installed as the application's OnFormCreated; keeps the handler that was there before.
struct VQelLanguage::FormCreatedHook {
  VQelLanguage* language;
  std::weak_ptr<int> alive;
  std::function<void(ui::Form&)> previous;
  void operator()(ui::Form& form) const {
    if (previous) previous(form);
    if (!alive.expired()) language->FormCreated(form);
  }
};

VQelLanguage::VQelLanguage(ui::Component* owner, std::string name)
    : ui::Component(owner, std::move(name)), userDefaultId_(UserDefaultLanguageId()) {
  installed_.emplace(this);
}

VQelLanguage::~VQelLanguage() {
  // Look-ups from here on get the defaults, and the formats found before any language was
  // applied come back.
  installed_.reset();
  formats_.reset();
  ReleaseCombo();
  ReleaseMenu();
  if (ui::Application* app = ui::App()) {
    const auto* hook = app->OnFormCreated.target<FormCreatedHook>();
    if (hook != nullptr && hook->language == this) app->OnFormCreated = hook->previous;
  }
  alive_.reset();
}

// ---- properties ----

void VQelLanguage::SetCfgDirectory(std::string directory) {
  cfgDirectory_ = std::move(directory);
  if (loaded_) {
    cfgDirectory_ = AbsoluteDirectory(cfgDirectory_);
    updateLanguages();
  }
}

void VQelLanguage::SetRuntimeDirs(std::vector<std::string> directories) {
  runtimeDirs_ = std::move(directories);
  if (loaded_) updateLanguages();
}

void VQelLanguage::Loaded(const std::optional<std::string>& storedVersion) {
  if (loaded_) return;
  if (storedVersion) {
    // Settings stored before 1.10 did not know the charset option; they get it.
    std::string v = *storedVersion;
    const int major = CutInteger(v, 0);
    CutPrefix(v, ".");
    const int minor = CutInteger(v, 0);
    if (major <= 1 && minor <= 9) translate_ |= vsl_t_Charset;
  }
  version_ = "1.10";

  const auto addStartup = [this](const std::string& text, RecordList& list) {
    Lines lines = SplitLines(text);
    // The id is read as the scan reads it from a file.
    const auto idText = ReadProfileString(lines, "General", "LanguageId");
    const auto id =
        idText && idText->size() <= kMaxProfileValue ? ParseLanguageId(*idText) : std::nullopt;
    auto record = NewRecord(id && IsLanguageId(*id) ? *id : -1);
    record->lines = std::move(lines);
    record->fileName = GetCachedText("General", "FileName", record->lines, -1, "");
    list.push_back(std::move(record));
  };
  for (const auto& text : startupAnyLanguages_) addStartup(text, anyLanguages_);
  for (const auto& text : startupLanguages_) addStartup(text, languages_);
  startupAnyLanguages_.clear();
  startupLanguages_.clear();

  activeIndex_ = languages_.empty() ? -1 : 0;
  cfgDirectory_ = AbsoluteDirectory(cfgDirectory_);
  loaded_ = true;

  if (ui::Application* app = ui::App())
    app->OnFormCreated = FormCreatedHook{this, alive_, app->OnFormCreated};

  // At start the first language in sort order becomes active.
  Rescan(false, true);
  DoChangeLanguage();
}

// ---- texts ----

std::string VQelLanguage::GetLangText(const std::string& section, const std::string& key,
                                      const std::string& defaultText, int index, int languageId) {
  const LanguageRecord* record = GetAnyLanguageRecord(languageId);
  if (record == nullptr) return defaultText;
  return LookUp(section, FullKey(key, index), record->lines, defaultText, 0);
}

std::string VQelLanguage::GetCachedText(const std::string& section, const std::string& key,
                                        const Lines& lines, int index,
                                        const std::string& defaultText) {
  return LookUp(section, FullKey(key, index), lines, defaultText, 0);
}

std::string VQelLanguage::LookUp(const std::string& section, const std::string& fullKey,
                                 const Lines& lines, const std::string& defaultText, int depth) {
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

int VQelLanguage::LinesLanguageId(const Lines& lines) const {
  const LanguageRecord* active = GetActiveLangRecord();
  if (active != nullptr && &active->lines == &lines) return active->languageId;
  const auto raw = FindLngValue(lines, "General", "LanguageId");
  if (!raw) return -1;
  return ParseLanguageId(DecodeLngValue(*raw)).value_or(-1);
}

void VQelLanguage::SetCachedText(const std::string& section, const std::string& key, Lines& lines,
                                 int index, const std::string& value) {
  StoreLngValue(lines, section, FullKey(key, index), value);
}

bool VQelLanguage::SetLangText(const std::string& section, const std::string& key,
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

std::string VQelLanguage::GetSimpleText(const std::string& key) {
  return GetLangText(defaultSection_, key, key);
}

bool VQelLanguage::SetSimpleText(const std::string& key, const std::string& value) {
  return SetLangText(defaultSection_, key, value);
}

bool VQelLanguage::WriteFileEntry(const std::string& path, const std::string& section,
                                  const std::string& key, const std::string& quotedValue) {
  auto it = batch_.find(path);
  Lines loaded;
  Lines* lines = it != batch_.end() ? &it->second : &loaded;
  if (it == batch_.end()) {
    std::error_code ec;
    // A file that exists but cannot be read is never replaced by what little is known.
    if (fs::exists(path, ec) && !ReadLanguageFile(path, loaded)) {
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

void VQelLanguage::BeginFileBatch() {
  if (batchDepth_++ == 0) batchFailed_ = false;
}

bool VQelLanguage::EndFileBatch() {
  if (--batchDepth_ > 0) return !batchFailed_;
  for (const auto& [path, lines] : batch_)
    if (!WriteWholeFileAtomically(path, JoinLines(lines))) batchFailed_ = true;
  batch_.clear();
  return !batchFailed_;
}

// ---- languages ----

LanguageRecord* VQelLanguage::GetActiveLangRecord() {
  if (activeIndex_ < 0 || activeIndex_ >= static_cast<int>(languages_.size())) return nullptr;
  return languages_[static_cast<size_t>(activeIndex_)].get();
}

const LanguageRecord* VQelLanguage::GetActiveLangRecord() const {
  return const_cast<VQelLanguage*>(this)->GetActiveLangRecord();
}

LanguageRecord* VQelLanguage::GetAnyLanguageRecord(int id) {
  if (id == -1) return GetActiveLangRecord();
  if (LanguageRecord* record = FindSelectable(id)) return record;
  return FindNeutral(id);
}

LanguageRecord* VQelLanguage::FindSelectable(int id) {
  for (auto& record : languages_)
    if (record->languageId == id) return record.get();
  return nullptr;
}

LanguageRecord* VQelLanguage::FindNeutral(int id) {
  for (auto& record : anyLanguages_)
    if (record->languageId == id) return record.get();
  return nullptr;
}

std::string VQelLanguage::GetCurrLanguage() const {
  const LanguageRecord* record = GetActiveLangRecord();
  return record != nullptr ? record->displayName : std::string();
}

std::string VQelLanguage::GetConfigFile() const {
  const LanguageRecord* record = GetActiveLangRecord();
  return record != nullptr ? record->path : std::string();
}

void VQelLanguage::SetCurrLanguage(const std::string& name) {
  int found = -1;
  for (int i = static_cast<int>(languages_.size()) - 1; i >= 0 && found < 0; --i)
    if (languages_[static_cast<size_t>(i)]->displayName == name) found = i;
  for (int i = static_cast<int>(languages_.size()) - 1; i >= 0 && found < 0; --i)
    if (SameTextCp1250(languages_[static_cast<size_t>(i)]->displayName, name)) found = i;
  if (found >= 0 && found != activeIndex_) Activate(found);
}

void VQelLanguage::Activate(int index) {
  activeIndex_ = index;
  DoChangeLanguage();
}

void VQelLanguage::ClampActive() {
  const int count = static_cast<int>(languages_.size());
  if (count == 0)
    activeIndex_ = -1;
  else if (activeIndex_ < 0)
    activeIndex_ = 0;
  else if (activeIndex_ >= count)
    activeIndex_ = count - 1;
}

void VQelLanguage::DoChangeLanguage() {
  ClampActive();
  updateLangIndexes();
  LanguageRecord* record = GetActiveLangRecord();
  if (record == nullptr) return;
  // A language from a file is read again: what was written into the file since wins.
  Lines fresh;
  std::error_code ec;
  if (!record->BuiltIn() && fs::is_regular_file(record->path, ec) &&
      ReadLanguageFile(record->path, fresh))
    JoinConfigs(record->lines, fresh, true);
  // The scope of the previous language ends first, so the formats found before this component
  // are the ones that come back when it goes.
  formats_.reset();
  formats_.emplace(FormatsFor(record->languageId));
  UpdateAllTexts();
  if (OnChangeLanguage) OnChangeLanguage(*this);
}

// ---- scanning ----

void VQelLanguage::updateLanguages(bool refreshControls) {
  Rescan(loaded_, refreshControls);
}

std::unique_ptr<LanguageRecord> VQelLanguage::NewRecord(int id) {
  auto record = std::make_unique<LanguageRecord>();
  record->owner = this;
  record->languageId = id;
  record->userDefault = id != -1 && id == userDefaultId_;
  record->iconIndex = -1;
  return record;
}

void VQelLanguage::Rescan(bool keepActive, bool refreshControls) {
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
  if (refreshControls) {
    updateLangCombo();
    updateLangMenu();
  }
  startupLanguages_.clear();
  startupAnyLanguages_.clear();
}

void VQelLanguage::ScanDirectory(const std::string& directory, int pass) {
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
    if (!ReadLanguageFile(file.string(), lines)) continue;
    const auto idText = ReadProfileString(lines, "General", "LanguageId");
    if (!idText || idText->size() > kMaxProfileValue) continue;
    const auto parsed = ParseLanguageId(*idText);
    if (!parsed || !IsLanguageId(*parsed)) continue;
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

void VQelLanguage::SetUpRecord(LanguageRecord& record) {
  UpdateCachedIcon(record);
  record.displayName =
      GetCachedText("General", "LanguageName", record.lines, -1, DefaultDisplayName(record));
  record.charset = CharsetOf(record);
}

std::string VQelLanguage::DefaultDisplayName(const LanguageRecord& record) const {
  std::string name = NativeLanguageName(record.languageId);
  // A file's name is file-system bytes; as a caption it becomes the program's text.
  if (name.empty()) name = PathText(fs::path(record.fileName).stem().string());
  if (!name.empty()) name[0] = UpperCp1250(name[0]);
  return name;
}

void VQelLanguage::UpdateCachedIcon(LanguageRecord& record) {
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

int VQelLanguage::CharsetOf(LanguageRecord& record) {
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

// ---- combo box and menu ----

void VQelLanguage::SetLangCombo(ui::ComboBox* combo) {
  if (combo == langCombo_) return;
  ReleaseCombo();
  if (combo == nullptr) return;
  langCombo_ = combo;
  comboWatch_ = new Watch(combo, this);
  combo->SetStyle(ui::ComboStyle::DropDownList);
  combo->OnSelect = [this](ui::Control&) {
    if (langCombo_ == nullptr) return;
    const int index = langCombo_->ItemIndex();
    if (index >= 0 && index < static_cast<int>(languages_.size()) && index != activeIndex_)
      Activate(index);
  };
  updateLangCombo();
}

void VQelLanguage::ReleaseCombo() {
  if (langCombo_ == nullptr) return;
  ui::ComboBox* combo = langCombo_;
  langCombo_ = nullptr;
  if (comboWatch_ != nullptr) {
    comboWatch_->Disarm();
    delete comboWatch_;
    comboWatch_ = nullptr;
  }
  combo->ClearItems();
  combo->OnSelect = nullptr;
  combo->SetStyle(ui::ComboStyle::DropDownList);
}

void VQelLanguage::SetLangMenu(ui::MenuItem* menu) {
  if (menu == langMenu_) return;
  ReleaseMenu();
  if (menu == nullptr) return;
  langMenu_ = menu;
  menuWatch_ = new Watch(menu, this);
  updateLangMenu();
}

void VQelLanguage::ReleaseMenu() {
  if (langMenu_ == nullptr) return;
  ui::MenuItem* menu = langMenu_;
  langMenu_ = nullptr;
  if (menuWatch_ != nullptr) {
    menuWatch_->Disarm();
    delete menuWatch_;
    menuWatch_ = nullptr;
  }
  const std::vector<ui::MenuItem*> items = menu->Items();
  for (ui::MenuItem* item : items) delete item;
}

void VQelLanguage::WatchedGone(Watch* watch) {
  // The watched component is being destroyed: forget it without touching it.
  if (watch == comboWatch_) {
    comboWatch_ = nullptr;
    langCombo_ = nullptr;
  }
  if (watch == menuWatch_) {
    menuWatch_ = nullptr;
    langMenu_ = nullptr;
  }
}

void VQelLanguage::updateLangCombo() {
  if (langCombo_ == nullptr) return;
  std::vector<std::string> names;
  std::vector<ui::ItemImage> flags;
  for (const auto& record : languages_) {
    names.push_back(record->displayName);
    ui::ItemImage flag;
    if (record->iconIndex >= 0 && record->iconIndex < images_.Count()) {
      const Icon16& icon = images_.Image(record->iconIndex);
      flag = {16, 16, std::vector<uint32_t>(icon.pixels.begin(), icon.pixels.end())};
    }
    flags.push_back(std::move(flag));
  }
  langCombo_->SetItemImages(std::move(flags));
  langCombo_->SetItems(std::move(names));
  langCombo_->SetItemIndex(activeIndex_);
}

void VQelLanguage::updateLangMenu() {
  if (langMenu_ == nullptr) return;
  const std::vector<ui::MenuItem*> old = langMenu_->Items();
  for (ui::MenuItem* item : old) delete item;
  for (size_t i = 0; i < languages_.size(); ++i) {
    // Owned by the menu item, so they go with it.
    auto* item = new ui::MenuItem(langMenu_, std::string(), langMenu_);
    item->SetCaption(languages_[i]->displayName);
    item->SetChecked(static_cast<int>(i) == activeIndex_);
    const int index = static_cast<int>(i);
    item->OnClick = [this, index](ui::MenuItem&) {
      if (index < static_cast<int>(languages_.size()) && index != activeIndex_) Activate(index);
    };
  }
}

void VQelLanguage::updateLangIndexes() {
  if (langCombo_ != nullptr) langCombo_->SetItemIndex(activeIndex_);
  if (langMenu_ != nullptr) {
    const auto& items = langMenu_->Items();
    for (size_t i = 0; i < items.size(); ++i)
      items[i]->SetChecked(static_cast<int>(i) == activeIndex_);
  }
}

// ---- new windows ----

void VQelLanguage::FormCreated(ui::Form& form) {
  if (!loaded_) return;
  ui::EventLoop* loop = ui::LoopOrNull();
  if (loop == nullptr) return;
  // The window is translated once it has been built completely, and only if it still exists.
  loop->Post([this, alive = std::weak_ptr<int>(alive_), target = &form] {
    if (alive.expired()) return;
    ui::Application* app = ui::App();
    if (app == nullptr) return;
    std::function<bool(const ui::Component&)> contains = [&](const ui::Component& c) {
      for (const ui::Component* owned : c.Components())
        if (owned == target || contains(*owned)) return true;
      return false;
    };
    if (!contains(*app)) return;
    try {
      TranslateTree(target->Name(), *target);
    } catch (...) {
      // A window that cannot be translated keeps its texts.
    }
  });
}

// ---- tool for authors ----

bool VQelLanguage::ConvertIconToString(const std::string& iconFile) {
  std::string bytes;
  if (!ReadWholeFile(iconFile, bytes, 1u << 20)) return false;
  const std::string lngFile = fs::path(iconFile).replace_extension(".lng").string();
  Lines lines;
  std::error_code ec;
  if (fs::exists(lngFile, ec) && !ReadLanguageFile(lngFile, lines)) return false;
  lines.push_back("IconString=" + QuoteLngValue(BytesToHexaString(bytes)));
  const auto idText = ReadProfileString(lines, "General", "LanguageId");
  const auto id = idText ? ParseLanguageId(*idText) : std::nullopt;
  if (id && *id != 0 && IsLanguageId(*id)) {
    // What is known here of the language, for the author's information; nothing reads it.
    const FormatSettings formats = FormatsFor(*id);
    const auto add = [&lines](const std::string& name, const std::string& value) {
      lines.push_back(name + "=" + QuoteLngValue(value));
    };
    add("LOCALE_ILANGUAGE", LanguageIdHex(*id));
    add("LOCALE_SNATIVELANGNAME", NativeLanguageName(*id));
    add("LOCALE_IDEFAULTANSICODEPAGE", std::to_string(AnsiCodePageOf(*id)));
    add("LOCALE_SLIST", formats.listSeparator);
    add("LOCALE_SDECIMAL", formats.decimalSeparator);
    add("LOCALE_STHOUSAND", formats.thousandSeparator);
    add("LOCALE_SCURRENCY", formats.currencyString);
    add("LOCALE_SDATE", formats.dateSeparator);
    add("LOCALE_STIME", formats.timeSeparator);
    add("LOCALE_SSHORTDATE", formats.shortDateFormat);
    add("LOCALE_SLONGDATE", formats.longDateFormat);
    add("LOCALE_S1159", formats.timeAMString);
    add("LOCALE_S2359", formats.timePMString);
    for (int d = 0; d < 7; ++d)  // Monday first
      add("LOCALE_SDAYNAME" + std::to_string(d + 1), formats.longDayNames[(d + 1) % 7]);
    for (int m = 0; m < 12; ++m)
      add("LOCALE_SMONTHNAME" + std::to_string(m + 1), formats.longMonthNames[m]);
  }
  return WriteWholeFileAtomically(lngFile, JoinLines(lines));
}

}  // namespace lang
