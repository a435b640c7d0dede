#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include "keepmap/KeepPos.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"
#include "warmap/MapView.h"
#include "warmap/MapWindow.h"
#include "warmap/Skin.h"

namespace {

using testing_support::FeedBuilder;

class MapWindowTest : public ::testing::Test {
protected:
    void saveFeed(const std::string& server, const FeedBuilder& feed) {
        testing_support::writeFile(m_temp.path() + server + "_lastkeeps.xml", feed.xml());
    }
    testing_support::TempFolderScope m_temp;
    testing_support::RecordingDialogs m_dialogs;
};

TEST_F(MapWindowTest, LoadBuildsTheControlsAndDrawsDartmoor) {
    saveFeed("Dartmoor", FeedBuilder().date("07.12.2026 21:40:00"));
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    EXPECT_EQ(window.windowTitle(), ".:: Warmap");
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.size(), QSize(468, 608));
    EXPECT_EQ(window.mapView()->geometry(), QRect(10, 24, 448, 560));

    auto* combo = window.findChild<QComboBox*>("ServerCombo");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->parent(), window.mapView());
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(0), "Dartmoor");
    EXPECT_EQ(combo->itemText(3), "Salisbury");
    EXPECT_EQ(combo->currentText(), "Dartmoor");
    EXPECT_FALSE(combo->isEditable());
    EXPECT_TRUE(combo->font().bold() && combo->font().italic());
    EXPECT_TRUE(combo->styleSheet().contains("rgb(186, 182, 146)"));

    auto* date = window.findChild<QLabel*>("DateLabel");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->text(), "07.12.2026 21:40:00");
    EXPECT_EQ(date->toolTip(), "ORSKA-Zeitstempel");
    // Its text is drawn in the skin's ink: the darkest pixel drawn is ink-brown, not black.
    const QImage drawn = date->grab().toImage();
    QColor darkest = Qt::white;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixelColor(x, y).lightness() < darkest.lightness()) darkest = drawn.pixelColor(x, y);
    EXPECT_LT(std::abs(darkest.red() - 70) + std::abs(darkest.green() - 48) + std::abs(darkest.blue() - 26), 60)
        << darkest.name().toStdString();
    EXPECT_EQ(window.findChild<QLabel*>("HoverLabel")->geometry(), QRect(10, 165, 89, 49));

    ASSERT_EQ(window.findChildren<QAbstractButton*>().size(), 2);
    EXPECT_EQ(window.findChild<QAbstractButton*>("CloseButton"), window.closeButton());
    EXPECT_EQ(window.findChild<QAbstractButton*>("MinimizeButton"), window.minimizeButton());
    EXPECT_EQ(window.closeButton()->toolTip(), "schliessen");
    EXPECT_EQ(window.minimizeButton()->toolTip(), "minimieren");
    EXPECT_EQ(window.closeButton()->geometry(), QRect(392, 2, 17, 17));
    EXPECT_TRUE(m_dialogs.shown.empty());
    // Keep 0 of Dartmoor is drawn: the map differs from its background there.
    const auto skin = warmap::loadSkin(WARMAP_DATA_DIR);
    ASSERT_TRUE(skin);
    EXPECT_NE(window.mapView()->surface().pixelColor(387, 160), skin->mapBackground.pixelColor(387, 160));
}

// Between drawings the window keeps the map picture as its file holds it; decoded again it is the
// skin's background to the pixel at either size, so every later drawing equals the first.
TEST_F(MapWindowTest, ARedrawFromTheKeptPictureEqualsTheFirstDrawing) {
    for (const double ratio : {1.0, 2.0}) {
        const auto skin = warmap::loadSkin(WARMAP_DATA_DIR, ratio);
        ASSERT_TRUE(skin);
        const QImage again = skin->mapPicture.decode();
        EXPECT_EQ(again, skin->mapBackground) << ratio;
        EXPECT_EQ(again.devicePixelRatio(), skin->mapBackground.devicePixelRatio()) << ratio;
    }
    saveFeed("Dartmoor", FeedBuilder().realm(0, "Midgard").guild(0, "").realm(6, "Hibernia"));
    saveFeed("Logres", FeedBuilder().realm(0, "Albion"));
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    const QImage first = window.mapView()->surface().copy();
    for (const int server : {1, 0}) {
        window.serverCombo()->setCurrentIndex(server);
        window.showSelectedServer();
    }
    EXPECT_EQ(window.mapView()->surface(), first);
    window.setMarkedGuild(QStringLiteral("Wolfsbanner"));
    window.setMarkedGuild(QString());
    EXPECT_EQ(window.mapView()->surface(), first);
    EXPECT_TRUE(m_dialogs.shown.empty());
}

