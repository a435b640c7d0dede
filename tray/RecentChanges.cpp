#include "tray/RecentChanges.h"

namespace tray {

void RecentChanges::record(std::chrono::system_clock::time_point time, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    m_passes.push_front({time, lines});
    if (m_passes.size() > kMaxPasses) m_passes.pop_back();
    emit changed();
}

void RecentChanges::restore(std::vector<PassChanges> passes) {
    for (PassChanges& pass : passes) {
        if (m_passes.size() >= kMaxPasses) break;
        if (!pass.lines.empty()) m_passes.push_back(std::move(pass));
    }
    emit changed();
}

}  // namespace tray
