#pragma once

#include <memory>

#include "notify/Sound.h"

namespace notify {

// The alert sound as the program uses it: the audio system (Qt Multimedia, in the library
// "warmap-sound" beside the program) is loaded and opened on the first sound, not at start-up.
// Without that library the popup stays silent.
class LazySound final : public Sound {
public:
    bool playWaveResource(const QString& name) override;

private:
    std::unique_ptr<Sound> m_sound;
    bool m_tried = false;
};

}  // namespace notify
