#include "feed/Frontier.h"

#include <algorithm>
#include <cctype>

namespace feed {

std::string ServerShortCode(std::string_view serverName) {
    std::string upper(serverName);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static constexpr std::pair<std::string_view, std::string_view> kCodes[] = {
        {"DARTMOOR", "DM"}, {"LOGRES", "LOG"}, {"AVALON", "AVA"}, {"SALISBURY", "SAL"}};
    for (const auto& [name, code] : kCodes) {
        if (upper == name) return std::string(code);
    }
    return std::string(serverName);
}

std::string RealmColourCode(std::string_view realm) {
    if (realm == RealmName(Realm::Albion)) return "^r";
    if (realm == RealmName(Realm::Midgard)) return "^d";
    if (realm == RealmName(Realm::Hibernia)) return "^g";
    if (realm == "0") return "^b";
    return {};
}

}  // namespace feed
