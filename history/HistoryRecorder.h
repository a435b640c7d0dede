// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "history/HistoryLog.h"

namespace feed {
class FeedDocument;
}

namespace history {

// Where the history lives: history.sqlite in the program's private data folder; fails saying what is
// wrong with that folder when it is not safe to use.
base::Result<std::string> historyFilePath();

// Gathers what a pass receives and records it when the pass ends. After a failure (a full disk, a lock
// taken by another program) it logs one line and records nothing more this run; the pass itself never
// notices.
class HistoryRecorder {
public:
    explicit HistoryRecorder(std::unique_ptr<HistoryLog> store) : m_store(std::move(store)) {}

    // A feed document the pass received for a server; one that could not be drawn is not kept.
    void feedArrived(int server, const feed::FeedDocument& document);
    void passEnded(Seconds time, const feed::MessageLines& lines);

    // Null when there is no history this run; still there to be read after recording has stopped.
    const HistoryLog* store() const { return m_store.get(); }
    bool isRecording() const { return m_store && m_recording; }

private:
    std::unique_ptr<HistoryLog> m_store;
    bool m_recording = true;
    std::vector<ArrivedFeed> m_arrived;
};

}  // namespace history
