// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace feed {

// The three realms, as the feed names them.
enum class Realm { Albion, Midgard, Hibernia };
inline constexpr std::array<std::string_view, 3> RealmNames = {"Albion", "Midgard", "Hibernia"};

constexpr std::string_view RealmName(Realm realm) {
    return RealmNames[static_cast<std::size_t>(realm)];
}

constexpr std::optional<Realm> RealmFromName(std::string_view name) {
    for (std::size_t i = 0; i < RealmNames.size(); ++i) {
        if (RealmNames[i] == name) return static_cast<Realm>(i);
    }
    return std::nullopt;
}

}  // namespace feed
