#include "qt/QtText.h"

#include "base/Cp1250.h"

#include <QGuiApplication>

namespace qtui {

QString ToQt(const std::string& cp1250) {
  return QString::fromStdString(Cp1250ToUtf8(cp1250));
}

std::string FromQt(const QString& text) {
  return Utf8ToCp1250(text.toStdString());
}

QFont ProgramFont() {
  QFont font = QGuiApplication::font();
  font.setPixelSize(11);
  return font;
}

QString LinesToQt(const std::string& cp1250) {
  QString text = ToQt(cp1250);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

std::string LinesFromQt(const QString& text) {
  QString copy = text;
  copy.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  copy.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return FromQt(copy);
}

QString WithoutMnemonic(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

QString TooltipOf(const std::string& hint) {
  const size_t bar = hint.find('|');
  return ToQt(bar == std::string::npos ? hint : hint.substr(0, bar));
}

QColor ResolveColor(ui::Color color, const QPalette& palette, const QColor& fallback) {
  if (color == ui::clDefault) return fallback;
  if (!ui::IsSystemColor(color)) {
    return QColor(ui::RedOf(color), ui::GreenOf(color), ui::BlueOf(color));
  }
  // The platform's system colour indices.
  switch (color & 0xFF) {
    case 5:  // window background
      return palette.color(QPalette::Base);
    case 8:  // window text
      return palette.color(QPalette::Text);
    case 13:  // highlight
      return palette.color(QPalette::Highlight);
    case 14:  // highlighted text
      return palette.color(QPalette::HighlightedText);
    case 15:  // button face
      return palette.color(QPalette::Button);
    case 16:  // button shadow
      return palette.color(QPalette::Dark);
    case 17:  // grey text
      return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:  // button text
      return palette.color(QPalette::ButtonText);
    case 20:  // button highlight
      return palette.color(QPalette::Light);
    default:
      return fallback;
  }
}

}  // namespace qtui
