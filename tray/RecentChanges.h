#pragma once

#include <QObject>
#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace tray {

// The change lines of one pass, as the popup showed them.
struct PassChanges {
    std::chrono::system_clock::time_point time;
    std::vector<std::string> lines;
};

// What the last passes with changes brought, newest first, so a popup missed is not a change lost.
// Earlier runs' passes come back from the history, when there is one.
class RecentChanges : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    static constexpr std::size_t kMaxPasses = 50;

    // Keeps the pass when it brought lines; the oldest pass goes once there are more than kMaxPasses.
    void record(std::chrono::system_clock::time_point time, const std::vector<std::string>& lines);

    // Puts back what earlier runs kept, newest first, before this run's first pass.
    void restore(std::vector<PassChanges> passes);

    const std::deque<PassChanges>& passes() const { return m_passes; }

signals:
    // After every pass that was kept, and after the restore.
    void changed();

private:
    std::deque<PassChanges> m_passes;
};

}  // namespace tray
