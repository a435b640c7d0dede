#include "keepmap/Hover.h"

#include <cmath>

#include "feed/KeepNames.h"
#include "platform/Units.h"

namespace keepmap {

std::string hoverText(double x, double y, const KeepHitMap& hitMap, const KeepGuildTable& guilds,
                      const feed::KeepNames& names) {
    // Far-off or undefined positions never reach the rounding, which only fits int-sized values.
    if (!std::isfinite(x) || !std::isfinite(y) || x < -1 || y < -1 || x > KeepHitMap::kSize || y > KeepHitMap::kSize)
        return {};
    const int px = platform::roundEven(x), py = platform::roundEven(y);
    if (!KeepHitMap::contains(px, py)) return {};
    const int value = hitMap.at(px, py);
    if (value == 0) return {};
    const int id = value - 1;
    std::string text = names.keepName(std::to_string(id));
    if (!guilds[id].empty()) text += " (" + guilds[id] + ")";
    return text;
}

}  // namespace keepmap
