#include "keepmap/Hover.h"

#include <cmath>

#include "base/Wording.h"
#include "feed/KeepNames.h"
#include "platform/Units.h"

namespace keepmap {

std::optional<int> structureAt(double x, double y, const KeepHitMap& hitMap) {
    // Far-off or undefined positions never reach the rounding, which only fits int-sized values.
    if (!std::isfinite(x) || !std::isfinite(y) || x < -1 || y < -1 || x > KeepHitMap::kSize || y > KeepHitMap::kSize)
        return std::nullopt;
    const int px = platform::roundEven(x), py = platform::roundEven(y);
    if (!KeepHitMap::contains(px, py)) return std::nullopt;
    const int value = hitMap.at(px, py);
    if (value == 0) return std::nullopt;
    return value - 1;
}

std::string hoverText(double x, double y, const KeepHitMap& hitMap, const KeepGuildTable& guilds,
                      const feed::KeepNames& names, const std::string& myGuild) {
    const std::optional<int> at = structureAt(x, y, hitMap);
    if (!at) return {};
    const int id = *at;
    std::string text = names.keepName(std::to_string(id));
    if (!guilds[id].empty()) text += " (" + guilds[id] + ")";
    if (!myGuild.empty() && guilds[id] == myGuild) text += base::translate("keepmap::Hover", " — meine Gilde");
    return text;
}

}  // namespace keepmap
