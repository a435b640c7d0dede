#pragma once

#include <string>

#include "keepmap/KeepMap.h"

namespace feed {
class KeepNames;
}

namespace keepmap {

// The hover text for a pointer at map position (x, y): the structure's catalogue name, then its guild
// in brackets when one holds it; empty between structures and outside the hit map.
std::string hoverText(double x, double y, const KeepHitMap& hitMap, const KeepGuildTable& guilds,
                      const feed::KeepNames& names);

}  // namespace keepmap
