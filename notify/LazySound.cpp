#include "notify/LazySound.h"

#include "platform/Plugin.h"

namespace notify {

bool LazySound::PlayWaveResource(const QString& name) {
    if (!m_tried) {
        m_tried = true;
        using Create = Sound* (*)();
        if (auto create =
                reinterpret_cast<Create>(platform::LoadPluginFunction("warmap-sound", "WarmapCreateAlertSound"))) {
            m_sound.reset(create());
        }
    }
    return m_sound && m_sound->PlayWaveResource(name);
}

}  // namespace notify
