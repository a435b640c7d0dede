#include "notify/LazySound.h"

#include "notify/SoundFactory.h"
#include "platform/Plugin.h"

namespace notify {

bool LazySound::playWaveResource(const QString& name) {
    if (!m_tried) {
        m_tried = true;
        if (const auto* factory = platform::loadPlugin<SoundFactory>(QStringLiteral("warmap-sound")))
            m_sound = factory->createSound();
    }
    return m_sound && m_sound->playWaveResource(name);
}

}  // namespace notify
