#include "notify/LazySound.h"

#include "notify/SoundFactory.h"
#include "platform/Plugin.h"

namespace notify {

bool LazySound::PlayWaveResource(const QString& name) {
    if (!m_tried) {
        m_tried = true;
        if (const auto* factory = platform::LoadPlugin<SoundFactory>(QStringLiteral("warmap-sound")))
            m_sound = factory->CreateSound();
    }
    return m_sound && m_sound->PlayWaveResource(name);
}

}  // namespace notify
