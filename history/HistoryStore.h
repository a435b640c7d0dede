// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "feed/CompareKeeps.h"
#include "history/HistoryLog.h"
#include "history/Schema.h"

struct sqlite3;

namespace history {

// The war's history in an SQLite file: per pass and server, the feed's time stamp and every structure
// whose holding changed; a server's whole state on its first recording and once a day after. One
// transaction per pass, in WAL mode, so a kill loses at most the pass under way.
class HistoryStore final : public HistoryLog {
public:
    // The whole state is written again after this many recordings of a server.
    static constexpr int kRecordingsPerWholeState = 144;

    // Opens the file, or creates it with mode 0600. Only a regular file of ours (never through a link)
    // with this program's layout or an older one is used; anything else is left as it was, and the
    // failure says why. steps: the layout to bring the file to (tests name a later one).
    static base::Result<std::unique_ptr<HistoryStore>> open(const std::string& path,
                                                            const std::vector<SchemaStep>& steps = schemaSteps());
    ~HistoryStore() override;
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    const std::string& path() const override { return m_path; }
    base::Status record(Seconds time, const std::vector<ArrivedFeed>& feeds, const feed::MessageLines& lines) override;
    std::vector<RecordedLines> recentLines(std::size_t passes) const override;

    std::vector<Moment> moments(int server, Seconds from, Seconds to) const override;
    std::optional<Moment> firstMoment(int server) const override;
    std::optional<Moment> momentAt(int server, Seconds time) const override;
    std::optional<ServerState> stateAt(int server, std::int64_t pass) const override;
    std::vector<Change> changes(int server, Seconds from, Seconds to) const override;
    std::vector<Change> structureChanges(int server, const std::string& id, Seconds from, Seconds to) const override;
    std::vector<Moment> reshapedAt(int server, Seconds from, Seconds to) const override;
    std::vector<std::string> guildNames() const override;
    const std::string& word(int word) const override;

    // The last state recorded for the server (what the next recording is compared with).
    const std::optional<ServerState>& lastState(int server) const { return m_last[static_cast<std::size_t>(server)]; }

private:
    HistoryStore(sqlite3* db, std::string path);
    base::Status load();
    int wordNumber(const std::string& text);
    std::string describeFailure(const char* doing) const;

    sqlite3* m_db;
    std::string m_path;
    std::vector<std::string> m_words;
    std::unordered_map<std::string, int> m_wordNumbers;
    std::vector<std::string> m_newWords;  // added by the pass under way
    std::vector<std::optional<ServerState>> m_last;
    std::vector<int> m_sinceWhole;  // recordings of each server since its last whole state
};

}  // namespace history
