// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "feed/CompareKeeps.h"
#include "feed/Frontier.h"

namespace core {

// Which change lines the player wants to be told of (popup and sound); all of them by default. Every
// condition set must hold.
struct NoticeFilter {
    feed::ServerFlags servers = feed::kEveryServer;
    std::optional<feed::Realm> realm;  // only lines where this realm lost or won the structure
    std::optional<std::string> guild;  // only lines where this guild held the structure before or after

    bool wants(std::size_t server, const feed::RealmChange& change) const {
        if (server < servers.size() && !servers[server]) return false;
        if (realm && feed::realmName(*realm) != change.oldRealm && feed::realmName(*realm) != change.newRealm)
            return false;
        return !guild || *guild == change.oldGuild || *guild == change.newGuild;
    }
};

}  // namespace core
