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

// A pass that recorded a server: when, and what the feed said its time was.
struct Moment {
    std::int64_t pass;
    Seconds time;
    std::string date;
};

// The word number of a realm and guild that are not there: before a structure appeared at a feed
// position, or after the feed lost that position.
inline constexpr int kAbsent = -1;

// One feed position whose structure, realm or guild differs from the pass before. Texts are word
// numbers of the store (see Word), so a year of changes stays small in memory.
struct Change {
    Seconds time;
    std::int64_t pass;
    int position;
    int id, oldRealm, newRealm, oldGuild, newGuild;
    // A structure new at this position (the feed grew, or its order changed): no realm before.
    bool Appeared() const { return oldRealm == kAbsent; }
    // The feed lost this position; id names what was there.
    bool Departed() const { return newRealm == kAbsent; }
};

// The war's history in an SQLite file: per pass and server, the feed's time stamp and every structure
// whose holding changed; a server's whole state on its first recording and once a day after. One
// transaction per pass, in WAL mode, so a kill loses at most the pass under way.
class HistoryStore final : public HistoryLog {
public:
    // The whole state is written again after this many recordings of a server.
    static constexpr int kRecordingsPerWholeState = 144;

    // Opens the file, or creates it with mode 0600. Only a regular file of ours (never through a link)
    // with this program's layout or an older one is used; anything else is left as it was and problem
    // says why. steps: the layout to bring the file to (tests name a later one).
    static std::unique_ptr<HistoryStore> Open(const std::string& path, std::string& problem,
                                              const std::vector<SchemaStep>& steps = SchemaSteps());
    ~HistoryStore() override;
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    const std::string& Path() const override { return m_path; }
    bool Record(Seconds time, const std::vector<ArrivedFeed>& feeds, const feed::MessageLines& lines,
                std::string& problem) override;
    std::vector<RecordedLines> RecentLines(std::size_t passes) const override;

    // The passes that recorded the server between from and to (both included), oldest first.
    std::vector<Moment> Moments(int server, Seconds from, Seconds to) const;
    // The last pass that recorded the server at or before the time.
    std::optional<Moment> MomentAt(int server, Seconds time) const;
    // The server's state after the pass, as long as the feed it recorded last by then; nothing when
    // no pass recorded the server by then, or the file cannot rebuild it.
    std::optional<ServerState> StateAt(int server, std::int64_t pass) const;
    // The server's changes in passes between from and to (both included), oldest first.
    std::vector<Change> Changes(int server, Seconds from, Seconds to) const;

    // The text of a word number; empty for a number the file does not know.
    const std::string& Word(int word) const;

    // The last state recorded for the server (what the next recording is compared with).
    const std::optional<ServerState>& LastState(int server) const { return m_last[static_cast<std::size_t>(server)]; }

private:
    HistoryStore(sqlite3* db, std::string path);
    bool Load(std::string& problem);
    int WordNumber(const std::string& text);
    std::string Failure(const char* doing) const;

    sqlite3* m_db;
    std::string m_path;
    std::vector<std::string> m_words;
    std::unordered_map<std::string, int> m_wordNumbers;
    std::vector<std::string> m_newWords;  // added by the pass under way
    std::vector<std::optional<ServerState>> m_last;
    std::vector<int> m_sinceWhole;  // recordings of each server since its last whole state
};

}  // namespace history
