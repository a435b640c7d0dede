#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "core/RefreshTimer.h"

namespace {

TEST(RefreshTimer, FirstDelayInSecondsThenTenMinutesAfterEachPass) {
    QObject owner;
    int passes = 0;
    bool armedDuringPass = true;
    core::RefreshTimer* timer = nullptr;
    timer = new core::RefreshTimer(&owner, [&] {
        ++passes;
        armedDuringPass = timer->Timer().isActive();
    });
    timer->StartRefreshTimer(3);
    EXPECT_TRUE(timer->Timer().isActive());
    EXPECT_EQ(timer->Timer().interval(), 3000);
    EXPECT_TRUE(timer->Timer().isSingleShot());

    timer->RefreshTimerProc();
    EXPECT_EQ(passes, 1);
    EXPECT_FALSE(armedDuringPass);
    EXPECT_TRUE(timer->Timer().isActive());
    EXPECT_EQ(timer->Timer().interval(), 600000);
}

TEST(RefreshTimer, StartingAgainReplacesTheArmedTimer) {
    QObject owner;
    int passes = 0;
    core::RefreshTimer timer(&owner, [&] { ++passes; });
    timer.StartRefreshTimer(3);
    timer.StartRefreshTimer(0);
    EXPECT_EQ(timer.Timer().interval(), 0);
    QElapsedTimer clock;
    clock.start();
    while (passes == 0 && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // One tick ran the pass; the replaced 3 s timer is gone, so the next one waits ten minutes.
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(timer.Timer().interval(), 600000);
}

}  // namespace
