#include "lang/WindowTranslator.h"

#include <algorithm>

#include "base/Qelutils.h"
#include "lang/LangLocale.h"
#include "lang/LanguageCatalogue.h"
#include "lang/LanguagePicker.h"
#include "ui/Controls.h"
#include "ui/EventLoop.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Ref.h"

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

WindowTranslator::WindowTranslator(ui::Component& owner, LanguageCatalogue& catalogue,
                                   const LanguagePicker& picker)
    : owner_(owner), catalogue_(catalogue), picker_(picker) {}

bool WindowTranslator::GetCaption(const ui::Component& c, std::string& caption) const {
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
      if ((translate & vsl_tEdit) == 0) return false;
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

bool WindowTranslator::SetCaption(ui::Component& c, const std::string& caption) const {
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

bool WindowTranslator::GetHint(const ui::Component& c, std::string& hint) {
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

bool WindowTranslator::SetHint(ui::Component& c, const std::string& hint) {
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

bool WindowTranslator::IsExcepted(const std::string& formName, const ui::Component& c) const {
  const std::string entry = formName + "." + c.Name();
  return std::any_of(exceptionList.begin(), exceptionList.end(),
                     [&entry](const std::string& e) { return SameTextAscii(e, entry); });
}

// ---- translating ----

void WindowTranslator::UpdateAllTexts() {
  if (!catalogue_.IsLoaded() || catalogue_.GetActiveLangRecord() == nullptr) return;
  ui::Application* app = ui::App();
  if (app == nullptr) return;
  const ui::Ref<ui::Component> owner(&owner_);
  const std::vector<ui::Ref<ui::Form>> forms = [app] {
    const std::vector<ui::Form*> list = app->Forms();
    return std::vector<ui::Ref<ui::Form>>(list.begin(), list.end());
  }();
  for (const auto& form : forms) {
    if (!owner) return;
    if (form) TranslateTree(form->Name(), *form);
  }
}

void WindowTranslator::TranslateTree(const std::string& formName, ui::Component& c) {
  // A copy: the name may be the window's own, and the window may go while it is translated.
  const std::string section = formName;
  Translate(section, c);
}

void WindowTranslator::Translate(const std::string& formName, ui::Component& c) {
  if (c.Name().empty()) return;
  const ui::Ref<ui::Component> owner(&owner_);
  const ui::Ref<ui::Component> self(&c);
  const bool reserved = picker_.IsReserved(c);
  const bool excepted = reserved || IsExcepted(formName, c);
  if (!excepted) {
    std::string caption;
    if (GetCaption(c, caption)) {
      std::string text = catalogue_.GetLangText(formName, c.Name(), caption);
      const bool padded = ((pad & vsl_pGroupBox) && dynamic_cast<ui::GroupBox*>(&c) != nullptr) ||
                          ((pad & vsl_pRadioGroup) && dynamic_cast<ui::RadioGroup*>(&c) != nullptr);
      if (padded) text = PadFrameCaption(text);
      if (text != caption) SetCaption(c, text);
      if (!owner || !self) return;
    }
    std::string hint;
    if (GetHint(c, hint)) {
      const std::string text = catalogue_.GetLangText(formName, c.Name() + "_Hint", hint);
      if (text != hint) SetHint(c, text);
    }
  }
  // A copy: handlers run by the changes above may add components, and those run below may
  // destroy any of them.
  const std::vector<ui::Ref<ui::Component>> owned(c.Components().begin(), c.Components().end());
  for (const auto& child : owned) {
    if (child) Translate(formName, *child);
    if (!owner) return;
  }
  if (reserved || !self) return;
  TranslateContents(formName, c, excepted);
  if (!owner || !self) return;
  if (!excepted && onTranslated) onTranslated(c, formName);
}

void WindowTranslator::TranslateContents(const std::string& section, ui::Component& c,
                                         bool excepted) {
  // For memos and combo boxes the exception list turns the rule around.
  const auto wanted = [&](unsigned option) { return ((translate & option) != 0) != excepted; };
  if (auto* memo = dynamic_cast<ui::Memo*>(&c)) {
    if (!wanted(vsl_tMemo)) return;
    std::vector<std::string> lines = memo->Lines();
    if (TranslateList(section, c.Name(), lines) && lines != memo->Lines()) memo->SetLines(lines);
  } else if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) {
    if (!wanted(vsl_tComboBox)) return;
    std::vector<std::string> items = combo->Items();
    if (!TranslateList(section, c.Name(), items) || items == combo->Items()) return;
    const int index = combo->ItemIndex();
    const ui::Ref<ui::ComboBox> self(combo);
    // The entries are translated in place; what describes each stays with it.
    combo->SetItems(std::move(items), combo->ItemDescriptions());
    if (index >= 0 && self) combo->SetItemIndex(index);
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
      if (i % 2 == 0)
        piece = catalogue_.GetLangText(section, c.Name() + "_Filter", piece, int(i / 2));
      filter += (i > 0 ? "|" : "") + piece;
    }
    if (filter != dialog->Filter()) dialog->SetFilter(filter);
  } else if (auto* form = dynamic_cast<ui::Form*>(&c)) {
    const LanguageRecord* active = catalogue_.GetActiveLangRecord();
    if ((translate & vsl_t_Charset) && !excepted && active != nullptr)
      form->SetFontCharset(active->charset);
  }
}

bool WindowTranslator::TranslateList(const std::string& section, const std::string& name,
                                     std::vector<std::string>& list) {
  const auto count = ParseCount(catalogue_.GetLangText(section, name + "_Count", ""));
  if (!count) return false;
  for (size_t i = 0; i < *count; ++i) {
    std::string text = catalogue_.GetLangText(section, name, "", static_cast<int>(i));
    if (i < list.size())
      list[i] = std::move(text);
    else
      list.push_back(std::move(text));
  }
  list.resize(*count);
  return true;
}

// ---- new windows ----

void WindowTranslator::TranslateLater(ui::Form& form) {
  if (!catalogue_.IsLoaded()) return;
  ui::EventLoop* loop = ui::LoopOrNull();
  if (loop == nullptr) return;
  loop->Post([this, owner = ui::Ref<ui::Component>(&owner_), target = ui::Ref<ui::Form>(&form)] {
    if (!owner || !target) return;
    ui::Application* app = ui::App();
    if (app == nullptr) return;
    // Only the application's windows: one taken out of its tree is left as it is.
    const ui::Component* up = target->Owner();
    while (up != nullptr && up != app) up = up->Owner();
    if (up == nullptr) return;
    try {
      TranslateTree(target->Name(), *target);
    } catch (...) {
      // A window that cannot be translated keeps its texts.
    }
  });
}

// ---- exporting ----

bool WindowTranslator::ExportTree(const std::string& formName, ui::Component& component) {
  if (catalogue_.GetActiveLangRecord() == nullptr) return false;
  catalogue_.BeginFileBatch();
  Export(formName, component);
  return catalogue_.EndFileBatch();
}

bool WindowTranslator::ExportAllTexts() {
  LanguageRecord* active = catalogue_.GetActiveLangRecord();
  if (active == nullptr) return false;
  catalogue_.BeginFileBatch();
  if (active->BuiltIn() ||
      catalogue_.GetCachedText("General", "LanguageId", active->lines, -1, "").empty())
    catalogue_.SetLangText("General", "LanguageId", "0x" + LanguageIdHex(active->languageId));
  if (active->BuiltIn()) catalogue_.SetLangText("General", "LanguageName", active->displayName);
  if (ui::Application* app = ui::App())
    for (ui::Form* form : app->Forms()) Export(form->Name(), *form);
  return catalogue_.EndFileBatch();
}

void WindowTranslator::Export(const std::string& formName, ui::Component& c) {
  if (c.Name().empty()) return;
  const bool reserved = picker_.IsReserved(c);
  if (!reserved) {
    std::string caption, hint;
    if (GetCaption(c, caption)) catalogue_.SetLangText(formName, c.Name(), caption);
    if (GetHint(c, hint) && !hint.empty())
      catalogue_.SetLangText(formName, c.Name() + "_Hint", hint);
  }
  const std::vector<ui::Component*> owned = c.Components();
  for (ui::Component* child : owned) Export(formName, *child);
  if (!reserved) ExportContents(formName, c);
}

void WindowTranslator::ExportContents(const std::string& section, ui::Component& c) {
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
      catalogue_.SetLangText(section, c.Name() + "_Filter", entries[i].description,
                             static_cast<int>(i));
    return;
  } else {
    return;
  }
  catalogue_.SetLangText(section, c.Name() + "_Count", std::to_string(list.size()));
  for (size_t i = 0; i < list.size(); ++i)
    if (!list[i].empty()) catalogue_.SetLangText(section, c.Name(), list[i], static_cast<int>(i));
}

}  // namespace lang
