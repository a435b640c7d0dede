#pragma once

#include <optional>
#include <string>

#include "keepmap/KeepMap.h"

namespace feed {
class KeepNames;
}

namespace keepmap {

// The id of the structure under map position (x, y); nothing between structures and outside the hit map.
std::optional<int> structureAt(double x, double y, const KeepHitMap& hitMap);

// The hover text for a pointer at map position (x, y): the structure's catalogue name, then its guild
// in brackets when one holds it, marked as the player's when it is myGuild; empty between structures
// and outside the hit map.
std::string hoverText(double x, double y, const KeepHitMap& hitMap, const KeepGuildTable& guilds,
                      const feed::KeepNames& names, const std::string& myGuild = {});

}  // namespace keepmap
