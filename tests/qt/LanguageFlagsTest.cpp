// The language list draws each language's flag before its name.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <memory>

#include "lang/BuiltinLanguages.h"
#include "lang/VQelLanguage.h"
#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

TEST(QtLanguageFlags, EachLanguageInTheListShowsItsFlag) {
  qtui::QtLoop loop;
  ui::Application app;
  auto* form = new ui::Form(&app, "FormOptions");
  form->SetBounds(0, 0, 300, 200);
  auto* combo = new ui::ComboBox(form, "ComboLanguage");
  combo->SetParent(form);
  combo->SetStyle(ui::ComboStyle::DropDownList);
  combo->SetBounds(8, 8, 200, 22);
  auto view = std::make_unique<qtui::QtFormView>(*form);
  lang::VQelLanguage language(nullptr);
  language.SetUserDefaultLanguageId(0x0405);
  language.SetStartupLanguages(lang::BuiltinLanguageTexts());
  language.Loaded();
  language.SetLangCombo(combo);

  ASSERT_EQ(combo->Items().size(), 2u);
  ASSERT_EQ(combo->ItemImages().size(), 2u);
  auto* box = qobject_cast<QComboBox*>(view->WidgetOf(*combo));
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->count(), 2);
  for (int i = 0; i < 2; ++i) {
    ASSERT_FALSE(box->itemIcon(i).isNull()) << i;
    const QImage flag = box->itemIcon(i).pixmap(16, 16).toImage();
    // The flags are not blank: the Czech one is white over red, the British one mostly blue.
    EXPECT_GT(qAlpha(flag.pixel(8, 8)), 0) << i;
  }
  const QImage czech = box->itemIcon(0).pixmap(16, 16).toImage();
  EXPECT_GT(qRed(czech.pixel(14, 13)), 150);  // the red band at the bottom right
  EXPECT_LT(qGreen(czech.pixel(14, 13)), 100);
  language.SetLangCombo(nullptr);
  view.reset();
  delete form;
}

}  // namespace
