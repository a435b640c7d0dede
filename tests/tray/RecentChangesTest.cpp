#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "tray/RecentChanges.h"
#include "tray/RecentChangesLayout.h"

namespace {

using Clock = std::chrono::system_clock;

Clock::time_point At(int minutes) {
    return Clock::time_point(std::chrono::minutes(minutes));
}

TEST(RecentChanges, KeepsPassesWithChangesNewestFirstAndNoMoreThanFifty) {
    tray::RecentChanges recent;
    int told = 0;
    recent.onChanged = [&told] { ++told; };

    recent.Record(At(0), {});  // a quiet pass leaves no entry
    EXPECT_TRUE(recent.Passes().empty());
    EXPECT_EQ(told, 0);

    for (int pass = 1; pass <= 55; ++pass) {
        recent.Record(At(10 * pass), {"^bDM: pass " + std::to_string(pass), "^bLOG: second line"});
        if (pass % 5 == 0) recent.Record(At(10 * pass + 1), {});
    }
    EXPECT_EQ(told, 55);
    ASSERT_EQ(recent.Passes().size(), 50u);
    EXPECT_EQ(recent.Passes().front().time, At(550));
    EXPECT_EQ(recent.Passes().front().lines.front(), "^bDM: pass 55");
    EXPECT_EQ(recent.Passes().back().time, At(60));  // passes 1 to 5 have gone
    EXPECT_EQ(recent.Passes().back().lines.size(), 2u);
    for (std::size_t k = 1; k < recent.Passes().size(); ++k) {
        EXPECT_GT(recent.Passes()[k - 1].time, recent.Passes()[k].time);
    }
}

TEST(RecentChangesLayout, HeadingsThenLinesInFifteenPixelRows) {
    const std::deque<tray::PassChanges> passes{{At(20), {"a", "b", "c"}}, {At(10), {"d"}}};
    const auto rows = tray::LayOutRecentChanges(passes);
    using Kind = tray::RecentRow::Kind;
    ASSERT_EQ(rows.size(), 6u);
    const int firstLine = tray::kRecentMarginTop + tray::kRecentHeadingHeight;
    EXPECT_EQ(rows[0].kind, Kind::Heading);
    EXPECT_EQ(rows[0].top, tray::kRecentMarginTop);
    EXPECT_EQ(rows[1].top, firstLine);
    EXPECT_EQ(rows[3].top, firstLine + 2 * 15);
    EXPECT_EQ(rows[3].line, 2u);
    EXPECT_EQ(rows[4].kind, Kind::Heading);
    EXPECT_EQ(rows[4].pass, 1u);
    EXPECT_EQ(rows[4].top, firstLine + 3 * 15 + tray::kRecentPassGap);
    EXPECT_EQ(rows[5].top, rows[4].top + tray::kRecentHeadingHeight);
    EXPECT_EQ(tray::RecentChangesHeight(passes), rows[5].top + 15 + tray::kRecentPassGap);
}

TEST(RecentChangesLayout, TheHeadingNamesTheLocalTimeAndTheCount) {
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = 14;
    when.tm_min = 3;
    when.tm_sec = 9;
    when.tm_isdst = -1;
    const auto time = Clock::from_time_t(std::mktime(&when));
    EXPECT_EQ(tray::RecentHeading({time, {"x"}}), "08.12.2026 14:03:09 \xe2\x80\x94 1 Meldung");
    EXPECT_EQ(tray::RecentHeading({time, {"x", "y", "z"}}), "08.12.2026 14:03:09 \xe2\x80\x94 3 Meldungen");
    if (previous) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
