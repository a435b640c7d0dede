#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "tests/support/EnvScope.h"
#include "tray/RecentChanges.h"
#include "tray/RecentChangesLayout.h"

namespace {

using Clock = std::chrono::system_clock;

Clock::time_point at(int minutes) {
    return Clock::time_point(std::chrono::minutes(minutes));
}

TEST(RecentChanges, KeepsPassesWithChangesNewestFirstAndNoMoreThanFifty) {
    tray::RecentChanges recent;
    int told = 0;
    QObject::connect(&recent, &tray::RecentChanges::changed, [&told] { ++told; });

    recent.record(at(0), {});  // a quiet pass leaves no entry
    EXPECT_TRUE(recent.passes().empty());
    EXPECT_EQ(told, 0);

    for (int pass = 1; pass <= 55; ++pass) {
        recent.record(at(10 * pass), {"^bDM: pass " + std::to_string(pass), "^bLOG: second line"});
        if (pass % 5 == 0) recent.record(at(10 * pass + 1), {});
    }
    EXPECT_EQ(told, 55);
    ASSERT_EQ(recent.passes().size(), 50u);
    EXPECT_EQ(recent.passes().front().time, at(550));
    EXPECT_EQ(recent.passes().front().lines.front(), "^bDM: pass 55");
    EXPECT_EQ(recent.passes().back().time, at(60));  // passes 1 to 5 have gone
    EXPECT_EQ(recent.passes().back().lines.size(), 2u);
    for (std::size_t k = 1; k < recent.passes().size(); ++k) {
        EXPECT_GT(recent.passes()[k - 1].time, recent.passes()[k].time);
    }
}

TEST(RecentChangesLayout, TheHeadingNamesTheLocalTimeAndTheCount) {
    {  // in a fixed zone, with summer time
        testing_support::EnvScope env;
        env.set("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
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
        EXPECT_EQ(tray::recentHeading({time, {"x"}}), "08.12.2026 14:03:09 \xe2\x80\x94 1 Meldung");
        EXPECT_EQ(tray::recentHeading({time, {"x", "y", "z"}}), "08.12.2026 14:03:09 \xe2\x80\x94 3 Meldungen");
    }
    tzset();  // the zone put back
}

}  // namespace
