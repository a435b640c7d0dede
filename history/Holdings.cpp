// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Holdings.h"

#include "feed/FeedDocument.h"

namespace history {

ServerState holdingsOf(const feed::FeedDocument& document) {
    ServerState state;
    if (!document.isFeed()) return state;
    const auto text = [&document](std::size_t position, const char* name) {
        try {
            return document.attribute(position, name);
        } catch (const feed::FeedError&) {
            return std::string();
        }
    };
    state.reserve(document.entryCount());
    for (std::size_t i = 0; i < document.entryCount(); ++i)
        state.push_back({text(i, "id"), text(i, "realm"), text(i, "guildname")});
    return state;
}

}  // namespace history
