#include "core/RefreshTimer.h"

namespace core {

RefreshTimer::RefreshTimer(QObject* owner, std::function<void()> pass) : QObject(owner), m_pass(std::move(pass)) {
    m_timer.setObjectName(QStringLiteral("RefreshTimer"));
    m_timer.setSingleShot(true);
    // Still one wake-up per interval, but on time: a coarse timer may drift by 5 %.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RefreshTimer::RefreshTimerProc);
}

void RefreshTimer::StartRefreshTimer(int seconds) {
    m_timer.stop();
    m_timer.start(seconds * 1000);
}

void RefreshTimer::RefreshTimerProc() {
    m_timer.stop();
    m_pass();
    m_timer.start(kLaterDelayMs);
}

}  // namespace core
