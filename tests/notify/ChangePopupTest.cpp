#include <gtest/gtest.h>

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "notify/ChangePopup.h"

namespace {

// A skin whose three pictures are solid colours, so what covers what shows.
class SplashTest : public ::testing::Test {
protected:
    SplashTest() {
        QDir(m_dir.path()).mkpath("form/splash");
        solid(280, 20, Qt::red).save(m_dir.path() + "/form/splash/top.gif", "png");  // read by content
        solid(100, 30, Qt::green).save(m_dir.path() + "/form/splash/mid.jpg", "bmp");
        solid(280, 25, Qt::blue).save(m_dir.path() + "/form/splash/bottom.jpg", "bmp");
    }
    static QImage solid(int w, int h, Qt::GlobalColor colour) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }
    QTemporaryDir m_dir;
};

TEST_F(SplashTest, StartsInvisibleOnTopWithEndTimerIdle) {
    notify::ChangePopup popup(m_dir.path());
    EXPECT_TRUE(popup.isVisible());
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 0.0);
    EXPECT_TRUE(popup.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(popup.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(popup.focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(popup.endTimer().isActive());
    EXPECT_EQ(popup.endTimer().interval(), 5000);
    EXPECT_EQ(popup.findChild<QTimer*>("EndTimer"), &popup.endTimer());
}

TEST_F(SplashTest, TilesThenBottomThenTopOnALowWindow) {
    notify::ChangePopup popup(m_dir.path());
    popup.setTaskbarOverride(std::optional<platform::TaskbarRect>());
    popup.setHeight(83);  // three lines
    popup.placeNextToTaskbar();
    popup.drawSkin();
    EXPECT_EQ(popup.size(), QSize(280, 83));
    const QImage& s = popup.surface();
    EXPECT_EQ(s.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(s.pixelColor(279, 19), QColor(Qt::red));
    EXPECT_EQ(s.pixelColor(5, 30), QColor(Qt::green));
    EXPECT_EQ(s.pixelColor(5, 83 - 25), QColor(Qt::blue));
    EXPECT_EQ(s.pixelColor(279, 82), QColor(Qt::blue));

    popup.setHeight(30);  // the top picture covers the bottom one
    popup.drawSkin();
    EXPECT_EQ(popup.surface().pixelColor(5, 19), QColor(Qt::red));
    EXPECT_EQ(popup.surface().pixelColor(5, 20), QColor(Qt::blue));
}

// Above the panel; without one in the bottom-right corner, 6 px clear of both edges (never over other
// programs' menus at the top left); beside a panel that fits no edge, where it was.
TEST_F(SplashTest, PlacesClearOfThePanelOrInTheCornerWithoutOne) {
    notify::ChangePopup popup(m_dir.path());
    popup.setScreenOverride(QSize(1920, 1080));
    popup.setTaskbarOverride(platform::TaskbarRect{0, 1040, 1920, 1080});
    popup.setHeight(53);
    popup.placeNextToTaskbar();
    EXPECT_EQ(popup.pos(), QPoint(1634, 981));
    popup.setTaskbarOverride(std::optional<platform::TaskbarRect>());
    popup.setHeight(83);
    popup.placeNextToTaskbar();
    EXPECT_EQ(popup.pos(), QPoint(1920 - 280 - 6, 1080 - 83 - 6));
    EXPECT_EQ(popup.height(), 83);
    popup.setTaskbarOverride(platform::TaskbarRect{10, 10, 500, 500});
    popup.setHeight(53);
    popup.placeNextToTaskbar();
    EXPECT_EQ(popup.pos(), QPoint(1920 - 280 - 6, 1080 - 83 - 6));
}

TEST_F(SplashTest, MissingSkinDrawsNothing) {
    QTemporaryDir empty;
    notify::ChangePopup popup(empty.path());
    popup.setHeight(53);
    popup.drawSkin();
    EXPECT_EQ(popup.surface().pixelColor(10, 10), QColor(Qt::white));
}

// Without its mid picture the skin leaves most of the surface bare: an earlier popup's lines must not
// show through there.
TEST_F(SplashTest, EveryPopupStartsFromACleanSurface) {
    QFile::remove(m_dir.path() + "/form/splash/mid.jpg");
    notify::ChangePopup popup(m_dir.path());
    popup.setHeight(15 * 5 + 38);
    popup.drawSkin();
    const QImage bare = popup.surface();
    for (int k = 0; k < 5; ++k) popup.drawLine(QStringLiteral("^rEarlier line with many words %1").arg(k), k);
    ASSERT_NE(popup.surface(), bare);
    popup.setHeight(15 * 5 + 38);  // the same height: the surface is kept
    popup.drawSkin();
    EXPECT_EQ(popup.surface(), bare);

    // Hidden between notices it keeps no pixels; the next notice draws all of its own again.
    popup.hide();
    EXPECT_TRUE(popup.surface().isNull());
    popup.drawSkin();
    EXPECT_EQ(popup.surface(), bare);
}

TEST_F(SplashTest, ClickFadesOutAndStopsTheEndTimer) {
    notify::ChangePopup popup(m_dir.path());
    popup.setWindowOpacity(1.0);
    popup.endTimer().start(8000);
    QTest::mouseClick(&popup, Qt::LeftButton);
    EXPECT_FALSE(popup.endTimer().isActive());
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 0.0);
}

// A screen reader gets a notification that says nothing until it shows lines, then each line as text.
TEST_F(SplashTest, AssistiveTechnologyReadsTheLinesAsText) {
    notify::ChangePopup popup(m_dir.path());
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&popup);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Notification);
    EXPECT_EQ(face->text(QAccessible::Name), QString());
    EXPECT_TRUE(face->state().invisible);

    popup.setHeight(15 * 2 + 38);
    popup.drawSkin();
    popup.drawLine(QStringLiteral("^bDM: ^rAshcombe Beacon^Irechts^gHibernia"), 0);
    popup.drawLine(QStringLiteral("^bSAL: ^gDunmarrow Lookout^Irechts^dMidgard"), 1);
    EXPECT_EQ(face->text(QAccessible::Name), "Warmap Frontbericht");
    EXPECT_FALSE(face->state().invisible);
    ASSERT_EQ(face->childCount(), 2);
    EXPECT_EQ(face->child(0)->text(QAccessible::Name), QString::fromUtf8("DM: Ashcombe Beacon \u2192 Hibernia"));
    EXPECT_EQ(face->child(1)->text(QAccessible::Name), QString::fromUtf8("SAL: Dunmarrow Lookout \u2192 Midgard"));
    EXPECT_EQ(face->child(1)->role(), QAccessible::StaticText);

    popup.drawSkin();  // the next popup never reads out this one's lines
    EXPECT_EQ(face->childCount(), 0);
}

}  // namespace
