#include "lang/VQelLanguage.h"

#include <filesystem>
#include <system_error>

#include "base/Qelutils.h"
#include "lang/FormatSettings.h"
#include "lang/LangLocale.h"
#include "ui/Form.h"
#include "ui/Ref.h"

namespace lang {

namespace fs = std::filesystem;

// Installed as the application's OnFormCreated; keeps the handler that was there before. It
// outlives the component when somebody chained another handler over it.
struct VQelLanguage::FormCreatedHook {
  ui::Ref<VQelLanguage> language;
  std::function<void(ui::Form&)> previous;
  void operator()(ui::Form& form) const {
    const ui::Ref<VQelLanguage> target = language;  // the previous handler may end it
    if (previous) previous(form);
    if (target) target->translator_.TranslateLater(form);
  }
};

VQelLanguage::VQelLanguage(ui::Component* owner, std::string name)
    : ui::Component(owner, std::move(name)),
      catalogue_(this),
      picker_(catalogue_, [this](int index) { Activate(index); }),
      translator_(*this, catalogue_, picker_) {
  translator_.translate = vsl_t_Charset;
  translator_.pad = vsl_pGroupBox | vsl_pRadioGroup;
  translator_.onTranslated = [this](ui::Component& component, const std::string& form) {
    if (OnTranslated) OnTranslated(*this, component, form);
  };
  installed_.emplace(this);
}

VQelLanguage::~VQelLanguage() {
  if (ui::Application* app = ui::App()) {
    const auto* hook = app->OnFormCreated.target<FormCreatedHook>();
    if (hook != nullptr && hook->language == this) app->OnFormCreated = hook->previous;
  }
  // From here on references to the component read null: work posted for it is dropped.
  AnnounceEnd();
  // Look-ups from here on get the defaults, and the formats found before any language was
  // applied come back.
  installed_.reset();
  formats_.reset();
}

// ---- properties ----

void VQelLanguage::SetLangCombo(ui::ComboBox* combo) {
  picker_.SetCombo(combo);
}

void VQelLanguage::SetLangMenu(ui::MenuItem* menu) {
  picker_.SetMenu(menu);
}

void VQelLanguage::SetCfgDirectory(std::string directory) {
  catalogue_.SetCfgDirectory(std::move(directory));
  if (IsLoaded()) updateLanguages();
}

void VQelLanguage::SetRuntimeDirs(std::vector<std::string> directories) {
  catalogue_.SetRuntimeDirs(std::move(directories));
  if (IsLoaded()) updateLanguages();
}

void VQelLanguage::Loaded(const std::optional<std::string>& storedVersion) {
  if (IsLoaded()) return;
  if (storedVersion) {
    // Settings stored before 1.10 did not know the charset option; they get it.
    std::string v = *storedVersion;
    const int major = CutInteger(v, 0);
    CutPrefix(v, ".");
    const int minor = CutInteger(v, 0);
    if (major <= 1 && minor <= 9) translator_.translate |= vsl_t_Charset;
  }
  version_ = "1.10";
  catalogue_.Load();
  if (ui::Application* app = ui::App())
    app->OnFormCreated = FormCreatedHook{this, app->OnFormCreated};
  picker_.UpdateCombo();
  picker_.UpdateMenu();
  DoChangeLanguage();
}

// ---- texts ----

std::string VQelLanguage::GetLangText(const std::string& section, const std::string& key,
                                      const std::string& defaultText, int index, int languageId) {
  return catalogue_.GetLangText(section, key, defaultText, index, languageId);
}

bool VQelLanguage::SetLangText(const std::string& section, const std::string& key,
                               const std::string& value, int index, int languageId) {
  return catalogue_.SetLangText(section, key, value, index, languageId);
}

std::string VQelLanguage::GetSimpleText(const std::string& key) {
  return GetLangText(defaultSection_, key, key);
}

bool VQelLanguage::SetSimpleText(const std::string& key, const std::string& value) {
  return SetLangText(defaultSection_, key, value);
}

std::string VQelLanguage::GetCachedText(const std::string& section, const std::string& key,
                                        const Lines& lines, int index,
                                        const std::string& defaultText) {
  return catalogue_.GetCachedText(section, key, lines, index, defaultText);
}

void VQelLanguage::SetCachedText(const std::string& section, const std::string& key, Lines& lines,
                                 int index, const std::string& value) {
  LanguageCatalogue::SetCachedText(section, key, lines, index, value);
}

// ---- languages ----

LanguageRecord* VQelLanguage::GetAnyLanguageRecord(int id) {
  return catalogue_.GetAnyLanguageRecord(id);
}

LanguageRecord* VQelLanguage::GetActiveLangRecord() {
  return catalogue_.GetActiveLangRecord();
}

const LanguageRecord* VQelLanguage::GetActiveLangRecord() const {
  return catalogue_.GetActiveLangRecord();
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
  const int found = catalogue_.IndexOfName(name);
  if (found >= 0 && found != ActiveIndex()) Activate(found);
}

void VQelLanguage::Activate(int index) {
  catalogue_.SetActiveIndex(index);
  DoChangeLanguage();
}

void VQelLanguage::DoChangeLanguage() {
  const ui::Ref<VQelLanguage> self(this);
  picker_.UpdateIndexes();
  // A language from a file is read again: what was written into the file since wins.
  const LanguageRecord* record = catalogue_.ReadActiveAgain();
  if (record == nullptr) return;
  // The scope of the previous language ends first, so the formats found before this component
  // are the ones that come back when it goes.
  formats_.reset();
  formats_.emplace(FormatsFor(record->languageId));
  translator_.UpdateAllTexts();
  // The program's handlers may have closed the window the component belongs to.
  if (self && OnChangeLanguage) OnChangeLanguage(*this);
}

void VQelLanguage::updateLanguages(bool refreshControls) {
  catalogue_.Rescan(IsLoaded());
  if (!refreshControls) return;
  picker_.UpdateCombo();
  picker_.UpdateMenu();
}

void VQelLanguage::updateLangCombo() {
  picker_.UpdateCombo();
}

void VQelLanguage::updateLangMenu() {
  picker_.UpdateMenu();
}

void VQelLanguage::updateLangIndexes() {
  picker_.UpdateIndexes();
}

// ---- windows ----

void VQelLanguage::TranslateTree(const std::string& formName, ui::Component& component) {
  translator_.TranslateTree(formName, component);
}

void VQelLanguage::UpdateAllTexts() {
  translator_.UpdateAllTexts();
}

bool VQelLanguage::ExportTree(const std::string& formName, ui::Component& component,
                              const std::string& fileName) {
  (void)fileName;  // the texts go into the active language, wherever it lives
  return translator_.ExportTree(formName, component);
}

bool VQelLanguage::ExportAllTexts() {
  return translator_.ExportAllTexts();
}

bool VQelLanguage::GetCaption(const ui::Component& component, std::string& caption) const {
  return translator_.GetCaption(component, caption);
}

bool VQelLanguage::SetCaption(ui::Component& component, const std::string& caption) const {
  return translator_.SetCaption(component, caption);
}

bool VQelLanguage::GetHint(const ui::Component& component, std::string& hint) const {
  return WindowTranslator::GetHint(component, hint);
}

bool VQelLanguage::SetHint(ui::Component& component, const std::string& hint) const {
  return WindowTranslator::SetHint(component, hint);
}

bool VQelLanguage::isReserved(const ui::Component& component) const {
  return picker_.IsReserved(component);
}

// ---- tool for authors ----

bool VQelLanguage::ConvertIconToString(const std::string& iconFile) {
  std::string bytes;
  if (!ReadWholeFile(iconFile, bytes, 1u << 20)) return false;
  const std::string lngFile = fs::path(iconFile).replace_extension(".lng").string();
  Lines lines;
  std::error_code ec;
  if (fs::exists(lngFile, ec) && !ReadLngFile(lngFile, lines)) return false;
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
