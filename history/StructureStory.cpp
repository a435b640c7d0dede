// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/StructureStory.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace history {
namespace {

std::optional<Holder> holderIn(const ServerState& state, const std::string& id) {
    const auto found = std::find_if(state.begin(), state.end(), [&id](const Holding& h) { return h.id == id; });
    if (found == state.end()) return std::nullopt;
    return Holder{found->realm, found->guild};
}

struct Track {
    std::optional<Holder> current;
    StructureStory story;

    void take(const std::optional<Holder>& now, Seconds time, Seconds from, Seconds to) {
        if (current == now) return;
        if (current) {
            story.holds.back().end = time;
            story.holds.back().running = false;
        }
        if (now) {
            if (current && time >= from) ++story.changes;
            story.holds.push_back({*now, time, to, true, true});
        }
        current = now;
    }
};

// The stories of the structures ids from the server's first recording to `to`, of which from..to is
// kept. rows: the server's changes up to `to`, oldest first, of these structures or more. The change rows
// follow feed positions; where the feed's positions moved (a structure gained, lost or moved), the
// holders are read from the rebuilt state instead, so a structure is followed by its id whatever its
// position.
std::vector<StructureStory> tellStories(const HistoryReader& history, int server, const std::vector<std::string>& ids,
                                        const std::vector<Change>& rows, Seconds from, Seconds to) {
    std::vector<Track> tracks(ids.size());
    const std::optional<Moment> first = history.firstMoment(server);
    if (!first || first->time > to) return std::vector<StructureStory>(ids.size());
    std::unordered_map<std::string, std::size_t> index;
    for (std::size_t i = 0; i < ids.size(); ++i) index.emplace(ids[i], i);
    if (const std::optional<ServerState> start = history.stateAt(server, first->pass)) {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            tracks[i].current = holderIn(*start, ids[i]);
            if (tracks[i].current) tracks[i].story.holds.push_back({*tracks[i].current, first->time, to, false, true});
        }
    }
    const std::vector<Moment> reshaped = history.reshapedAt(server, first->time, to);
    auto nextReshaped = reshaped.begin();
    const auto takeReshaped = [&](std::int64_t beforePass) {
        for (; nextReshaped != reshaped.end() && nextReshaped->pass < beforePass; ++nextReshaped) {
            if (nextReshaped->pass <= first->pass) continue;
            const std::optional<ServerState> state = history.stateAt(server, nextReshaped->pass);
            if (!state) continue;
            for (std::size_t i = 0; i < ids.size(); ++i)
                tracks[i].take(holderIn(*state, ids[i]), nextReshaped->time, from, to);
        }
    };
    for (const Change& row : rows) {
        if (row.pass <= first->pass) continue;
        takeReshaped(row.pass);
        if (nextReshaped != reshaped.end() && nextReshaped->pass == row.pass) continue;  // read from the state
        const auto track = index.find(history.word(row.id));
        if (track == index.end()) continue;
        tracks[track->second].take(Holder{history.word(row.newRealm), history.word(row.newGuild)}, row.time, from, to);
    }
    takeReshaped(std::numeric_limits<std::int64_t>::max());

    std::vector<StructureStory> stories;
    for (Track& track : tracks) {
        std::erase_if(track.story.holds, [from](const Hold& hold) { return !hold.running && hold.end < from; });
        stories.push_back(std::move(track.story));
    }
    return stories;
}

// Feed ids are numbers: 9 before 10.
bool idBefore(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace

const Hold* StructureStory::longest() const {
    const auto found = std::max_element(holds.begin(), holds.end(),
                                        [](const Hold& a, const Hold& b) { return a.length() < b.length(); });
    return found == holds.end() ? nullptr : &*found;
}

StructureStory storyOf(const HistoryReader& history, int server, const std::string& id, Seconds from, Seconds to) {
    return tellStories(history, server, {id}, history.structureChanges(server, id, 0, to), from, to).front();
}

std::vector<ContestedStructure> mostContested(const HistoryReader& history, int server, Seconds from, Seconds to,
                                              std::size_t most) {
    // One reading of the server's changes tells every structure's story.
    const std::vector<Change> rows = history.changes(server, 0, to);
    std::vector<std::string> ids;
    std::unordered_map<int, bool> seen;
    for (const Change& row : rows) {
        if (row.time >= from && !seen[row.id]) {
            seen[row.id] = true;
            ids.push_back(history.word(row.id));
        }
    }
    std::vector<StructureStory> stories = tellStories(history, server, ids, rows, from, to);
    std::vector<ContestedStructure> contested;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (stories[i].changes > 0) contested.push_back({ids[i], std::move(stories[i])});
    }
    std::sort(contested.begin(), contested.end(), [](const ContestedStructure& a, const ContestedStructure& b) {
        if (a.story.changes != b.story.changes) return a.story.changes > b.story.changes;
        return idBefore(a.id, b.id);
    });
    if (contested.size() > most) contested.resize(most);
    return contested;
}

std::optional<Hold> holdAt(const HistoryReader& history, int server, const std::string& id, const Moment& moment) {
    StructureStory story = storyOf(history, server, id, moment.time, moment.time);
    if (story.holds.empty() || !story.holds.back().running) return std::nullopt;
    return story.holds.back();
}

}  // namespace history
