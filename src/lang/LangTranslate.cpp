// Applying a language to whole windows, and writing a window's texts into a language.
// A window's section is the window's name; everything the window owns, directly or through other
// components, is keyed by its own name in that section: N (caption), N_Hint, N_Count and N_i
// (lists), N_Filter_i (file dialog filter descriptions).

#include <algorithm>

#include "base/Qelutils.h"
#include "lang/LangLocale.h"
#include "lang/VQelLanguage.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace lang {

namespace {

// Lists longer than this are not believed: a damaged count must not make the program build
// millions of entries.
constexpr long kMaxListCount = 65535;

// The count of a list as written in a language; nothing when it is not a usable number.
std::optional<size_t> ParseCount(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  if (text[i] == '+') ++i;
  long value = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > kMaxListCount) return std::nullopt;
  }
  if (digits == 0 || text.find_first_not_of(' ', i) != std::string::npos) return std::nullopt;
  return static_cast<size_t>(value);
}

// Frame captions stand off the frame line by one blank on each side.
std::string PadFrameCaption(const std::string& text) {
  if (text.size() >= 2 && text.front() == ' ' && text.back() == ' ') return text;
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
  return " " + (first < last ? std::string(first, last) : std::string()) + " ";
}

// Splits "Description|*.ext|Description|*.ext" into its pieces.
std::vector<std::string> SplitFilter(const std::string& filter) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (true) {
    const size_t bar = filter.find('|', start);
    pieces.push_back(
        filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return pieces;
}

// The kinds whose caption is the control's text.
bool CaptionIsText(const ui::Component& c) {
  return dynamic_cast<const ui::Form*>(&c) != nullptr ||
         dynamic_cast<const ui::Button*>(&c) != nullptr ||
         dynamic_cast<const ui::CheckBox*>(&c) != nullptr ||
         dynamic_cast<const ui::TabSheet*>(&c) != nullptr ||
         dynamic_cast<const ui::Label*>(&c) != nullptr ||
         dynamic_cast<const ui::RadioButton*>(&c) != nullptr ||
         dynamic_cast<const ui::GroupBox*>(&c) != nullptr ||
         dynamic_cast<const ui::RadioGroup*>(&c) != nullptr ||
         dynamic_cast<const ui::Panel*>(&c) != nullptr;
}

}  // namespace

bool VQelLanguage::GetCaption(const ui::Component& c, std::string& caption) const {
  if (CaptionIsText(c)) {
    caption = static_cast<const ui::Control&>(c).Text();
    return true;
  }
  if (const auto* item = dynamic_cast<const ui::MenuItem*>(&c)) {
    caption = item->Caption();
    return true;
  }
  // A memo is an edit in the control model, but its lines are contents, not a caption.
  if (dynamic_cast<const ui::Memo*>(&c) == nullptr) {
    if (const auto* edit = dynamic_cast<const ui::Edit*>(&c)) {
      if ((translate_ & vsl_tEdit) == 0) return false;
      caption = edit->Text();
      return true;
    }
  }
  if (const auto* dialog = dynamic_cast<const ui::FileDialog*>(&c)) {
    caption = dialog->Title();
    return true;
  }
  return false;
}

bool VQelLanguage::SetCaption(ui::Component& c, const std::string& caption) const {
  std::string current;
  if (!GetCaption(c, current)) return false;
  if (auto* item = dynamic_cast<ui::MenuItem*>(&c))
    item->SetCaption(caption);
  else if (auto* dialog = dynamic_cast<ui::FileDialog*>(&c))
    dialog->SetTitle(caption);
  else
    static_cast<ui::Control&>(c).SetText(caption);
  return true;
}

bool VQelLanguage::GetHint(const ui::Component& c, std::string& hint) const {
  if (const auto* control = dynamic_cast<const ui::Control*>(&c)) {
    hint = control->Hint();
    return true;
  }
  if (const auto* item = dynamic_cast<const ui::MenuItem*>(&c)) {
    hint = item->Hint();
    return true;
  }
  return false;
}

