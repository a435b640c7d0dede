// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryRecorder.h"

#include "feed/FeedDocument.h"
#include "history/HistoryLogging.h"
#include "platform/Paths.h"

namespace history {

Q_LOGGING_CATEGORY(lcHistory, "warmap.history")

std::string HistoryFilePath() {
    const auto folder = platform::PrivateDataFolder();
    return folder ? *folder + "/history.sqlite" : std::string();
}

void HistoryRecorder::FeedArrived(int server, const feed::FeedDocument& document) {
    if (!Recording()) return;
    auto state = HoldingsOf(document);
    if (!state) return;
    try {
        m_arrived.push_back({server, document.Date(), std::move(*state)});
    } catch (const feed::FeedError&) {
        // Without its time stamp the map cannot be drawn from it either.
    }
}

void HistoryRecorder::PassEnded(Seconds time, const feed::MessageLines& lines) {
    std::string problem;
    if (Recording() && !m_store->Record(time, m_arrived, lines, problem)) {
        qCWarning(lcHistory, "no more history this run: %s %s", m_store->Path().c_str(), problem.c_str());
        m_recording = false;
    }
    m_arrived.clear();
}

}  // namespace history
