// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Language.h"

#include <QLocale>

namespace platform {
namespace {

struct Key {
    LanguageChoice choice;
    const char* key;
};
constexpr Key kKeys[] = {
    {LanguageChoice::German, "de"}, {LanguageChoice::English, "en"}, {LanguageChoice::System, "system"}};

}  // namespace

std::optional<LanguageChoice> languageChoiceFrom(const QString& key) {
    for (const Key& known : kKeys) {
        if (key == QLatin1String(known.key)) return known.choice;
    }
    return std::nullopt;
}

QString keyOf(LanguageChoice choice) {
    for (const Key& known : kKeys) {
        if (known.choice == choice) return QLatin1String(known.key);
    }
    return {};
}

Language languageOf(LanguageChoice choice, const QStringList& uiLanguages) {
    switch (choice) {
        case LanguageChoice::German:
            return Language::German;
        case LanguageChoice::English:
            return Language::English;
        case LanguageChoice::System:
            break;
    }
    if (uiLanguages.isEmpty()) return Language::English;
    const QString& first = uiLanguages.first();
    const bool german = first.compare(QLatin1String("de"), Qt::CaseInsensitive) == 0 ||
                        first.startsWith(QLatin1String("de-"), Qt::CaseInsensitive) ||
                        first.startsWith(QLatin1String("de_"), Qt::CaseInsensitive);
    return german ? Language::German : Language::English;
}

Language languageOf(LanguageChoice choice) {
    return languageOf(choice, QLocale::system().uiLanguages());
}

QString codeOf(Language language) {
    return language == Language::German ? QStringLiteral("de") : QStringLiteral("en");
}

}  // namespace platform
