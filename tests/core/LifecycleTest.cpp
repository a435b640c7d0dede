#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPointer>
#include <QTest>

#include "tests/support/PopupPassRig.h"
#include "warmap/MapWindow.h"

namespace {

// Closing the Warmap window leaves the popup and the passes going.
TEST(Lifecycle, PassesGoOnAfterTheWarmapWindowIsClosed) {
    testing_support::PopupPassRig rig({"--seed", "9"});
    ASSERT_TRUE(rig.sim.isRunning());
    auto& [temp, sim, dialogs, popup, sound, presenter, pass] = rig;
    pass.refreshKeeps();

    QPointer<warmap::MapWindow> window = new warmap::MapWindow(WARMAP_DATA_DIR, dialogs);
    window->setAttribute(Qt::WA_DeleteOnClose);
    ASSERT_TRUE(window->load());
    window->show();
    QTest::mouseClick(window->closeButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window.isNull());

    sim.control("advance");
    pass.refreshKeeps();
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0);
    EXPECT_TRUE(popup.endTimer().isActive());
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
