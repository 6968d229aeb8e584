// Qt's own texts follow the program's language: the message box's buttons in Czech for the
// Czech program, Qt's English again for the English one.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

#include "lang/LangLocale.h"
#include "qt/QtTranslations.h"

namespace {

QString YesButtonText() {
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  return box.button(QMessageBox::Yes)->text();
}

TEST(QtTranslations, MessageBoxButtonsFollowTheProgramsLanguage) {
  const QString english = YesButtonText();
  {
    qtui::QtTranslations texts;
    ASSERT_TRUE(texts.Follow(lang::LocaleLanguageOf(0x0405)))
        << "Qt's Czech translation is missing (scripts/setup installs qt6-translations-l10n)";
    EXPECT_EQ(texts.Language(), "cs");
    EXPECT_EQ(YesButtonText(), QStringLiteral("&Ano"));
    EXPECT_TRUE(texts.Follow(lang::LocaleLanguageOf(0x0809)));
    EXPECT_EQ(YesButtonText(), english);
    EXPECT_TRUE(texts.Follow("cs"));
    EXPECT_FALSE(texts.Follow("xx"));  // no such translation: Qt's English
    EXPECT_EQ(YesButtonText(), english);
    EXPECT_TRUE(texts.Follow("cs"));
  }
  EXPECT_EQ(YesButtonText(), english);  // gone with the object
}

}  // namespace
