#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPointer>
#include <QTest>

#include "core/PopupPresenter.h"
#include "core/RefreshPass.h"
#include "notify/AlertSound.h"
#include "notify/SplashFrm.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"
#include "warmap/WarmapFRM.h"

namespace {

// Closing the Warmap window leaves the popup and the passes going.
TEST(Lifecycle, PassesGoOnAfterTheWarmapWindowIsClosed) {
    testing_support::TempFolderScope temp;
    testing_support::FeedSimProcess sim({"--seed", "9"});
    ASSERT_TRUE(sim.Running());
    testing_support::RecordingDialogs dialogs;
    notify::SplashFrm popup(WARMAP_DATA_DIR);
    notify::AlertSound sound;
    core::PopupPresenter presenter(popup, sound);
    core::RefreshPass pass({sim.Base(), WARMAP_DATA_DIR, {}}, dialogs, presenter);
    pass.RefreshKeeps();

    QPointer<warmap::WarmapFRM> window = new warmap::WarmapFRM(WARMAP_DATA_DIR, dialogs);
    window->setAttribute(Qt::WA_DeleteOnClose);
    ASSERT_EQ(window->Load(), std::nullopt);
    window->show();
    QTest::mouseClick(window->SysBut(0), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window.isNull());

    sim.Control("advance");
    pass.RefreshKeeps();
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0);
    EXPECT_TRUE(popup.EndTimer().isActive());
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
