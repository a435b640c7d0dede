// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>

#include "base/SafeFile.h"
#include "platform/AddressText.h"
#include "platform/Logging.h"
#include "platform/NameText.h"
#include "platform/Paths.h"
#include "settings/FeedAddress.h"

namespace settings {
namespace {

// Far more than the few lines the settings window writes.
constexpr qint64 kMostBytes = 64 * 1024;

const QString kFeedBaseKey = QStringLiteral("feed/base");
const QString kRealmKey = QStringLiteral("notify/realm");
const QString kSoundKey = QStringLiteral("notify/sound");
const QString kGuildKey = QStringLiteral("notify/guild");
const QString kOnlyGuildKey = QStringLiteral("notify/onlyGuild");
// QSettings keeps the keys of "[General]" (any capitals) at the top.
const QString kLanguageKey = QStringLiteral("language");
const QString kAnyRealm = QStringLiteral("any");

QString serverKey(std::string_view server) {
    return QStringLiteral("notify/") + platform::nameText(server);
}

// Whether QSettings may read the file: a regular file (links followed) of sensible size that we can
// open. A FIFO would hold the start for ever, a device would never end.
bool isReadable(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const auto opened = base::openForReading(native.toStdString(), {.maxBytes = static_cast<std::size_t>(kMostBytes)});
    if (opened) return true;
    switch (opened.error().kind) {
        case base::Refusal::Kind::Missing:
            break;
        case base::Refusal::Kind::NotRegular:
            qCWarning(lcSettings, "ignoring %s: not a regular file", native.constData());
            break;
        case base::Refusal::Kind::TooLarge:
            qCWarning(lcSettings, "ignoring %s: larger than %lld bytes", native.constData(), kMostBytes);
            break;
        default:
            qCWarning(lcSettings, "cannot read %s: %s", native.constData(), std::strerror(opened.error().error));
            break;
    }
    return false;
}

void bad(const QString& path, const QString& key, const QVariant& value, const char* expected) {
    QString shown = value.toStringList().join(QLatin1Char(','));
    // An address is never logged with its user part: that may hold a password.
    if (key == kFeedBaseKey) shown = platform::addressWithoutUser(shown);
    qCWarning(lcSettings, "%s: %s = \"%s\" is not %s; using the default", qPrintable(path), qPrintable(key),
              qPrintable(shown), expected);
}

// A value that must be a plain text (QSettings reads "a, b" as a list).
std::optional<QString> textOf(const QSettings& file, const QString& key) {
    const QVariant value = file.value(key);
    if (value.typeId() == QMetaType::QString) return value.toString();
    bad(file.fileName(), key, value, "a single value");
    return std::nullopt;
}

std::optional<bool> flagOf(const QSettings& file, const QString& key) {
    const std::optional<QString> text = textOf(file, key);
    if (!text) return std::nullopt;
    if (text->compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (text->compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    bad(file.fileName(), key, *text, "true or false");
    return std::nullopt;
}

}  // namespace

QString settingsFilePath() {
    return QString::fromStdString(platform::configHome()) + QStringLiteral("/warmap/warmap.conf");
}

Settings loadSettings(const QString& path) {
    Settings settings;
    if (!isReadable(path)) return settings;
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        qCWarning(lcSettings, "%s is not a well-formed INI file; reading what can be read", qPrintable(path));

    QStringList known{kFeedBaseKey, kRealmKey, kSoundKey, kGuildKey, kOnlyGuildKey, kLanguageKey};
    for (std::size_t i = 0; i < feed::kServerNames.size(); ++i) known << serverKey(feed::kServerNames[i]);
    for (const QString& key : file.allKeys()) {
        if (!known.contains(key))
            qCWarning(lcSettings, "%s: unknown key %s ignored", qPrintable(path), qPrintable(key));
    }

    if (file.contains(kFeedBaseKey)) {
        if (const auto text = textOf(file, kFeedBaseKey)) {
            if (const auto normalised = normalisedFeedBase(*text))
                settings.feedBase = *normalised;
            else
                bad(path, kFeedBaseKey, *text, "an http or https address of a host");
        }
    }
    for (std::size_t i = 0; i < feed::kServerNames.size(); ++i) {
        const QString key = serverKey(feed::kServerNames[i]);
        if (!file.contains(key)) continue;
        if (const auto on = flagOf(file, key)) settings.notifyServer[i] = *on;
    }
    if (file.contains(kRealmKey)) {
        if (const auto text = textOf(file, kRealmKey); text && *text != kAnyRealm) {
            settings.onlyRealm = feed::realmFromName(text->toStdString());
            if (!settings.onlyRealm) bad(path, kRealmKey, *text, "any, Albion, Midgard or Hibernia");
        }
    }
    if (file.contains(kSoundKey)) {
        if (const auto on = flagOf(file, kSoundKey)) settings.sound = *on;
    }
    if (file.contains(kGuildKey)) {
        // A name may hold commas; QSettings splits an unquoted one into a list.
        const QVariant value = file.value(kGuildKey);
        settings.guild = value.typeId() == QMetaType::QStringList ? value.toStringList().join(QStringLiteral(", "))
                                                                  : value.toString();
    }
    if (file.contains(kOnlyGuildKey)) {
        if (const auto on = flagOf(file, kOnlyGuildKey)) settings.onlyGuild = *on;
    }
    if (settings.onlyGuild && settings.guild.isEmpty())
        qCWarning(lcSettings, "%s: %s = true without a guild; telling every guild's lines", qPrintable(path),
                  qPrintable(kOnlyGuildKey));
    if (file.contains(kLanguageKey)) {
        if (const auto text = textOf(file, kLanguageKey)) {
            if (const auto choice = platform::languageChoiceFrom(*text))
                settings.language = *choice;
            else
                bad(path, kLanguageKey, *text, "de, en or system");
        }
    }
    return settings;
}

base::Result<void, QString> saveSettings(const QString& path, const Settings& settings) {
    const auto fail = [&](const QString& what) -> base::Result<void, QString> {
        qCWarning(lcSettings, "cannot save the settings as %s: %s", qPrintable(path), qPrintable(what));
        return base::Failure{QCoreApplication::translate("settings::SettingsFile",
                                                         "Die Einstellungen lassen sich nicht speichern (%1): %2")
                                 .arg(path, what)};
    };
    // QSettings writes the INI text (with its quoting) into a scratch file; our own writer then puts
    // it in place whole, so a crash never leaves half a file and nothing of a bad old file survives.
    QTemporaryDir scratch;
    if (!scratch.isValid()) return fail(scratch.errorString());
    const QString draft = scratch.filePath(QStringLiteral("warmap.conf"));
    {
        QSettings file(draft, QSettings::IniFormat);
        if (!settings.feedBase.isEmpty()) file.setValue(kFeedBaseKey, settings.feedBase);
        for (std::size_t i = 0; i < feed::kServerNames.size(); ++i)
            file.setValue(serverKey(feed::kServerNames[i]), settings.notifyServer[i] ? "true" : "false");
        file.setValue(kRealmKey,
                      settings.onlyRealm ? platform::nameText(feed::realmName(*settings.onlyRealm)) : kAnyRealm);
        file.setValue(kSoundKey, settings.sound ? "true" : "false");
        if (!settings.guild.isEmpty()) file.setValue(kGuildKey, settings.guild);
        file.setValue(kOnlyGuildKey, settings.onlyGuild ? "true" : "false");
        file.setValue(kLanguageKey, platform::keyOf(settings.language));
        file.sync();
        if (file.status() != QSettings::NoError)
            return fail(QCoreApplication::translate("settings::SettingsFile", "INI-Text nicht geschrieben"));
    }
    QFile text(draft);
    if (!text.open(QIODevice::ReadOnly)) return fail(text.errorString());
    const QByteArray bytes = text.readAll();

    // A link to a regular file (a dotfiles repository, say) stays a link: the file it names is replaced.
    const QFileInfo entry(path);
    const QString target = entry.isSymLink() && entry.isFile() ? entry.canonicalFilePath() : path;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return fail(QCoreApplication::translate("settings::SettingsFile", "Ordner fehlt"));
    if (const base::Result<void, int> written =
            base::writePrivateFile(QFile::encodeName(target).toStdString(), bytes.toStdString());
        !written)
        return fail(QString::fromLocal8Bit(std::strerror(written.error())));
    return {};
}

}  // namespace settings
