// The library "warmap-sound": the alert sound over Qt Multimedia, loaded on the first popup.
#include "notify/AlertSound.h"

extern "C" Q_DECL_EXPORT notify::Sound* WarmapCreateAlertSound() {
    return new notify::AlertSound;
}
