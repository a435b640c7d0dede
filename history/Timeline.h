// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "history/HistoryReader.h"

namespace history {

// How many keeps and towers each realm holds, indexed by feed::Realm.
struct RealmCounts {
    std::array<int, 3> keeps{};
    std::array<int, 3> towers{};
    bool operator==(const RealmCounts&) const = default;
};

struct TimelinePoint {
    Seconds time;
    RealmCounts counts;
};

// The counts of a state; structures of a realm the feed does not know are not counted.
RealmCounts countHoldings(const ServerState& state);

// The counts from a starting state on, one point at the start and one after every pass that changed a
// realm, at most maxPoints (later points of a crowded stretch win). changes are those after the
// starting moment, oldest first, with words of the store.
std::vector<TimelinePoint> buildTimeline(const ServerState& start, Seconds startTime,
                                         const std::vector<Change>& changes, const HistoryReader& words,
                                         std::size_t maxPoints);

// The last point at or before the time; the first point when the time lies before all of them.
const TimelinePoint* pointAt(const std::vector<TimelinePoint>& timeline, Seconds time);

// The first point, then the counts as they stood at each of the times (ascending, after it): a long
// stretch drawn one step per whole period instead of one per pass, whose steps would tangle.
std::vector<TimelinePoint> sampledAt(const std::vector<TimelinePoint>& timeline, const std::vector<Seconds>& times);

}  // namespace history
