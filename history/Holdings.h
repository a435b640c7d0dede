// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "feed/CompareKeeps.h"

namespace feed {
class FeedDocument;
}

namespace history {

// What the feed says of the structure at one position, as its text: the history keeps exactly what
// the map is drawn from.
struct Holding {
    std::string id;
    std::string realm;
    std::string guild;
    bool operator==(const Holding&) const = default;
};

// A server's frontier at one moment, by feed position.
using ServerState = std::array<Holding, feed::kFeedEntries>;

// The holdings of a feed; nothing when the document is no feed or an entry lacks an attribute (the
// map could not be drawn from it either).
std::optional<ServerState> HoldingsOf(const feed::FeedDocument& document);

}  // namespace history
