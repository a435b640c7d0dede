#include "core/PopupPresenter.h"

#include "notify/Fader.h"
#include "notify/Sound.h"
#include "notify/ChangePopup.h"
#include "platform/Theme.h"

namespace core {

std::chrono::milliseconds EndTimerInterval(int upperBound) {
    using std::chrono::seconds;
    if (upperBound < 5) return seconds(8);
    if (upperBound < 10) return seconds(12);
    if (upperBound < 15) return seconds(14);
    return seconds(20);
}

int PopupHeight(int lines) {
    constexpr int kSkinPixels = 38;
    return theme::kLineHeight * lines + kSkinPixels;
}

void PopupPresenter::PresentChanges(const feed::MessageLines& lines) {
    const int n = static_cast<int>(lines.size());
    m_popup.SetHeight(PopupHeight(n));
    m_popup.placeNextToTaskbar();
    m_popup.drawSkin();
    for (int k = 0; k < n; ++k) m_popup.DrawLine(QString::fromStdString(lines[k]), k);
    if (m_soundOn) m_sound.PlayWaveResource(QStringLiteral("halldrop"));
    m_popup.Announce();
    notify::FadeIn(&m_popup);
    m_popup.EndTimer().setInterval(EndTimerInterval(n - 1));
    m_popup.EndTimer().start();
}

}  // namespace core
