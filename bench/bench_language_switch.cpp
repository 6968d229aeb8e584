// links: kx2_lang kx2_components kx2_ui kx2_base
// Time of one language switch: the built-in languages, several windows with a few hundred
// controls between them, every window translated at each switch (as the options dialog does it).

#include <chrono>
#include <cstdio>
#include <string>

#include "lang/BuiltinLanguages.h"
#include "lang/VQelLanguage.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/HeadlessLoop.h"
#include "ui/Menu.h"

int main() {
  ui::HeadlessLoop loop(ui::HeadlessLoop::Clock::Virtual);
  ui::Application app;
  const char* formNames[] = {"FormMain", "FormOptions", "FormAbout", "FormProgress"};
  int controls = 0;
  ui::Form* main = nullptr;
  for (const char* formName : formNames) {
    auto* form = new ui::Form(&app, formName);
    if (main == nullptr) main = form;
    for (int i = 0; i < 25; ++i) {
      const std::string n = std::to_string(i);
      auto* label = new ui::Label(form, "Label" + n);
      label->SetParent(form);
      auto* check = new ui::CheckBox(form, "CheckDinMessLH" + n);
      check->SetParent(form);
      check->SetHint("Dig. vstup " + n);
      auto* edit = new ui::Edit(form, "EditDinName" + n);
      edit->SetParent(form);
      auto* group = new ui::RadioGroup(form, i == 0 ? "RGroupTerminal" : "RGroup" + n);
      group->SetParent(form);
      group->SetItems({"a", "b"});
      controls += 4;
    }
    auto* box = new ui::GroupBox(form, "GroupMemoryInfo");
    box->SetParent(form);
    auto* item = new ui::MenuItem(form, "MenuFile");
    item->SetCaption("&Soubor");
    controls += 2;
  }
  auto* language = new lang::VQelLanguage(main, "VQelLanguage1");
  language->SetStartupLanguages(lang::BuiltinLanguageTexts());
  language->SetCfgDirectory("/nonexistent/kx2-bench");
  language->Loaded();

  const int switches = 200;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < switches; ++i)
    language->SetCurrLanguage(i % 2 == 0 ? "English"
                                         : "\xC8"
                                           "esky");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const double ms = std::chrono::duration<double, std::milli>(elapsed).count();
  std::printf("language switch: %d controls on %zu windows, %d switches, %.3f ms per switch\n",
              controls, sizeof formNames / sizeof formNames[0], switches, ms / switches);
  return 0;
}
