// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "feed/Frontier.h"

namespace core {

// Which change lines the player wants to be told of (popup and sound); all of them by default.
struct NoticeFilter {
    feed::ServerFlags servers = feed::kEveryServer;
    std::optional<feed::Realm> realm;  // only lines where this realm lost or won the structure

    bool wants(std::size_t server, std::string_view oldRealm, std::string_view newRealm) const {
        if (server < servers.size() && !servers[server]) return false;
        return !realm || feed::realmName(*realm) == oldRealm || feed::realmName(*realm) == newRealm;
    }
};

}  // namespace core
