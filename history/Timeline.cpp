// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Timeline.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "feed/Frontier.h"

namespace history {
namespace {

// What a position counts towards: a realm (or none) and keep or tower.
struct Counted {
    std::optional<feed::Realm> realm;
    bool keep = false;
};

Counted countedAs(const std::string& realm, const std::string& id, std::size_t position) {
    int number = static_cast<int>(position);
    std::from_chars(id.data(), id.data() + id.size(), number);
    return {feed::realmFromName(realm), feed::isKeep(number)};
}

void add(RealmCounts& counts, const Counted& counted, int amount) {
    if (!counted.realm) return;
    auto& row = counted.keep ? counts.keeps : counts.towers;
    row[static_cast<std::size_t>(*counted.realm)] += amount;
}

}  // namespace

RealmCounts countHoldings(const ServerState& state) {
    RealmCounts counts;
    for (std::size_t i = 0; i < state.size(); ++i) add(counts, countedAs(state[i].realm, state[i].id, i), 1);
    return counts;
}

std::vector<TimelinePoint> buildTimeline(const ServerState& start, Seconds startTime,
                                         const std::vector<Change>& changes, const HistoryReader& words,
                                         std::size_t maxPoints) {
    std::vector<Counted> now(start.size());
    for (std::size_t i = 0; i < start.size(); ++i) now[i] = countedAs(start[i].realm, start[i].id, i);
    std::vector<TimelinePoint> timeline{{startTime, countHoldings(start)}};
    RealmCounts counts = timeline.front().counts;
    for (std::size_t c = 0; c < changes.size();) {
        // One point per pass, after all of its changes.
        const std::int64_t pass = changes[c].pass;
        for (; c < changes.size() && changes[c].pass == pass; ++c) {
            const Change& change = changes[c];
            const auto position = static_cast<std::size_t>(change.position);
            if (change.position < 0) continue;
            if (position >= now.size()) now.resize(position + 1);  // the feed grew
            add(counts, now[position], -1);
            now[position] = countedAs(words.word(change.newRealm), words.word(change.id), position);
            add(counts, now[position], 1);
        }
        if (counts != timeline.back().counts) timeline.push_back({changes[c - 1].time, counts});
    }
    if (timeline.size() <= maxPoints || maxPoints < 2) return timeline;
    // Thin out evenly in time, keeping the first and the last point of the stretch.
    const Seconds first = timeline.front().time, span = std::max<Seconds>(1, timeline.back().time - first);
    std::vector<TimelinePoint> thinned{timeline.front()};
    for (std::size_t i = 1; i < timeline.size(); ++i) {
        const auto bucket =
            static_cast<std::size_t>((timeline[i].time - first) * static_cast<Seconds>(maxPoints - 1) / span);
        const auto lastBucket =
            static_cast<std::size_t>((thinned.back().time - first) * static_cast<Seconds>(maxPoints - 1) / span);
        if (bucket == lastBucket && thinned.size() > 1)
            thinned.back() = timeline[i];
        else
            thinned.push_back(timeline[i]);
    }
    return thinned;
}

const TimelinePoint* pointAt(const std::vector<TimelinePoint>& timeline, Seconds time) {
    if (timeline.empty()) return nullptr;
    const auto after = std::upper_bound(timeline.begin(), timeline.end(), time,
                                        [](Seconds t, const TimelinePoint& point) { return t < point.time; });
    return after == timeline.begin() ? &timeline.front() : &*(after - 1);
}

std::vector<TimelinePoint> sampledAt(const std::vector<TimelinePoint>& timeline, const std::vector<Seconds>& times) {
    if (timeline.empty()) return {};
    std::vector<TimelinePoint> sampled{timeline.front()};
    for (const Seconds time : times) {
        if (time > sampled.back().time) sampled.push_back({time, pointAt(timeline, time)->counts});
    }
    return sampled;
}

}  // namespace history
