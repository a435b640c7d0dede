// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryRecorder.h"

#include "feed/FeedDocument.h"
#include "feed/Frontier.h"
#include "platform/Logging.h"
#include "platform/Paths.h"

namespace history {

base::Result<std::string> HistoryFilePath() {
    const base::Result<std::string> folder = platform::PrivateDataFolder();
    if (!folder) return base::Failure{folder.error()};
    return *folder + "/history.sqlite";
}

void HistoryRecorder::FeedArrived(int server, const feed::FeedDocument& document) {
    if (!Recording()) return;
    const char* name = feed::ServerNames[static_cast<std::size_t>(server)].data();
    if (!document.IsFeed()) {
        qCWarning(lcHistory, "not recorded: what %s sent is no feed: %s", name, document.Problem().c_str());
        return;
    }
    try {
        m_arrived.push_back({server, document.Date(), HoldingsOf(document)});
    } catch (const feed::FeedError& error) {
        // Without its time stamp no moment of it could be found again.
        qCWarning(lcHistory, "not recorded: the feed of %s has no time stamp: %s", name, error.what());
    }
}

void HistoryRecorder::PassEnded(Seconds time, const feed::MessageLines& lines) {
    if (Recording()) {
        if (const base::Status recorded = m_store->Record(time, m_arrived, lines); !recorded) {
            qCWarning(lcHistory, "no more history this run: %s %s", m_store->Path().c_str(), recorded.error().c_str());
            m_recording = false;
        }
    }
    m_arrived.clear();
}

}  // namespace history
