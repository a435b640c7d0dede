#include "notify/AlertSound.h"
#include "platform/Logging.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <atomic>

namespace notify {
namespace {

// Qt Multimedia tells on stderr, in Qt's default category and from its own events some time after an
// effect is asked to play, that it cannot reach a sound server ("PulseAudioService:
// pa_context_connect() failed", then "No audio device detected"). Those lines are caught while an
// effect exists and told once, as one line of ours; every other message goes on as before.
class SoundWarnings {
public:
    static void Catch() {
        if (Previous()) return;
        Previous() = qInstallMessageHandler(&Handle);
    }
    static void Release() {
        if (!Previous()) return;
        qInstallMessageHandler(Previous());
        Previous() = nullptr;
    }

private:
    // A message handler is a plain function: what it needs lives here, for the one sound of the run.
    static QtMessageHandler& Previous() {
        static QtMessageHandler previous = nullptr;
        return previous;
    }
    static bool FromTheSoundSystem(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        return type == QtWarningMsg && qstrcmp(context.category, "default") == 0 &&
               (message.startsWith(QLatin1String("PulseAudioService:")) ||
                message.startsWith(QLatin1String("No audio device detected")));
    }
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        static std::atomic_bool told = false;
        if (!FromTheSoundSystem(type, context, message)) return Previous()(type, context, message);
        // Logged from the event loop: Qt does not format a message logged from inside a handler.
        if (!told.exchange(true))
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [message] { qCWarning(lcSound, "no sound: %s", qPrintable(message)); },
                Qt::QueuedConnection);
    }
};

}  // namespace

AlertSound::AlertSound() = default;
AlertSound::~AlertSound() {
    m_effect.reset();
    SoundWarnings::Release();
}

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
    if (!m_effect) {
        SoundWarnings::Catch();
        m_effect = std::make_unique<QSoundEffect>();
    }
    const QUrl source(QStringLiteral("qrc") + path);
    if (m_effect->source() != source) m_effect->setSource(source);
    m_effect->stop();
    m_effect->play();
    return true;
}

}  // namespace notify
