// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryRecorder.h"

#include "feed/FeedDocument.h"
#include "feed/Frontier.h"
#include "platform/Logging.h"
#include "platform/Paths.h"

namespace history {

base::Result<std::string> historyFilePath() {
    const base::Result<std::string> folder = platform::privateDataFolder();
    if (!folder) return base::Failure{folder.error()};
    return *folder + "/history.sqlite";
}

void HistoryRecorder::feedArrived(int server, const feed::FeedDocument& document) {
    if (!isRecording()) return;
    const char* name = feed::kServerNames[static_cast<std::size_t>(server)].data();
    if (!document.isFeed()) {
        qCWarning(lcHistory, "not recorded: what %s sent is no feed: %s", name, document.problem().c_str());
        return;
    }
    try {
        m_arrived.push_back({server, document.date(), holdingsOf(document)});
    } catch (const feed::FeedError& error) {
        // Without its time stamp no moment of it could be found again.
        qCWarning(lcHistory, "not recorded: the feed of %s has no time stamp: %s", name, error.what());
    }
}

void HistoryRecorder::passEnded(Seconds time, const feed::MessageLines& lines) {
    if (isRecording()) {
        if (const base::Status recorded = m_store->record(time, m_arrived, lines); !recorded) {
            qCWarning(lcHistory, "no more history this run: %s %s", m_store->path().c_str(), recorded.error().c_str());
            m_recording = false;
        }
    }
    m_arrived.clear();
}

}  // namespace history
