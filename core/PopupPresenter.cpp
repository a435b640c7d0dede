#include "core/PopupPresenter.h"

#include "notify/ChangePopup.h"
#include "notify/Fader.h"
#include "notify/Sound.h"
#include "platform/Theme.h"

namespace core {

std::chrono::milliseconds endTimerInterval(int upperBound) {
    using std::chrono::seconds;
    if (upperBound < 5) return seconds(8);
    if (upperBound < 10) return seconds(12);
    if (upperBound < 15) return seconds(14);
    return seconds(20);
}

int popupHeight(int lines) {
    constexpr int kSkinPixels = 38;
    return theme::kLineHeight * lines + kSkinPixels;
}

void PopupPresenter::presentChanges(const feed::MessageLines& lines) {
    const int n = static_cast<int>(lines.size());
    m_popup.setHeight(popupHeight(n));
    m_popup.placeNextToTaskbar();
    m_popup.drawSkin();
    for (int k = 0; k < n; ++k) m_popup.drawLine(QString::fromStdString(lines[k]), k);
    if (m_soundOn) m_sound.playWaveResource(QStringLiteral("halldrop"));
    m_popup.announce();
    notify::fadeIn(&m_popup);
    m_popup.endTimer().setInterval(endTimerInterval(n - 1));
    m_popup.endTimer().start();
}

}  // namespace core
