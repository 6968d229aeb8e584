#include "qt/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>

namespace qtui {

QtTranslations::~QtTranslations() {
  Remove();
}

void QtTranslations::Remove() {
  if (translator_) QCoreApplication::removeTranslator(translator_.get());
  translator_.reset();
  language_.clear();
}

bool QtTranslations::Follow(const std::string& language) {
  if (language == language_ && (translator_ || language.empty())) return true;
  Remove();
  if (language.empty() || language == "en") return true;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_") + QString::fromStdString(language),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  QCoreApplication::installTranslator(translator.get());
  translator_ = std::move(translator);
  language_ = language;
  return true;
}

}  // namespace qtui
