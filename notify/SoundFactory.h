#pragma once

#include <QtPlugin>
#include <memory>

#include "notify/Sound.h"

namespace notify {

// What the plugin "warmap-sound" gives: the alert sound over Qt Multimedia.
class SoundFactory {
public:
    virtual ~SoundFactory() = default;
    // Opens the audio system; the sound belongs to the caller.
    virtual std::unique_ptr<Sound> createSound() const = 0;
};

}  // namespace notify

Q_DECLARE_INTERFACE(notify::SoundFactory, "org.warmap.SoundFactory/1")