TEST_F(MapWindowTest, TheFrameIsPaintedFromItsPiecesAroundTheMap) {
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto piece = [](const char* name) {
        return QImage(QStringLiteral(WARMAP_DATA_DIR "/form/") + name).convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(shown.copy(0, 0, 32, 24), piece("top_top_left.bmp"));    // corner
    EXPECT_EQ(shown.copy(32, 0, 32, 24), piece("top_top_top.bmp"));    // first tile of the top band
    EXPECT_EQ(shown.copy(0, 24, 10, 16), piece("top_left_left.bmp"));  // side piece below the corner
    EXPECT_EQ(shown.copy(458, 24, 10, 16), piece("top_left_left.bmp").mirrored(true, false));
    EXPECT_EQ(shown.copy(0, 40, 10, 40), piece("left_left_left.bmp"));  // first tile of the left band
    // The map covers the rest (right of the controls that lie on it).
    EXPECT_EQ(shown.copy(130, 24, 328, 560), window.mapView()->surface().copy(120, 0, 328, 560));
}

TEST_F(MapWindowTest, FirstRunWithoutDataSaysSo) {
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    ASSERT_EQ(m_dialogs.shown.size(), 1u);
    EXPECT_EQ(m_dialogs.shown[0].text, "noch keine daten geladen f\xc3\xbcr diesen Server");
    EXPECT_EQ(m_dialogs.shown[0].caption, "Warmap");
    EXPECT_EQ(m_dialogs.shown[0].icon, platform::Message::Icon::None);
    EXPECT_EQ(window.dateLabel()->text(), "");
}

TEST_F(MapWindowTest, ChoosingAServerWithoutDataKeepsThePreviousMap) {
    saveFeed("Dartmoor", FeedBuilder());
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    const QImage before = window.mapView()->surface();
    window.serverCombo()->setCurrentIndex(2);
    window.showSelectedServer();
    EXPECT_EQ(m_dialogs.shown.size(), 1u);
    EXPECT_EQ(window.dateLabel()->text(), "");
    EXPECT_EQ(window.mapView()->surface(), before);
}

// What the window system shows of the map (right of the controls that lie on it), not what the
// widget would paint if asked.
const QRect kClearOfControls(120, 0, 328, 560);
QImage onScreenMap(warmap::MapWindow& window) {
    QCoreApplication::processEvents();
    const QRect map = window.mapView()->geometry();
    return QGuiApplication::primaryScreen()
        ->grabWindow(window.winId())
        .toImage()
        .copy(kClearOfControls.translated(map.topLeft()))
        .convertToFormat(QImage::Format_RGB32);
}

// A drawing that fails part-way still reaches the screen: the entries before the failure on the bare
// map, never the previous server's icons under the new server's name.
TEST_F(MapWindowTest, AFailedDrawingIsShownToo) {
    saveFeed("Dartmoor", FeedBuilder());
    saveFeed("Avalon", FeedBuilder().realm(45, "Midgard").realm(50, "Hibernia").realm(60, "Midgard"));
    saveFeed("Logres", FeedBuilder().id(40, "x"));
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.serverCombo()->setCurrentIndex(2);
    window.showSelectedServer();
    const QImage avalon = onScreenMap(window);
    window.serverCombo()->setCurrentIndex(1);
    {
        testing_support::LogRecorder log;
        window.showSelectedServer();
        EXPECT_EQ(log.matching("warmap.map", {"Logres", "Logres_lastkeeps.xml"}).size(), 1);  // and why, in the log
    }
    EXPECT_EQ(m_dialogs.countStartingWith("Fehler: "), 1);
    const QImage logres = onScreenMap(window);
    EXPECT_NE(logres, avalon);
    EXPECT_EQ(logres, window.mapView()->surface().copy(kClearOfControls).convertToFormat(QImage::Format_RGB32));
}

// The date label is reached by the pointer, so its tooltip shows, and hovering goes on beneath it.
TEST_F(MapWindowTest, TheDateLabelShowsItsTooltipAndPassesMovesToTheMap) {
    saveFeed("Dartmoor", FeedBuilder());
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    QLabel* date = window.dateLabel();
    const QPoint inLabel(20, 10);
    EXPECT_EQ(window.childAt(date->mapTo(&window, inLabel)), date);

    QHelpEvent help(QEvent::ToolTip, inLabel, date->mapToGlobal(inLabel));
    QApplication::sendEvent(date, &help);
    EXPECT_EQ(QToolTip::text(), "ORSKA-Zeitstempel");

    const QPointF onMap = date->mapTo(window.mapView(), QPointF(inLabel));
    window.updateHoverText(onMap);
    const QString expected = window.hoverLabel()->text();
    window.hoverLabel()->setText("before");
    QMouseEvent move(QEvent::MouseMove, QPointF(inLabel), date->mapToGlobal(QPointF(inLabel)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(date, &move);
    EXPECT_EQ(window.hoverLabel()->text(), expected);
}

// A screen reader finds a window, and a name on every control that says what it is or shows.
TEST_F(MapWindowTest, EveryControlHasAnAccessibleName) {
    saveFeed("Dartmoor", FeedBuilder());
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&window)->role(), QAccessible::Window);
    const auto name = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    QStringList buttons;
    for (auto* button : window.findChildren<QAbstractButton*>()) buttons << name(button);
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Minimieren", QString::fromUtf8("Schlie\u00dfen")}));
    // On Linux a list reads its choice and is named by its label.
    QAccessibleInterface* servers = QAccessible::queryAccessibleInterface(window.findChild<QComboBox*>("ServerCombo"));
    EXPECT_EQ(servers->text(QAccessible::Name), "Dartmoor");
    const auto labels = servers->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), "Server");
    EXPECT_EQ(name(window.dateLabel()), "Stand der Karte: " + window.dateLabel()->text());
    EXPECT_EQ(name(window.hoverLabel()), "Festung unter dem Mauszeiger: keine Angabe");
    EXPECT_FALSE(name(window.mapView()).isEmpty());
}

