// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/Holdings.h"

namespace history {

// Seconds since the epoch, as passes are timed.
using Seconds = std::int64_t;

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
    bool hasAppeared() const { return oldRealm == kAbsent; }
    // The feed lost this position; id names what was there.
    bool hasDeparted() const { return newRealm == kAbsent; }
};

// What the history window reads of the history. It reaches the store only through this, so it carries
// no store code of its own and needs no SQLite.
class HistoryReader {
public:
    virtual ~HistoryReader() = default;
    // The passes that recorded the server between from and to (both included), oldest first.
    virtual std::vector<Moment> moments(int server, Seconds from, Seconds to) const = 0;
    // The server's first recorded pass.
    virtual std::optional<Moment> firstMoment(int server) const = 0;
    // The last pass that recorded the server at or before the time.
    virtual std::optional<Moment> momentAt(int server, Seconds time) const = 0;
    // The server's state after the pass, as long as the feed it recorded last by then; nothing when
    // no pass recorded the server by then, or the file cannot rebuild it.
    virtual std::optional<ServerState> stateAt(int server, std::int64_t pass) const = 0;
    // The server's changes in passes between from and to (both included), oldest first.
    virtual std::vector<Change> changes(int server, Seconds from, Seconds to) const = 0;
    // The changes at any position that concern the structure with this feed id, in passes between from
    // and to (both included), oldest first; within a pass, losing it before gaining it.
    virtual std::vector<Change> structureChanges(int server, const std::string& id, Seconds from, Seconds to) const = 0;
    // The passes between from and to (both included) in which the server's feed gained or lost
    // positions or had other structures at them, oldest first; their dates are left empty.
    virtual std::vector<Moment> reshapedAt(int server, Seconds from, Seconds to) const = 0;
    // Every guild name the history has seen holding a structure, in no order.
    virtual std::vector<std::string> guildNames() const = 0;
    // The text of a word number; empty for a number the file does not know.
    virtual const std::string& word(int word) const = 0;
};

}  // namespace history
