#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "tests/support/EnvScope.h"
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

TEST(RecentChangesLayout, TheHeadingNamesTheLocalTimeAndTheCount) {
    {  // in a fixed zone, with summer time
        testing_support::EnvScope env;
        env.Set("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
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
    }
    tzset();  // the zone put back
}

}  // namespace
