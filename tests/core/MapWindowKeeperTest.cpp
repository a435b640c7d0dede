#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "core/MapWindowKeeper.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::FeedBuilder;

void closeWithItsButton(warmap::MapWindow* window) {
    QTest::mouseClick(window->closeButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// "Karte zeigen" after the window was closed: a new window, loaded as at start-up.
TEST(MapWindowKeeper, ShowingAfterCloseCreatesAndLoadsTheWindowAgain) {
    testing_support::TempFolderScope temp;
    testing_support::writeFile(temp.path() + "Dartmoor_lastkeeps.xml", FeedBuilder().date("08.12.2026 10:00:00").xml());
    testing_support::RecordingDialogs dialogs;
    core::MapWindowKeeper keeper(WARMAP_DATA_DIR, dialogs);
    ASSERT_TRUE(keeper.open([] { return warmap::loadSkin(WARMAP_DATA_DIR); }));
    ASSERT_NE(keeper.window(), nullptr);
    EXPECT_TRUE(keeper.window()->isVisible());

    closeWithItsButton(keeper.window());
    EXPECT_EQ(keeper.window(), nullptr);

    testing_support::writeFile(temp.path() + "Dartmoor_lastkeeps.xml", FeedBuilder().date("08.12.2026 10:10:00").xml());
    keeper.showMapWindow();
    ASSERT_NE(keeper.window(), nullptr);
    EXPECT_TRUE(keeper.window()->isVisible());
    EXPECT_EQ(keeper.window()->dateLabel()->text(), "08.12.2026 10:10:00");  // the load step ran again
    EXPECT_TRUE(dialogs.shown.empty());

    // Minimised, it comes back restored; there is still one window.
    warmap::MapWindow* window = keeper.window();
    window->showMinimized();
    keeper.showMapWindow();
    EXPECT_EQ(keeper.window(), window);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    closeWithItsButton(window);
}

TEST(MapWindowKeeper, AFileGoneSinceStartIsReportedAndTheProgramGoesOn) {
    testing_support::TempFolderScope temp;
    QTemporaryDir program;
    ASSERT_TRUE(testing_support::copyDataFolder(program.path(), QStringLiteral("form")));
    testing_support::RecordingDialogs dialogs;
    core::MapWindowKeeper keeper(program.path(), dialogs);
    ASSERT_TRUE(keeper.open([&program] { return warmap::loadSkin(program.path()); }));
    dialogs.shown.clear();
    closeWithItsButton(keeper.window());

    QFile::remove(program.path() + "/form/warmap.jpg");
    keeper.showMapWindow();
    EXPECT_EQ(keeper.window(), nullptr);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              "Datei fehlt oder ist nicht lesbar: " + program.path().toStdString() + "/form/warmap.jpg");
    EXPECT_EQ(dialogs.shown[0].caption, "Warmap");
}

// A second start asking while the first run's "no data yet" box waits: one window, once it is answered.
TEST(MapWindowKeeper, ARequestDuringTheLoadStepBringsNoSecondWindow) {
    testing_support::TempFolderScope temp;  // no saved copy: the load step says so in a box
    struct AskingDialogs final : platform::Dialogs {
        core::MapWindowKeeper* keeper = nullptr;
        int shown = 0;
        void show(const platform::Message&) override {
            ++shown;
            keeper->showMapWindow();
        }
    } dialogs;
    core::MapWindowKeeper keeper(WARMAP_DATA_DIR, dialogs);
    dialogs.keeper = &keeper;
    ASSERT_TRUE(keeper.open([] { return warmap::loadSkin(WARMAP_DATA_DIR); }));
    EXPECT_EQ(dialogs.shown, 1);
    ASSERT_NE(keeper.window(), nullptr);
    const auto windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                            [](QWidget* w) { return qobject_cast<warmap::MapWindow*>(w) != nullptr; }),
              1);
    closeWithItsButton(keeper.window());
}

}  // namespace
