// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

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

// A server's frontier at one moment, by feed position: as many positions as that feed had, which is
// 105 but for a publisher that has just added or dropped structures.
using ServerState = std::vector<Holding>;

// The holdings of a feed document, one per entry; an attribute an entry lacks reads as empty text.
// Nothing for a document that is no feed.
ServerState holdingsOf(const feed::FeedDocument& document);

}  // namespace history
