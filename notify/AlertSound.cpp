#include "notify/AlertSound.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace notify {

AlertSound::AlertSound() = default;
AlertSound::~AlertSound() = default;

QString AlertSound::FindWaveResource(const QString& name) {
    QDirIterator it(QStringLiteral(":/wave"));
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).completeBaseName().compare(name, Qt::CaseInsensitive) == 0) return path;
    }
    return {};
}

bool AlertSound::PlayWaveResource(const QString& name) {
    const QString path = FindWaveResource(name);
    if (path.isEmpty()) return false;
    // Created on first use, so a program that never alerts never opens the audio system.
    if (!m_effect) m_effect = std::make_unique<QSoundEffect>();
    const QUrl source(QStringLiteral("qrc") + path);
    if (m_effect->source() != source) m_effect->setSource(source);
    m_effect->stop();
    m_effect->play();
    return true;
}

}  // namespace notify
