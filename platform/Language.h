// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The language the program speaks. German is the source of every text, English a translation.
enum class Language { German, English };

// What the player chose in the settings; System follows the desktop's language.
enum class LanguageChoice { German, English, System };

// "de", "en" and "system", as the settings file stores them; nothing for any other text.
std::optional<LanguageChoice> languageChoiceFrom(const QString& key);
QString keyOf(LanguageChoice choice);

// The language of a choice. System is German when the desktop's first UI language is German
// (QLocale::uiLanguages(), "de", "de-AT", …), else English: most players of the game read English.
Language languageOf(LanguageChoice choice, const QStringList& uiLanguages);
// The same on this desktop (QLocale::system()).
Language languageOf(LanguageChoice choice);

// "de" or "en", as the translation files are named.
QString codeOf(Language language);

}  // namespace platform
