#include <gtest/gtest.h>

#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QScrollBar>

#include "tests/support/PopupPassRig.h"
#include "tray/RecentChanges.h"
#include "tray/RecentChangesLayout.h"
#include "tray/RecentChangesWindow.h"

namespace {

int countPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

// Two real passes against the simulator, with the window open between them: it grows with the second.
TEST(RecentChangesWindow, ShowsEveryPassWithChangesAndFollowsNewOnes) {
    testing_support::PopupPassRig rig({"--seed", "21"});
    ASSERT_TRUE(rig.sim.isRunning());
    auto& pass = rig.pass;
    tray::RecentChanges recent;
    tray::RecentChangesWindow window(recent, WARMAP_DATA_DIR);
    QObject::connect(&recent, &tray::RecentChanges::changed, &window, &tray::RecentChangesWindow::refresh);
    QObject::connect(&pass, &core::RefreshPass::passEnded, [&recent](const feed::MessageLines& lines) {
        recent.record(std::chrono::system_clock::now(), lines);
    });
    window.show();
    const QImage empty = window.view()->grab().toImage();
    EXPECT_EQ(countPixels(empty, qRgb(255, 0, 0)), 0);

    pass.refreshKeeps();  // the first pass only saves
    rig.sim.control("advance");
    pass.refreshKeeps();
    ASSERT_EQ(recent.passes().size(), 1u);
    const int oneHeight = window.view()->minimumHeight();
    EXPECT_EQ(oneHeight, tray::recentChangesHeight(recent.passes()));

    rig.sim.control("advance?steps=2");
    pass.refreshKeeps();
    ASSERT_EQ(recent.passes().size(), 2u);
    EXPECT_GT(window.view()->minimumHeight(), oneHeight);
    EXPECT_EQ(window.view()->minimumHeight(), tray::recentChangesHeight(recent.passes()));
    EXPECT_GE(recent.passes()[0].time, recent.passes()[1].time);

    // Drawn as the popup draws: realm colours and the arrow icon's gold.
    const QImage shown = window.view()->grab().toImage();
    EXPECT_GT(
        countPixels(shown, qRgb(255, 0, 0)) + countPixels(shown, qRgb(0, 0, 255)) + countPixels(shown, qRgb(0, 128, 0)),
        100);
    const QString artifacts = QString(WARMAP_BUILD_DIR) + "/e2e-artifacts/tray";
    QDir().mkpath(artifacts);
    window.grab().save(artifacts + "/recent-changes-after-two-passes.png");
}

// The window carries the program's icon, scrolls only when its content is taller than it, and reads
// as headings and lines.
TEST(RecentChangesWindow, CarriesTheIconScrollsOnlyWhenNeededAndReadsAsText) {
    tray::RecentChanges recent;
    recent.record(std::chrono::system_clock::now(), {"^bDM: ^rAshcombe Beacon^Irechts^gHibernia"});
    tray::RecentChangesWindow window(recent, WARMAP_DATA_DIR);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(window.verticalScrollBar()->isVisible());
    const QRect view = window.view()->geometry();  // centred where the bar would be, not leaving a strip
    EXPECT_EQ(view.left(), window.viewport()->width() - 1 - view.right());

    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.view());
    ASSERT_EQ(face->childCount(), 2);
    EXPECT_EQ(face->child(0)->role(), QAccessible::Heading);
    EXPECT_EQ(face->child(0)->text(QAccessible::Name), QString::fromStdString(tray::recentHeading(recent.passes()[0])));
    EXPECT_EQ(face->child(1)->text(QAccessible::Name), QString::fromUtf8("DM: Ashcombe Beacon \u2192 Hibernia"));

    for (int k = 0; k < 20; ++k) recent.record(std::chrono::system_clock::now(), {"^bA", "^bB", "^bC"});
    window.refresh();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.verticalScrollBar()->isVisible());
    EXPECT_EQ(face->childCount(), 21 * 1 + 20 * 3 + 1);
}

}  // namespace
