#include "tray/RecentChangesLayout.h"

#include <ctime>

#include "base/Wording.h"

namespace tray {

int recentRowHeight(const RecentRow& row) {
    return row.kind == RecentRow::Kind::Heading ? kRecentHeadingHeight : kRecentLineHeight;
}

std::vector<RecentRow> layOutRecentChanges(const std::deque<PassChanges>& passes) {
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

int recentChangesHeight(const std::deque<PassChanges>& passes) {
    const std::vector<RecentRow> rows = layOutRecentChanges(passes);
    if (rows.empty()) return kRecentMarginTop;
    const RecentRow& last = rows.back();
    return last.top + recentRowHeight(last) + kRecentPassGap;
}

std::string recentHeading(const PassChanges& pass) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(pass.time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char when[32];
    std::strftime(when, sizeof(when), "%d.%m.%Y %H:%M:%S", &local);
    const std::size_t n = pass.lines.size();
    const std::string count =
        n == 1 ? base::translate("tray::RecentChangesLayout", "1 Meldung")
               : base::filled(base::translate("tray::RecentChangesLayout", "%1 Meldungen"), {std::to_string(n)});
    return std::string(when) + " — " + count;
}

}  // namespace tray
