// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/qt/template_font.h"

#include <QString>
#include <QStringList>

namespace zentor::ui::qt {

resources::TemplateLanguage TemplateLanguageOf(const QLocale& locale) {
  return locale.language() == QLocale::Japanese ? resources::TemplateLanguage::Japanese
                                                : resources::TemplateLanguage::English;
}

QFont TemplateFont(resources::TemplateLanguage language, int pointSize) {
  const std::string_view name = resources::TemplateFontName(language);
  const QString family = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  // Japanese texts appear in both variants (the language buttons switch the texts, not the
  // template), so both fall back to a proportional gothic for the characters they lack.
  const QStringList japaneseGothics = {"IPAPGothic", "VL PGothic", "Noto Sans CJK JP",
                                       "Droid Sans Japanese"};
  if (language == resources::TemplateLanguage::Japanese) {
    QFont::insertSubstitutions(family, QStringList{"MS PGothic"} + japaneseGothics);
  } else {
    QFont::insertSubstitutions(family, QStringList{"Liberation Sans", "Arimo"} + japaneseGothics);
  }
  QFont font(family, pointSize);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace zentor::ui::qt
