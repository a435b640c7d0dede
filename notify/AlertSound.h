#pragma once

#include <QString>
#include <memory>

class QSoundEffect;

namespace notify {

// Plays sounds carried inside the program (Qt resources under ":/wave/"), without waiting for them.
// The effect and its data stay alive as long as this object, so playback never reads freed memory.
class AlertSound {
public:
    AlertSound();
    ~AlertSound();

    // Starts the named sound (name matched without regard to case) and returns at once; a new call
    // restarts it. Returns false when no such sound exists. With no audio device nothing is heard and
    // no other sound is played instead.
    bool PlayWaveResource(const QString& name);

    // The resource path of a named sound, or empty text.
    static QString FindWaveResource(const QString& name);

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

}  // namespace notify
