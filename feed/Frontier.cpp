#include "feed/Frontier.h"

#include <algorithm>
#include <cctype>

namespace feed {

std::string serverShortCode(std::string_view serverName) {
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

std::string realmColourCode(std::string_view realm) {
    if (realm == realmName(Realm::Albion)) return "^r";
    if (realm == realmName(Realm::Midgard)) return "^d";
    if (realm == realmName(Realm::Hibernia)) return "^g";
    if (realm == "0") return "^b";
    return {};
}

}  // namespace feed
