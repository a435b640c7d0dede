#pragma once

#include <array>
#include <string>
#include <string_view>

namespace feed {

// The four watched servers. Their order is the order of a refresh pass, of the server list and of
// the message groups; the names go verbatim into feed addresses and saved-copy file names.
inline constexpr std::array<std::string_view, 4> ServerNames = {"Dartmoor", "Logres", "Avalon", "Salisbury"};

// "DM", "LOG", "AVA", "SAL" for the four servers, whatever the capitals; any other name unchanged.
std::string ServerShortCode(std::string_view serverName);

}  // namespace feed
