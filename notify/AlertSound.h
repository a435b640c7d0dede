#pragma once

#include <QString>
#include <memory>

#include "notify/Sound.h"

class QSoundEffect;

namespace notify {

// Plays sounds carried inside the program (Qt resources under ":/wave/") through Qt Multimedia.
// The effect and its data stay alive as long as this object, so playback never reads freed memory.
// With no audio device nothing is heard and no other sound is played instead.
class AlertSound final : public Sound {
public:
    AlertSound();
    ~AlertSound() override;

    bool playWaveResource(const QString& name) override;

    // The resource path of a named sound, or empty text.
    static QString findWaveResource(const QString& name);

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

}  // namespace notify
