#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What the frontier is made of, as the feed names it: the four watched servers, the three realms and
// the 105 structures. The one home of each.
namespace feed {

// The four watched servers. Their order is the order of a refresh pass, of the server list and of
// the message groups; the names go verbatim into feed addresses and saved-copy file names.
inline constexpr std::array<std::string_view, 4> kServerNames = {"Dartmoor", "Logres", "Avalon", "Salisbury"};

// One flag per server, by kServerNames.
using ServerFlags = std::array<bool, kServerNames.size()>;
// Every server: what the player is told of until the settings say otherwise.
inline constexpr ServerFlags kEveryServer = [] {
    ServerFlags every{};
    every.fill(true);
    return every;
}();

// "DM", "LOG", "AVA", "SAL" for the four servers, whatever the capitals; any other name unchanged.
std::string serverShortCode(std::string_view serverName);

// The three realms, as the feed names them.
enum class Realm { Albion, Midgard, Hibernia };
inline constexpr std::array<std::string_view, 3> kRealmNames = {"Albion", "Midgard", "Hibernia"};

constexpr std::string_view realmName(Realm realm) {
    return kRealmNames[static_cast<std::size_t>(realm)];
}

constexpr std::optional<Realm> realmFromName(std::string_view name) {
    for (std::size_t i = 0; i < kRealmNames.size(); ++i) {
        if (kRealmNames[i] == name) return static_cast<Realm>(i);
    }
    return std::nullopt;
}

// Colour code of a realm: "^r" Albion, "^d" Midgard, "^g" Hibernia, "^b" for "0", else empty text.
std::string realmColourCode(std::string_view realm);

// The structures: ids 0 to kStructures - 1, as many as a feed has positions. Id 5g is the keep of
// group g, 5g+1 to 5g+4 its towers.
inline constexpr int kStructures = 105;

constexpr bool isKeep(int id) {
    return id % 5 == 0;
}

}  // namespace feed