// At 100 % the double-size pictures beside the plain ones change no pixel and no position.
TEST_F(MapWindowTest, AtOneToOneTheDoubleSizePicturesChangeNothing) {
    ASSERT_TRUE(QFile::exists(WARMAP_DATA_DIR "/symbols/keep_alb@2x.ico"));
    QTemporaryDir plain;
    ASSERT_TRUE(
        testing_support::copyDataFolder(plain.path(), {}, [](const QString& file) { return !file.contains("@2x"); }));
    saveFeed("Dartmoor", FeedBuilder().realm(0, "Midgard").guild(0, "").realm(6, "Hibernia").guild(6, "Wolfsbanner"));
    warmap::MapWindow sharp(WARMAP_DATA_DIR, m_dialogs), onlyPlain(plain.path(), m_dialogs);
    ASSERT_TRUE(sharp.load());
    ASSERT_TRUE(onlyPlain.load());
    EXPECT_EQ(sharp.size(), onlyPlain.size());
    EXPECT_EQ(sharp.grab().toImage(), onlyPlain.grab().toImage());
    for (const QPointF at : {QPointF(keepmap::kKeepPos[0]), QPointF(10, 10)}) {
        sharp.updateHoverText(at);
        onlyPlain.updateHoverText(at);
        EXPECT_EQ(sharp.hoverLabel()->text(), onlyPlain.hoverLabel()->text());
    }
}

// The window asks for a 16 x 16 icon of 256 colours.
TEST(WarmapIcon, IsSixteenPixelsWith256Colours) {
    QFile file(WARMAP_DATA_DIR "/form/warmap.ico");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    ASSERT_GT(ico.size(), 22 + 40 + 1024);
    EXPECT_EQ(uchar(ico[6]), 16);                                  // width
    EXPECT_EQ(uchar(ico[7]), 16);                                  // height
    EXPECT_EQ(uchar(ico[12]) | uchar(ico[13]) << 8, 8);            // bits a pixel in the directory
    EXPECT_EQ(uchar(ico[22 + 14]) | uchar(ico[22 + 15]) << 8, 8);  // and in the bitmap itself
    const QImage image(WARMAP_DATA_DIR "/form/warmap.ico");
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_TRUE(image.hasAlphaChannel());  // the mask still cuts the shield out
}

