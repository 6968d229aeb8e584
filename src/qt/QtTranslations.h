#pragma once
// Qt's own texts (the buttons of message boxes, the file dialog's labels) in the program's
// language: Qt's translation of that language, from the folder Qt keeps its translations in
// (Debian's Qt translation package), installed while this object lives. A language Qt has no
// translation for leaves Qt's English.

#include <QTranslator>
#include <memory>
#include <string>

namespace qtui {

class QtTranslations {
 public:
  QtTranslations() = default;
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  // Follows the program's language, by its two-letter code ("cs"); empty or "en": Qt's own
  // English. False when Qt has no translation for it.
  bool Follow(const std::string& language);
  const std::string& Language() const { return language_; }

 private:
  void Remove();
  std::unique_ptr<QTranslator> translator_;
  std::string language_;
};

}  // namespace qtui
