#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QScrollBar>

#include "tests/support/PopupPassRig.h"
#include "tray/RecentChanges.h"
#include "tray/RecentChangesLayout.h"
#include "tray/RecentChangesWindow.h"

namespace {

int CountPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

// Two real passes against the simulator, with the window open between them: it grows with the second.
TEST(RecentChangesWindow, ShowsEveryPassWithChangesAndFollowsNewOnes) {
    testing_support::PopupPassRig rig({"--seed", "21"});
    ASSERT_TRUE(rig.sim.Running());
    auto& pass = rig.pass;
    tray::RecentChanges recent;
    tray::RecentChangesWindow window(recent, WARMAP_DATA_DIR);
    recent.onChanged = [&window] { window.Refresh(); };
    pass.onPassEnded = [&recent](const feed::MessageLines& lines) {
        recent.Record(std::chrono::system_clock::now(), lines);
    };
    window.show();
    const QImage empty = window.View()->grab().toImage();
    EXPECT_EQ(CountPixels(empty, qRgb(255, 0, 0)), 0);

    pass.RefreshKeeps();  // the first pass only saves
    rig.sim.Control("advance");
    pass.RefreshKeeps();
    ASSERT_EQ(recent.Passes().size(), 1u);
    const int oneHeight = window.View()->minimumHeight();
    EXPECT_EQ(oneHeight, tray::RecentChangesHeight(recent.Passes()));

    rig.sim.Control("advance?steps=2");
    pass.RefreshKeeps();
    ASSERT_EQ(recent.Passes().size(), 2u);
    EXPECT_GT(window.View()->minimumHeight(), oneHeight);
    EXPECT_EQ(window.View()->minimumHeight(), tray::RecentChangesHeight(recent.Passes()));
    EXPECT_GE(recent.Passes()[0].time, recent.Passes()[1].time);

    // Drawn as the popup draws: realm colours and the arrow icon's gold.
    const QImage shown = window.View()->grab().toImage();
    EXPECT_GT(
        CountPixels(shown, qRgb(255, 0, 0)) + CountPixels(shown, qRgb(0, 0, 255)) + CountPixels(shown, qRgb(0, 128, 0)),
        100);
    const QString artifacts = QString(WARMAP_BUILD_DIR) + "/e2e-artifacts/tray";
    QDir().mkpath(artifacts);
    window.grab().save(artifacts + "/recent-changes-after-two-passes.png");
}

}  // namespace
