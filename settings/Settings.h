// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string_view>

#include "feed/Frontier.h"
#include "platform/Language.h"

namespace settings {

// What the player can set. The defaults are the program's behaviour without a configuration file.
struct Settings {
    QString feedBase;  // empty: not set, the next source in line decides
    feed::ServerFlags notifyServer = feed::kEveryServer;
    std::optional<feed::Realm> onlyRealm;  // only lines where this realm lost or won
    QString guild;                         // the player's guild, exactly as the feed writes it; empty: none
    bool onlyGuild = false;                // only lines where that guild held the structure before or after
    bool sound = true;
    // German, the program's own language, unless the player chose another.
    platform::LanguageChoice language = platform::LanguageChoice::German;

    bool operator==(const Settings&) const = default;
};

}  // namespace settings
