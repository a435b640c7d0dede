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
    static void startCatching() {
        if (previous()) return;
        previous() = qInstallMessageHandler(&handle);
    }
    static void release() {
        if (!previous()) return;
        qInstallMessageHandler(previous());
        previous() = nullptr;
    }

private:
    // A message handler is a plain function: what it needs lives here, for the one sound of the run.
    static QtMessageHandler& previous() {
        static QtMessageHandler previous = nullptr;
        return previous;
    }
    static bool fromTheSoundSystem(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        return type == QtWarningMsg && qstrcmp(context.category, "default") == 0 &&
               (message.startsWith(QLatin1String("PulseAudioService:")) ||
                message.startsWith(QLatin1String("No audio device detected")));
    }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        static std::atomic_bool told = false;
        if (!fromTheSoundSystem(type, context, message)) return previous()(type, context, message);
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
    SoundWarnings::release();
}

QString AlertSound::findWaveResource(const QString& name) {
    QDirIterator it(QStringLiteral(":/wave"));
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).completeBaseName().compare(name, Qt::CaseInsensitive) == 0) return path;
    }
    return {};
}

bool AlertSound::playWaveResource(const QString& name) {
    const QString path = findWaveResource(name);
    if (path.isEmpty()) return false;
    // Created on first use, so a program that never alerts never opens the audio system.
    if (!m_effect) {
        SoundWarnings::startCatching();
        m_effect = std::make_unique<QSoundEffect>();
    }
    const QUrl source(QStringLiteral("qrc") + path);
    if (m_effect->source() != source) m_effect->setSource(source);
    m_effect->stop();
    m_effect->play();
    return true;
}

}  // namespace notify
