#include "core/RefreshTimer.h"

#include <utility>

namespace core {

RefreshTimer::RefreshTimer(QObject* owner, std::function<void()> pass) : QObject(owner), m_pass(std::move(pass)) {
    m_timer.setObjectName(QStringLiteral("RefreshTimer"));
    m_timer.setSingleShot(true);
    // Still one wake-up per interval, but on time: a coarse timer may drift by 5 %.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RefreshTimer::refreshTimerProc);
}

void RefreshTimer::startRefreshTimer(std::chrono::seconds delay) {
    m_timer.stop();
    if (!m_finished) m_timer.start(std::chrono::milliseconds(delay));
}

void RefreshTimer::refreshTimerProc() {
    m_timer.stop();
    if (m_finished || m_inPass) return;
    m_inPass = true;
    m_pass();
    m_inPass = false;
    if (!m_finished) {
        m_timer.start(kLaterDelay);
    } else if (m_afterPass) {
        std::exchange(m_afterPass, nullptr)();
    }
}

void RefreshTimer::finish(std::function<void()> then) {
    m_finished = true;
    m_timer.stop();
    if (m_inPass) {
        m_afterPass = std::move(then);
    } else if (then) {
        then();
    }
}

}  // namespace core