bool VQelLanguage::SetHint(ui::Component& c, const std::string& hint) const {
  if (auto* control = dynamic_cast<ui::Control*>(&c)) {
    control->SetHint(hint);
    return true;
  }
  if (auto* item = dynamic_cast<ui::MenuItem*>(&c)) {
    item->SetHint(hint);
    return true;
  }
  return false;
}

bool VQelLanguage::isReserved(const ui::Component& c) const {
  if (langCombo_ != nullptr && &c == langCombo_) return true;
  if (langMenu_ != nullptr)
    if (const auto* item = dynamic_cast<const ui::MenuItem*>(&c))
      return item->ParentItem() == langMenu_;
  return false;
}

bool VQelLanguage::IsExcepted(const std::string& formName, const ui::Component& c) const {
  const std::string entry = formName + "." + c.Name();
  return std::any_of(exceptionList_.begin(), exceptionList_.end(),
                     [&entry](const std::string& e) { return SameTextAscii(e, entry); });
}

// ---- translating ----

void VQelLanguage::UpdateAllTexts() {
  if (!loaded_ || GetActiveLangRecord() == nullptr) return;
  ui::Application* app = ui::App();
  if (app == nullptr) return;
  for (ui::Form* form : app->Forms()) TranslateTree(form->Name(), *form);
}

void VQelLanguage::TranslateTree(const std::string& formName, ui::Component& c) {
  if (c.Name().empty()) return;
  const bool reserved = isReserved(c);
  const bool excepted = reserved || IsExcepted(formName, c);
  if (!excepted) {
    std::string caption;
    if (GetCaption(c, caption)) {
      std::string text = GetLangText(formName, c.Name(), caption);
      const bool pad = ((pad_ & vsl_pGroupBox) && dynamic_cast<ui::GroupBox*>(&c) != nullptr) ||
                       ((pad_ & vsl_pRadioGroup) && dynamic_cast<ui::RadioGroup*>(&c) != nullptr);
      if (pad) text = PadFrameCaption(text);
      if (text != caption) SetCaption(c, text);
    }
    std::string hint;
    if (GetHint(c, hint)) {
      const std::string text = GetLangText(formName, c.Name() + "_Hint", hint);
      if (text != hint) SetHint(c, text);
    }
  }
  // A copy: handlers run by the changes above may add components.
  const std::vector<ui::Component*> owned = c.Components();
  for (ui::Component* child : owned) TranslateTree(formName, *child);
  if (reserved) return;
  TranslateContents(formName, c, excepted);
  if (!excepted && OnTranslated) OnTranslated(*this, c, formName);
}

void VQelLanguage::TranslateContents(const std::string& section, ui::Component& c, bool excepted) {
  // For memos and combo boxes the exception list turns the rule around.
  const auto wanted = [&](unsigned option) { return ((translate_ & option) != 0) != excepted; };
  if (auto* memo = dynamic_cast<ui::Memo*>(&c)) {
    if (!wanted(vsl_tMemo)) return;
    std::vector<std::string> lines = memo->Lines();
    if (TranslateList(section, c.Name(), lines) && lines != memo->Lines()) memo->SetLines(lines);
  } else if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) {
    if (!wanted(vsl_tComboBox)) return;
    std::vector<std::string> items = combo->Items();
    if (!TranslateList(section, c.Name(), items) || items == combo->Items()) return;
    const int index = combo->ItemIndex();
    // The entries are translated in place; what describes each stays with it.
    combo->SetItems(std::move(items), combo->ItemDescriptions());
    if (index >= 0) combo->SetItemIndex(index);
  } else if (auto* group = dynamic_cast<ui::RadioGroup*>(&c)) {
    // Always, excepted or not; the selection stays where it was.
    std::vector<std::string> items = group->Items();
    if (TranslateList(section, c.Name(), items) && items != group->Items())
      group->SetItems(std::move(items));
  } else if (auto* dialog = dynamic_cast<ui::FileDialog*>(&c)) {
    if (excepted || dialog->Filter().empty()) return;
    std::vector<std::string> pieces = SplitFilter(dialog->Filter());
    std::string filter;
    for (size_t i = 0; i < pieces.size(); ++i) {
      std::string piece = pieces[i];
      if (i % 2 == 0) piece = GetLangText(section, c.Name() + "_Filter", piece, int(i / 2));
      filter += (i > 0 ? "|" : "") + piece;
    }
    if (filter != dialog->Filter()) dialog->SetFilter(filter);
  } else if (auto* form = dynamic_cast<ui::Form*>(&c)) {
    const LanguageRecord* active = GetActiveLangRecord();
    if ((translate_ & vsl_t_Charset) && !excepted && active != nullptr)
      form->SetFontCharset(active->charset);
  }
}

