#pragma once

#include <QString>

namespace notify {

// Plays sounds carried inside the program without waiting for them.
class Sound {
public:
    virtual ~Sound() = default;
    // Starts the named sound (name matched without regard to case) and returns at once; a new call
    // restarts it. Returns false when no such sound exists.
    virtual bool playWaveResource(const QString& name) = 0;
};

}  // namespace notify
