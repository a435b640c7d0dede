#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace core {

// Drives the monitoring cycle: the first pass a given time after start, then each next pass 600000 ms
// after the end of the previous one. The timer is stopped while a pass runs, so a pass
// that lets UI events run can never start a second one inside itself.
class RefreshTimer : public QObject {
    Q_OBJECT
public:
    // How long after start (or after a feed address is first given) the first pass runs.
    static constexpr std::chrono::seconds kFirstDelay{3};
    static constexpr std::chrono::milliseconds kLaterDelay{600000};

    // owner carries the timer (the popup window, which lives for the whole run).
    RefreshTimer(QObject* owner, std::function<void()> pass);

    // Replaces any armed timer with one that fires after the delay.
    void startRefreshTimer(std::chrono::seconds delay);

    // One tick: stop the timer, run the pass to its end, arm the timer again.
    void refreshTimerProc();

    // Stops the cycle for good: no pass starts any more. then() runs at once, or, when a pass is
    // running (a download lets UI events in), as soon as that pass has returned.
    void finish(std::function<void()> then);

    const QTimer& timer() const { return m_timer; }

private:
    QTimer m_timer;
    std::function<void()> m_pass;
    bool m_inPass = false;
    bool m_finished = false;
    std::function<void()> m_afterPass;
};

}  // namespace core
