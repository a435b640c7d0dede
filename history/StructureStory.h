// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "history/HistoryReader.h"

namespace history {

// Who holds a structure.
struct Holder {
    std::string realm;
    std::string guild;  // empty when no guild holds it
    bool operator==(const Holder&) const = default;
};

// A stretch of time a structure had one holder.
struct Hold {
    Holder holder;
    Seconds start;    // when it began; for one held since the first recording, that recording's time
    Seconds end;      // when it ended; for one still running, the end of the stretch asked about
    bool startKnown;  // false: held since the history began, so at least this long
    bool running;
    Seconds length() const { return end - start; }
    bool operator==(const Hold&) const = default;
};

// A structure's holders over a stretch of time.
struct StructureStory {
    std::vector<Hold> holds;  // oldest first; the first may have begun before the stretch
    int changes = 0;          // changes of holder within the stretch
    // The longest hold (the earliest of equals); null without any.
    const Hold* longest() const;
};

// The story of the structure with this feed id on a server from..to (both included): every hold that
// ran then, with its true start even when that lies before from.
StructureStory storyOf(const HistoryReader& history, int server, const std::string& id, Seconds from, Seconds to);

struct ContestedStructure {
    std::string id;
    StructureStory story;
};
// The structures that changed holder most often from..to, at most most of them and none that did not
// change: most changes first, then by feed id.
std::vector<ContestedStructure> mostContested(const HistoryReader& history, int server, Seconds from, Seconds to,
                                              std::size_t most);

// Who held the structure after the pass, since when; nothing when it was not in that feed.
std::optional<Hold> holdAt(const HistoryReader& history, int server, const std::string& id, const Moment& moment);

}  // namespace history
