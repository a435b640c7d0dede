// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translations.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "base/SafeFile.h"
#include "platform/Logging.h"

namespace platform {
namespace {

// A translation is a few dozen KiB; anything far larger is not one of ours.
constexpr std::size_t kMostBytes = 4 * 1024 * 1024;

// Why the entry at path may not speak for the program: empty when only we or root may change it.
QString distrusted(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return QString::fromLocal8Bit(std::strerror(errno));
    if (info.st_uid != ::geteuid() && info.st_uid != 0) return QStringLiteral("it belongs to another user");
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return QStringLiteral("other users may write it");
    return {};
}

}  // namespace

Translations::Translations(QString folder, QString qtFolder)
    : m_folder(std::move(folder)), m_qtFolder(std::move(qtFolder)) {}

Translations::~Translations() {
    remove();
}

QString Translations::ownFile(Language language) const {
    return m_folder + QStringLiteral("/warmap_") + codeOf(language) + QStringLiteral(".qm");
}

Language Translations::use(Language language) {
    remove();
    m_hasOwn = language != Language::German && loadOwn(language);
    m_hasQt = m_qt.load(QStringLiteral("qtbase_") + codeOf(m_hasOwn ? language : Language::German), m_qtFolder);
    if (!m_hasQt)
        qCInfo(lcSettings, "Qt's own %s texts are not installed in %s; its dialogs speak English",
               qPrintable(codeOf(language)), qPrintable(m_qtFolder));
    if (QCoreApplication::instance()) install();
    return m_hasOwn ? language : Language::German;
}

bool Translations::loadOwn(Language language) {
    const QString path = ownFile(language);
    const auto refuse = [&path](const QString& why) {
        qCWarning(lcSettings, "not using the translation %s: %s; speaking German", qPrintable(path), qPrintable(why));
        return false;
    };
    // A planted file must not speak for us: the folder and the file are ours or the system's alone.
    if (const QString why = distrusted(m_folder); !why.isEmpty()) return refuse(QStringLiteral("its folder: ") + why);
    const auto bytes = base::readWholeFile(QFile::encodeName(path).toStdString(),
                                           {.followLinks = false, .ownedByUs = false, .maxBytes = kMostBytes});
    if (!bytes) return refuse(QStringLiteral("it ") + QString::fromStdString(base::describe(bytes.error())));
    if (const QString why = distrusted(path); !why.isEmpty()) return refuse(why);
    m_ownBytes = QByteArray::fromStdString(*bytes);
    if (!m_own.load(reinterpret_cast<const uchar*>(m_ownBytes.constData()), static_cast<int>(m_ownBytes.size())))
        return refuse(QStringLiteral("it is not a translation file"));
    // Every complete translation names its own language; a cut or damaged file lacks it.
    if (m_own.translate("platform::Translations", "Deutsch").isEmpty())
        return refuse(QStringLiteral("it is incomplete"));
    return true;
}

void Translations::install() {
    if (m_installed) return;
    if (m_hasQt) QCoreApplication::installTranslator(&m_qt);
    if (m_hasOwn) QCoreApplication::installTranslator(&m_own);
    m_installed = true;
}

void Translations::remove() {
    if (m_installed && QCoreApplication::instance()) {
        QCoreApplication::removeTranslator(&m_own);
        QCoreApplication::removeTranslator(&m_qt);
    }
    m_installed = false;
}

QString Translations::translate(const char* context, const char* source) const {
    if (m_hasOwn) {
        const QString text = m_own.translate(context, source);
        if (!text.isEmpty()) return text;
    }
    return QString::fromUtf8(source);
}

}  // namespace platform
