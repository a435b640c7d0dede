// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "feed/CompareKeeps.h"
#include "history/HistoryReader.h"
#include "history/Holdings.h"
#include "tray/RecentChanges.h"

namespace history {

// A server's feed as one pass received it.
struct ArrivedFeed {
    int server;        // index into kServerNames
    std::string date;  // the feed's own time stamp
    ServerState state;
};

// The lines a pass announced, for "Letzte Meldungen".
struct RecordedLines {
    Seconds time;
    feed::MessageLines lines;
};

// What a pass writes to the history and "Letzte Meldungen" and the history window read back. The
// program reaches the SQLite store only through this, so SQLite is loaded with the store's plugin after
// the first frame.
class HistoryLog : public HistoryReader {
public:
    // The lines of as many passes as "Letzte Meldungen" shows are kept; older ones can be told again
    // from the changes.
    static constexpr std::size_t kPassesWithLinesKept = tray::RecentChanges::kMaxPasses;

    virtual const std::string& path() const = 0;
    // Records one pass in one transaction. On failure nothing of it is kept, and the failure says why.
    virtual base::Status record(Seconds time, const std::vector<ArrivedFeed>& feeds,
                                const feed::MessageLines& lines) = 0;
    // The lines of the last passes that announced any (at most kPassesWithLinesKept), newest first.
    virtual std::vector<RecordedLines> recentLines(std::size_t passes) const = 0;
};

}  // namespace history
