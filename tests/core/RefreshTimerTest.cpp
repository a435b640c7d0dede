#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <string>
#include <vector>

#include "core/RefreshTimer.h"

namespace {

TEST(RefreshTimer, FirstDelayInSecondsThenTenMinutesAfterEachPass) {
    QObject owner;
    int passes = 0;
    bool armedDuringPass = true;
    core::RefreshTimer* timer = nullptr;
    timer = new core::RefreshTimer(&owner, [&] {
        ++passes;
        armedDuringPass = timer->timer().isActive();
    });
    timer->startRefreshTimer(std::chrono::seconds(3));
    EXPECT_TRUE(timer->timer().isActive());
    EXPECT_EQ(timer->timer().interval(), 3000);
    EXPECT_TRUE(timer->timer().isSingleShot());

    timer->refreshTimerProc();
    EXPECT_EQ(passes, 1);
    EXPECT_FALSE(armedDuringPass);
    EXPECT_TRUE(timer->timer().isActive());
    EXPECT_EQ(timer->timer().interval(), 600000);
}

TEST(RefreshTimer, StartingAgainReplacesTheArmedTimer) {
    QObject owner;
    int passes = 0;
    core::RefreshTimer timer(&owner, [&] { ++passes; });
    timer.startRefreshTimer(std::chrono::seconds(3));
    timer.startRefreshTimer(std::chrono::seconds(0));
    EXPECT_EQ(timer.timer().interval(), 0);
    QElapsedTimer clock;
    clock.start();
    while (passes == 0 && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // One tick ran the pass; the replaced 3 s timer is gone, so the next one waits ten minutes.
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(timer.timer().interval(), 600000);
}

// Ending the program: no pass starts any more, and one under way finishes before the end comes.
TEST(RefreshTimer, FinishWaitsForARunningPassAndArmsNothing) {
    QObject owner;
    core::RefreshTimer* timer = nullptr;
    std::vector<std::string> events;
    timer = new core::RefreshTimer(&owner, [&] {
        events.push_back("pass begins");
        timer->finish([&] { events.push_back("end"); });  // chosen from the menu during a download
        events.push_back("pass ends");
    });
    timer->startRefreshTimer(std::chrono::seconds(3));
    timer->refreshTimerProc();
    EXPECT_EQ(events, (std::vector<std::string>{"pass begins", "pass ends", "end"}));
    EXPECT_FALSE(timer->timer().isActive());

    timer->startRefreshTimer(std::chrono::seconds(3));
    EXPECT_FALSE(timer->timer().isActive());
    timer->refreshTimerProc();
    EXPECT_EQ(events.size(), 3u);
}

TEST(RefreshTimer, FinishBetweenPassesEndsAtOnce) {
    QObject owner;
    int passes = 0;
    bool ended = false;
    core::RefreshTimer timer(&owner, [&] { ++passes; });
    timer.startRefreshTimer(std::chrono::seconds(0));
    timer.finish([&] { ended = true; });
    EXPECT_TRUE(ended);
    EXPECT_FALSE(timer.timer().isActive());
    QCoreApplication::processEvents();
    EXPECT_EQ(passes, 0);
}

}  // namespace
