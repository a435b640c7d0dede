#pragma once

#include <chrono>

#include "core/ChangePresenter.h"

namespace notify {
class Sound;
class ChangePopup;
}  // namespace notify

namespace core {

// How long the popup stays, by the upper bound of the line list: up to 5 lines 8 s, up to 10 lines
// 12 s, up to 15 lines 14 s, more 20 s.
std::chrono::milliseconds endTimerInterval(int upperBound);

// Popup height in logical pixels for n lines: one line height (15 pixels) a line plus 38 of skin.
int popupHeight(int lines);

// The popup step of a pass: size and place the popup, draw skin and lines, sound, fade in, arm endTimer.
class PopupPresenter final : public ChangePresenter {
public:
    PopupPresenter(notify::ChangePopup& popup, notify::Sound& sound) : m_popup(popup), m_sound(sound) {}
    void presentChanges(const feed::MessageLines& lines) override;
    // "Ton bei Meldungen": on by default.
    void setSoundOn(bool on) { m_soundOn = on; }

private:
    notify::ChangePopup& m_popup;
    notify::Sound& m_sound;
    bool m_soundOn = true;
};

}  // namespace core
