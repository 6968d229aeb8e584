#pragma once
// Applies the active language to windows and writes windows' texts into it. A window's section
// is the window's name; everything the window owns, directly or through other components, is
// keyed by its own name in that section: N (caption), N_Hint, N_Count and N_i (lists),
// N_Filter_i (file dialog filter descriptions). Windows created later are translated once they
// have been built.
//
// Translating runs the program's handlers (a changed text, OnTranslated) which may destroy any
// control, any window, the language component that owns the translator, or all of them: what is
// still to be visited is held by reference and skipped once gone.

#include <functional>
#include <string>
#include <vector>

namespace ui {
class Component;
class Form;
}  // namespace ui

namespace lang {

class LanguageCatalogue;
class LanguagePicker;

// Which contents window translation touches besides captions, hints and radio groups.
enum TranslateOption : unsigned {
  vsl_tComboBox = 1u << 0,
  vsl_tMemo = 1u << 1,
  vsl_tEdit = 1u << 2,
  vsl_tListBox = 1u << 3,
  vsl_t_Charset = 1u << 4,
};
// Which frame captions get one blank on each side.
enum PadOption : unsigned {
  vsl_pGroupBox = 1u << 0,
  vsl_pRadioGroup = 1u << 1,
};

class WindowTranslator {
 public:
  using TranslatedEvent = std::function<void(ui::Component& component, const std::string& form)>;

  // owner: the component the translator is part of; nothing is touched once it has gone.
  WindowTranslator(ui::Component& owner, LanguageCatalogue& catalogue,
                   const LanguagePicker& picker);

  // The options, as VQelLanguage describes them.
  std::vector<std::string> exceptionList;
  unsigned translate = 0;
  unsigned pad = 0;
  // For each component translated that is neither reserved nor excepted.
  TranslatedEvent onTranslated;

  void TranslateTree(const std::string& formName, ui::Component& component);
  void UpdateAllTexts();
  // Translates the window once it has been built completely (work posted to the loop), if it is
  // still one of the application's then.
  void TranslateLater(ui::Form& form);
  bool ExportTree(const std::string& formName, ui::Component& component);
  bool ExportAllTexts();

  bool GetCaption(const ui::Component& component, std::string& caption) const;
  bool SetCaption(ui::Component& component, const std::string& caption) const;
  static bool GetHint(const ui::Component& component, std::string& hint);
  static bool SetHint(ui::Component& component, const std::string& hint);

 private:
  void Translate(const std::string& section, ui::Component& component);
  bool IsExcepted(const std::string& formName, const ui::Component& component) const;
  bool TranslateList(const std::string& section, const std::string& name,
                     std::vector<std::string>& list);
  void TranslateContents(const std::string& section, ui::Component& component, bool excepted);
  void Export(const std::string& section, ui::Component& component);
  void ExportContents(const std::string& section, ui::Component& component);

  ui::Component& owner_;
  LanguageCatalogue& catalogue_;
  const LanguagePicker& picker_;
};

}  // namespace lang
