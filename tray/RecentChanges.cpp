#include "tray/RecentChanges.h"

namespace tray {

void RecentChanges::Record(std::chrono::system_clock::time_point time, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    m_passes.push_front({time, lines});
    if (m_passes.size() > kMaxPasses) m_passes.pop_back();
    if (onChanged) onChanged();
}

}  // namespace tray
