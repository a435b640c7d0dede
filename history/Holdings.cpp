// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Holdings.h"

#include "feed/FeedDocument.h"

namespace history {

std::optional<ServerState> HoldingsOf(const feed::FeedDocument& document) {
    if (!document.IsFeed()) return std::nullopt;
    ServerState state;
    try {
        for (std::size_t i = 0; i < state.size(); ++i)
            state[i] = {document.Attribute(i, "id"), document.Attribute(i, "realm"),
                        document.Attribute(i, "guildname")};
    } catch (const feed::FeedError&) {
        return std::nullopt;
    }
    return state;
}

}  // namespace history