bool VQelLanguage::TranslateList(const std::string& section, const std::string& name,
                                 std::vector<std::string>& list) {
  const auto count = ParseCount(GetLangText(section, name + "_Count", ""));
  if (!count) return false;
  for (size_t i = 0; i < *count; ++i) {
    std::string text = GetLangText(section, name, "", static_cast<int>(i));
    if (i < list.size())
      list[i] = std::move(text);
    else
      list.push_back(std::move(text));
  }
  list.resize(*count);
  return true;
}

// ---- exporting ----

bool VQelLanguage::ExportTree(const std::string& formName, ui::Component& component,
                              const std::string& fileName) {
  (void)fileName;  // the texts go into the active language, wherever it lives
  if (GetActiveLangRecord() == nullptr) return false;
  BeginFileBatch();
  ExportTreeImpl(formName, component);
  return EndFileBatch();
}

bool VQelLanguage::ExportAllTexts() {
  LanguageRecord* active = GetActiveLangRecord();
  if (active == nullptr) return false;
  BeginFileBatch();
  if (active->BuiltIn() || GetCachedText("General", "LanguageId", active->lines, -1, "").empty())
    SetLangText("General", "LanguageId", "0x" + LanguageIdHex(active->languageId));
  if (active->BuiltIn()) SetLangText("General", "LanguageName", active->displayName);
  if (ui::Application* app = ui::App())
    for (ui::Form* form : app->Forms()) ExportTreeImpl(form->Name(), *form);
  return EndFileBatch();
}

void VQelLanguage::ExportTreeImpl(const std::string& formName, ui::Component& c) {
  if (c.Name().empty()) return;
  const bool reserved = isReserved(c);
  if (!reserved) {
    std::string caption, hint;
    if (GetCaption(c, caption)) SetLangText(formName, c.Name(), caption);
    if (GetHint(c, hint) && !hint.empty()) SetLangText(formName, c.Name() + "_Hint", hint);
  }
  const std::vector<ui::Component*> owned = c.Components();
  for (ui::Component* child : owned) ExportTreeImpl(formName, *child);
  if (!reserved) ExportContents(formName, c);
}

void VQelLanguage::ExportContents(const std::string& section, ui::Component& c) {
  std::vector<std::string> list;
  if (const auto* memo = dynamic_cast<ui::Memo*>(&c))
    list = memo->Lines();
  else if (const auto* combo = dynamic_cast<ui::ComboBox*>(&c))
    list = combo->Items();
  else if (const auto* group = dynamic_cast<ui::RadioGroup*>(&c))
    list = group->Items();
  else if (const auto* dialog = dynamic_cast<ui::FileDialog*>(&c)) {
    const auto entries = dialog->FilterEntries();
    for (size_t i = 0; i < entries.size(); ++i)
      SetLangText(section, c.Name() + "_Filter", entries[i].description, static_cast<int>(i));
    return;
  } else {
    return;
  }
  SetLangText(section, c.Name() + "_Count", std::to_string(list.size()));
  for (size_t i = 0; i < list.size(); ++i)
    if (!list[i].empty()) SetLangText(section, c.Name(), list[i], static_cast<int>(i));
}

}  // namespace lang