TEST_F(MapWindowTest, MissingSkinFileIsNamed) {
    QTemporaryDir program;
    ASSERT_TRUE(testing_support::copyDataFolder(program.path(), QStringLiteral("form"), [](const QString& file) {
        return file == "form/sys_close.bmp" || file == "form/sys_min.bmp" || file == "form/top_top_left.bmp";
    }));
    warmap::MapWindow window(program.path(), m_dialogs);
    const auto loaded = window.load();
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error(), "Datei fehlt oder ist nicht lesbar: " + program.path() + "/form/warmap.jpg");
}

// A side piece so tall that the corner's and its measured heights add up beyond 16 bits ends the load
// step as a missing file does, instead of laying the bands out from a wrapped sum.
TEST_F(MapWindowTest, ArtworkBeyondSixteenBitsEndsTheLoadStep) {
    QTemporaryDir program;
    ASSERT_TRUE(testing_support::copyDataFolder(program.path(), QStringLiteral("form"), [](const QString& file) {
        return !file.contains("@2x") && QRegularExpression(QStringLiteral("\\.(bmp|jpg|ico)$")).match(file).hasMatch();
    }));
    QImage tall(10, 1300, QImage::Format_RGB32);  // past the 1238 pixels a measure holds
    tall.fill(Qt::darkYellow);
    QFile::remove(program.path() + "/form/top_left_left.bmp");
    ASSERT_TRUE(tall.save(program.path() + "/form/top_left_left.bmp", "bmp"));
    warmap::MapWindow window(program.path(), m_dialogs);
    const auto failure = window.load();
    ASSERT_FALSE(failure);
    EXPECT_TRUE(failure.error().startsWith(QString::fromUtf8("\u00dcberlauf"))) << failure.error().toStdString();
}

TEST_F(MapWindowTest, ButtonsMinimiseAndClose) {
    QPointer<warmap::MapWindow> window = new warmap::MapWindow(WARMAP_DATA_DIR, m_dialogs);
    window->setAttribute(Qt::WA_DeleteOnClose);
    ASSERT_TRUE(window->load());
    window->show();
    QTest::mouseClick(window->minimizeButton(), Qt::LeftButton);
    EXPECT_TRUE(window->isMinimized());
    window->showNormal();
    QTest::mouseClick(window->closeButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(MapWindowTest, OnlyTheLeftButtonDragsTheFrame) {
    warmap::MapWindow window(WARMAP_DATA_DIR, m_dialogs);
    ASSERT_TRUE(window.load());
    window.move(100, 100);
    window.show();
    const QPoint onFrame(200, 5);
    QTest::mousePress(&window, Qt::RightButton, {}, onFrame);
    QTest::mouseMove(&window, onFrame + QPoint(40, 30));
    QTest::mouseRelease(&window, Qt::RightButton, {}, onFrame + QPoint(40, 30));
    EXPECT_EQ(window.pos(), QPoint(100, 100));

    QTest::mousePress(&window, Qt::LeftButton, {}, onFrame);
    QMouseEvent move(QEvent::MouseMove, QPointF(onFrame + QPoint(40, 30)),
                     window.mapToGlobal(QPointF(onFrame + QPoint(40, 30))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, onFrame + QPoint(40, 30));
    EXPECT_EQ(window.pos(), QPoint(140, 130));

    // A press on the map belongs to the map.
    const QPoint onMap(200, 300);
    QTest::mousePress(window.mapView(), Qt::LeftButton, {}, onMap);
    QMouseEvent drag(QEvent::MouseMove, QPointF(onMap + QPoint(50, 50)),
                     window.mapView()->mapToGlobal(QPointF(onMap + QPoint(50, 50))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drag);
    QTest::mouseRelease(window.mapView(), Qt::LeftButton, {}, onMap + QPoint(50, 50));
    EXPECT_EQ(window.pos(), QPoint(140, 130));
}

}  // namespace
