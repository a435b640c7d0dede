#include "tray/RecentChangesLayout.h"

#include <ctime>

namespace tray {

std::vector<RecentRow> LayOutRecentChanges(const std::deque<PassChanges>& passes) {
    std::vector<RecentRow> rows;
    int top = kRecentMarginTop;
    for (std::size_t p = 0; p < passes.size(); ++p) {
        rows.push_back({RecentRow::Kind::Heading, top, p, 0});
        top += kRecentHeadingHeight;
        for (std::size_t k = 0; k < passes[p].lines.size(); ++k) {
            rows.push_back({RecentRow::Kind::Line, top, p, k});
            top += kRecentLineHeight;
        }
        top += kRecentPassGap;
    }
    return rows;
}

int RecentChangesHeight(const std::deque<PassChanges>& passes) {
    int height = kRecentMarginTop;
    for (const PassChanges& pass : passes) {
        height += kRecentHeadingHeight + kRecentLineHeight * static_cast<int>(pass.lines.size()) + kRecentPassGap;
    }
    return height;
}

std::string RecentHeading(const PassChanges& pass) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(pass.time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char when[32];
    std::strftime(when, sizeof(when), "%d.%m.%Y %H:%M:%S", &local);
    const std::size_t n = pass.lines.size();
    return std::string(when) + " \xe2\x80\x94 " + std::to_string(n) + (n == 1 ? " Meldung" : " Meldungen");
}

}  // namespace tray
