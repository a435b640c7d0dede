// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Holdings.h"

#include "feed/FeedDocument.h"

namespace history {

ServerState HoldingsOf(const feed::FeedDocument& document) {
    ServerState state;
    if (!document.IsFeed()) return state;
    const auto text = [&document](std::size_t position, const char* name) {
        try {
            return document.Attribute(position, name);
        } catch (const feed::FeedError&) {
            return std::string();
        }
    };
    state.reserve(document.EntryCount());
    for (std::size_t i = 0; i < document.EntryCount(); ++i)
        state.push_back({text(i, "id"), text(i, "realm"), text(i, "guildname")});
    return state;
}

}  // namespace history
