#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "platform/Theme.h"
#include "tray/RecentChanges.h"

namespace tray {

// Where the recent-changes window puts things, top to bottom: each pass's heading, then its lines,
// one 15-pixel row each as in the popup, then a gap before the next pass.
struct RecentRow {
    enum class Kind { Heading, Line };
    Kind kind;
    int top;
    std::size_t pass;
    std::size_t line;  // for Kind::Line
};

inline constexpr int kRecentMarginTop = 8;
inline constexpr int kRecentHeadingHeight = 20;
inline constexpr int kRecentLineHeight = theme::kLineHeight;
inline constexpr int kRecentPassGap = 12;

std::vector<RecentRow> layOutRecentChanges(const std::deque<PassChanges>& passes);

int recentRowHeight(const RecentRow& row);

// The height all rows need, margins included.
int recentChangesHeight(const std::deque<PassChanges>& passes);

// The heading of a pass: its local time and how many changes it brought.
std::string recentHeading(const PassChanges& pass);

}  // namespace tray
