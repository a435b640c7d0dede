#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <map>

#include "feed/FrontierSnapshot.h"
#include "keepmap/KeepMap.h"
#include "platform/Picture.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/TempDir.h"

namespace {

using keepmap::MapOutcome;
using testing_support::FeedBuilder;

// The real positions for the structures under test; every other one parked in a far corner, so
// neighbours that overlap on the real map do not cover what a test looks at.
keepmap::KeepPosTable sparse(std::initializer_list<int> ids) {
    keepmap::KeepPosTable table;
    table.fill(QPoint(430, 545));
    for (int id : ids) table[id] = keepmap::kKeepPos[id];
    return table;
}

class KeepMapTest : public ::testing::Test {
protected:
    explicit KeepMapTest(keepmap::KeepPosTable table = sparse({35, 36, 5, 50, 53, 84}))
        : m_table(table), m_map(WARMAP_DATA_DIR, m_table) {
        m_background = QImage(448, 560, QImage::Format_RGB32);
        m_background.fill(QColor(200, 190, 150));
        m_surface = m_background.copy();
    }
    MapOutcome draw(const std::string& xml) {
        const std::string path = m_dir.filePath("feed.xml").toStdString();
        testing_support::writeFile(path, xml);
        return m_map.draw(path, m_surface, m_background);
    }
    // The background with the icon (and overlay) drawn centred on (x, y), as the map should show it.
    QImage expectedPicture(const char* icon, int x, int y, const char* overlay = nullptr) const {
        QImage image = m_background.copy(x - 7, y - 7, 16, 16);
        QPainter painter(&image);
        platform::Picture::load(QString(WARMAP_DATA_DIR "/symbols/") + icon + ".ico")->draw(painter, QPoint(0, 0));
        if (overlay)
            platform::Picture::load(QString(WARMAP_DATA_DIR "/symbols/") + overlay + ".ico")
                ->draw(painter, QPoint(0, 0));
        return image;
    }
    static void drawIcon(QImage& image, const char* icon, int x, int y) {
        QPainter painter(&image);
        platform::Picture::load(QString(WARMAP_DATA_DIR "/symbols/") + icon + ".ico")
            ->draw(painter, QPoint(x - 7, y - 7));
    }
    QImage at(int x, int y) const { return m_surface.copy(x - 7, y - 7, 16, 16); }

    QTemporaryDir m_dir;
    keepmap::KeepPosTable m_table;
    keepmap::KeepMap m_map;
    QImage m_background, m_surface;
};

class RealTableTest : public KeepMapTest {
protected:
    RealTableTest() : KeepMapTest(keepmap::kKeepPos) {}
};

// A copy drawn once leaves its snapshot beside it; the next drawing comes from that, with no XML parsed,
// and is the same in every pixel, hit and guild. A copy changed since is parsed again.
TEST_F(RealTableTest, TheSnapshotOfACopyDrawsItTheSame) {
    const std::string path = m_dir.filePath("feed.xml").toStdString();
    const std::string folder = m_dir.path().toStdString();
    const std::string snapshot = feed::snapshotPath(folder, path);
    const auto drawSaved = [&](const std::string& xml) {
        testing_support::writeFile(path, xml);
        m_surface = m_background.copy();
        return m_map.draw(path, m_surface, m_background, folder);
    };
    const std::string xml = FeedBuilder()
                                .realm(35, "Midgard")
                                .guild(35, "Nebelreiter")
                                .guild(50, "Eisfaust")
                                .date("01.12.2026 10:00:00")
                                .xml();
    ASSERT_EQ(drawSaved(xml).status, MapOutcome::Status::Drawn);
    const QImage first = m_surface.copy();
    const keepmap::KeepGuildTable guilds = m_map.keepGuild();
    ASSERT_TRUE(feed::readSnapshot(snapshot, xml));

    const MapOutcome again = drawSaved(xml);
    EXPECT_EQ(again.status, MapOutcome::Status::Drawn);
    EXPECT_EQ(again.date, "01.12.2026 10:00:00");
    EXPECT_EQ(m_surface, first);
    EXPECT_EQ(m_map.keepGuild(), guilds);
    for (int id : {0, 35, 50, 104}) {
        const QPoint at = keepmap::kKeepPos[id];
        EXPECT_EQ(m_map.hitMap().at(at.x(), at.y()), id + 1) << id;
    }

    // It is the snapshot that answers: one that says otherwise is believed for these bytes.
    auto told = *feed::readSnapshot(snapshot, xml);
    told.entries[35][2] = "Schattenklinge";
    ASSERT_TRUE(feed::writeSnapshot(snapshot, xml, told));
    drawSaved(xml);
    EXPECT_EQ(m_map.keepGuild()[35], "Schattenklinge");

    // The same length, another guild: the old snapshot no longer answers for it.
    std::string changed = xml;
    changed.replace(changed.find("Eisfaust"), 8, "Sturmweh");
    EXPECT_EQ(drawSaved(changed).status, MapOutcome::Status::Drawn);
    EXPECT_EQ(m_map.keepGuild()[50], "Sturmweh");
}

TEST_F(KeepMapTest, DrawsRealmIconsCentredOnTheirPositions) {
    const auto outcome = draw(FeedBuilder().realm(35, "Midgard").realm(36, "Hibernia").realm(5, "albion").xml());
    ASSERT_EQ(outcome.status, MapOutcome::Status::Drawn);
    EXPECT_EQ(outcome.date, "08.12.2026 08:00:00");
    // Tower 36 is drawn after keep 35 and overlaps it.
    QImage expected = m_background.copy();
    drawIcon(expected, "keep_mid", 297, 496);
    drawIcon(expected, "tower_hib", 288, 493);
    EXPECT_EQ(m_surface.copy(260, 470, 60, 40), expected.copy(260, 470, 60, 40));
    EXPECT_EQ(at(127, 191), expectedPicture("keep_alb", 127, 191));  // unknown realms draw Albion's icons
    EXPECT_EQ(m_map.keepGuild()[35], "G");
}

// On a map with twice the pixels the icons are the double-size ones, drawn one to one where the plain
// ones go, and the hit rectangles are those of the plain map.
TEST_F(KeepMapTest, AMapWithTwiceThePixelsGetsTheDoubleSizeIconsInTheSamePlaces) {
    const std::string feed = FeedBuilder().realm(35, "Midgard").realm(84, "Hibernia").guild(84, "").xml();
    ASSERT_EQ(draw(feed).status, MapOutcome::Status::Drawn);
    const keepmap::KeepHitMap& hits = m_map.hitMap();
    QImage background(896, 1120, QImage::Format_RGB32);
    background.fill(QColor(200, 190, 150));
    background.setDevicePixelRatio(2.0);
    QImage surface;
    keepmap::KeepMap sharp(WARMAP_DATA_DIR, m_table);
    ASSERT_EQ(sharp.draw(m_dir.filePath("feed.xml").toStdString(), surface, background).status,
              MapOutcome::Status::Drawn);
    for (int x = 0; x < keepmap::KeepHitMap::kSize; x += 3) {
        for (int y = 0; y < keepmap::KeepHitMap::kSize; y += 3) ASSERT_EQ(sharp.hitMap().at(x, y), hits.at(x, y));
    }
    // Tower 84, away from the others: its double-size icon and the unclaimed pennant, 32 x 32.
    QImage expected(32, 32, QImage::Format_RGB32);
    expected.fill(QColor(200, 190, 150));
    {
        QPainter painter(&expected);
        for (const char* icon : {"tower_hib", "tower_unclaimed"}) {
            QImage pixels(QString(WARMAP_DATA_DIR "/symbols/") + icon + "@2x.ico");
            pixels.setDevicePixelRatio(1.0);  // Qt reads "@2x" in a name as a ratio of its own
            painter.drawImage(0, 0, pixels);
        }
    }
    QImage drawn = surface.copy(2 * (keepmap::kKeepPos[84].x() - 7), 2 * (keepmap::kKeepPos[84].y() - 7), 32, 32);
    drawn.setDevicePixelRatio(1.0);
    EXPECT_EQ(drawn, expected);
}

TEST_F(KeepMapTest, ARedrawStartsOverFromTheBackgroundInTheSameSurface) {
    ASSERT_EQ(draw(FeedBuilder().realm(35, "Midgard").guild(50, "").xml()).status, MapOutcome::Status::Drawn);
    const uchar* pixels = m_surface.constBits();
    ASSERT_EQ(draw(FeedBuilder().realm(35, "Hibernia").xml()).status, MapOutcome::Status::Drawn);
    EXPECT_EQ(m_surface.constBits(), pixels);  // choosing a server costs no new surface

    // Nothing of the first drawing is left: the same as drawing the second alone.
    QImage fresh;
    keepmap::KeepMap other(WARMAP_DATA_DIR, m_table);
    ASSERT_EQ(other.draw(m_dir.filePath("feed.xml").toStdString(), fresh, m_background).status,
              MapOutcome::Status::Drawn);
    EXPECT_EQ(m_surface, fresh);
}

// The marked guild's structures get a ring around their icons and nothing else changes; no guild, or
// one that holds nothing (names match exactly), leaves every pixel as it was.
TEST_F(KeepMapTest, RingsExactlyTheMarkedGuildsStructures) {
    const std::string feed =
        FeedBuilder().guild(35, "Moorwarden").guild(53, "Moorwarden").guild(84, "moorwarden").guild(50, "").xml();
    ASSERT_EQ(draw(feed).status, MapOutcome::Status::Drawn);
    const QImage plain = m_surface.copy();
    for (const char* guild : {"", "Eisenwacht", "moorwarden "}) {
        m_map.setMarkedGuild(guild);
        ASSERT_EQ(draw(feed).status, MapOutcome::Status::Drawn);
        EXPECT_EQ(m_surface, plain) << guild;
    }
    m_map.setMarkedGuild("Moorwarden");
    ASSERT_EQ(draw(feed).status, MapOutcome::Status::Drawn);
    // An icon covers x - 7 .. x + 8; its ring's dark edge reaches 8 + 2.5 + 1.5 beyond its middle.
    const auto distance = [](int x, int y, QPoint centre) {
        return std::hypot(x + 0.5 - (centre.x() + 1), y + 0.5 - (centre.y() + 1));
    };
    std::map<int, int> ringed;
    int elsewhere = 0, onIcons = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (m_surface.pixel(x, y) == plain.pixel(x, y)) continue;
            bool near = false;
            for (int id : {35, 53}) {
                const double d = distance(x, y, keepmap::kKeepPos[id]);
                if (d <= 13) near = true, ++ringed[id];
                if (d < 7) ++onIcons;
            }
            elsewhere += !near;
        }
    }
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(onIcons, 0);
    EXPECT_GT(ringed[35], 40);
    EXPECT_GT(ringed[53], 40);
}

TEST_F(KeepMapTest, UnclaimedStructuresGetTheOverlay) {
    draw(FeedBuilder().guild(50, "").guild(53, "").xml());
    EXPECT_EQ(at(86, 423), expectedPicture("keep_alb", 86, 423, "keep_unclaimed"));
    EXPECT_EQ(at(56, 415), expectedPicture("tower_alb", 56, 415, "tower_unclaimed"));
    EXPECT_EQ(m_map.keepGuild()[50], "");
}

TEST_F(KeepMapTest, PlacementFollowsTheIdNotThePosition) {
    FeedBuilder feed;
    feed.id(0, "84").id(84, "0").realm(0, "Hibernia");  // position 0 now describes tower 84
    ASSERT_EQ(draw(feed.xml()).status, MapOutcome::Status::Drawn);
    EXPECT_EQ(at(138, 527), expectedPicture("tower_hib", 138, 527));
    EXPECT_EQ(m_map.hitMap().at(138, 527), 85);
}

// The rectangles answer as a cell grid marked in the same order would: the newest mark wins, any
// overlap, any repetition, however often the same map is drawn again.
TEST(KeepHitMap, AnswersAsACellGridMarkedInTheSameOrder) {
    constexpr int kSize = keepmap::KeepHitMap::kSize;
    std::mt19937 random(20261210);
    std::vector<QPoint> centres;
    for (int i = 0; i < 60; ++i)
        centres.emplace_back(12 + static_cast<int>(random() % (kSize - 24)),
                             12 + static_cast<int>(random() % (kSize - 24)));
    keepmap::KeepHitMap hits;
    std::vector<int> grid(static_cast<std::size_t>(kSize) * kSize, 0);
    for (int round = 0; round < 2000; ++round) {
        const QPoint at = centres[random() % centres.size()];
        const int half = random() % 5 == 0 ? static_cast<int>(random() % 12) : 7;
        const QRect cells(at - QPoint(half, half), at + QPoint(half, half));
        const int value = 1 + static_cast<int>(random() % 255);
        hits.mark(cells, value);
        for (int x = cells.left(); x <= cells.right(); ++x)
            for (int y = cells.top(); y <= cells.bottom(); ++y) grid[static_cast<std::size_t>(x) * kSize + y] = value;
    }
    for (int x = 0; x < kSize; ++x)
        for (int y = 0; y < kSize; ++y)
            ASSERT_EQ(hits.at(x, y), grid[static_cast<std::size_t>(x) * kSize + y]) << x << "," << y;
}

TEST_F(RealTableTest, HitRectanglesAreFifteenPixelsAndLaterEntriesWin) {
    draw(FeedBuilder().xml());
    EXPECT_EQ(m_map.hitMap().at(56 - 7, 415 - 7), 54);
    EXPECT_EQ(m_map.hitMap().at(56 + 7, 415 + 7), 54);
    EXPECT_EQ(m_map.hitMap().at(56 - 8, 415), 0);
    EXPECT_EQ(m_map.hitMap().at(56 + 8, 415), 0);
    EXPECT_EQ(m_map.hitMap().at(290, 489), 37);  // keep 35 lies under tower 36 here
    EXPECT_EQ(m_map.hitMap().at(0, 0), 0);
}

TEST_F(KeepMapTest, DuplicatesLaterWinAndExtraEntriesAreIgnored) {
    FeedBuilder feed;
    feed.count(107).id(104, "35").realm(104, "Hibernia").guild(104, "Later").id(105, "999").id(106, "x");
    ASSERT_EQ(draw(feed.xml()).status, MapOutcome::Status::Drawn);
    EXPECT_EQ(m_map.keepGuild()[35], "Later");
    QImage expected = m_background.copy();
    drawIcon(expected, "keep_alb", 297, 496);
    drawIcon(expected, "tower_alb", 288, 493);
    drawIcon(expected, "keep_hib", 297, 496);  // the later entry on top
    EXPECT_EQ(m_surface.copy(260, 470, 60, 40), expected.copy(260, 470, 60, 40));
}

TEST_F(KeepMapTest, BadIdStopsAfterTheEarlierEntries) {
    const auto outcome = draw(FeedBuilder().id(10, "105").guild(20, "Kept").xml());
    EXPECT_EQ(outcome.status, MapOutcome::Status::Failed);
    EXPECT_FALSE(outcome.failure.empty());
    EXPECT_EQ(m_map.keepGuild()[9], "G");  // drawn before the failure
    EXPECT_EQ(m_map.keepGuild()[20], "");  // never reached
    EXPECT_EQ(at(245, 194), m_background.copy(245 - 7, 194 - 7, 16, 16));
    EXPECT_EQ(draw(FeedBuilder().count(60).xml()).status, MapOutcome::Status::Failed);
    EXPECT_EQ(draw("<html/>").status, MapOutcome::Status::Failed);
}

// Ids convert as numbers do: sign, blanks and decimals are fine, halves go to the even neighbour.
TEST_F(KeepMapTest, IdsConvertAsNumbers) {
    const auto drawnAs = [&](const std::string& id) {
        const auto outcome = draw(FeedBuilder().id(104, id).guild(104, "Marker " + id).xml());  // the later entry wins
        for (int k = 0; k < 105; ++k) {
            if (m_map.keepGuild()[k] == "Marker " + id) return outcome.status == MapOutcome::Status::Drawn ? k : -1;
        }
        return -2;
    };
    EXPECT_EQ(drawnAs("+5"), 5);
    EXPECT_EQ(drawnAs("5.0"), 5);
    EXPECT_EQ(drawnAs(" 7 "), 7);
    EXPECT_EQ(drawnAs("2.5"), 2);
    EXPECT_EQ(drawnAs("3.5"), 4);
    EXPECT_EQ(drawnAs("-0.4"), 0);
    for (const char* bad : {"x", "", "5x", "++5", "+-5", "inf", "nan", "0x10", "40000", "-1", "104.6"}) {
        const auto outcome = draw(FeedBuilder().id(0, bad).xml());
        EXPECT_EQ(outcome.status, MapOutcome::Status::Failed) << bad;
    }
}

TEST_F(KeepMapTest, MissingSavedCopyChangesNothing) {
    draw(FeedBuilder().guild(3, "Before").xml());
    const QImage before = m_surface;
    const auto outcome = m_map.draw(m_dir.filePath("absent.xml").toStdString(), m_surface, m_background);
    EXPECT_EQ(outcome.status, MapOutcome::Status::NoSavedCopy);
    EXPECT_FALSE(outcome.date);
    EXPECT_EQ(m_surface, before);
    EXPECT_EQ(m_map.keepGuild()[3], "Before");
}

// A saved copy in an odd state is a failed drawing with its box, never a hang or an abort.
TEST_F(KeepMapTest, OddSavedCopiesFailCleanly) {
    const std::string fifo = m_dir.filePath("fifo.xml").toStdString();
    const std::string folder = m_dir.filePath("folder.xml").toStdString();
    const std::string link = m_dir.filePath("zero.xml").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::symlink("/dev/zero", link.c_str()), 0);
    for (const std::string& path : {fifo, folder, link}) {
        const auto outcome = m_map.draw(path, m_surface, m_background);
        EXPECT_EQ(outcome.status, MapOutcome::Status::Failed) << path;
        EXPECT_NE(outcome.failure.find(path), std::string::npos) << outcome.failure;
    }
}

// The unclaimed mark must read at a glance on any ground: a real shape, white with a black edge.
TEST(UnclaimedMark, IsLargeAndHasContrastOnEveryGround) {
    for (const char* name : {"keep_unclaimed", "tower_unclaimed"}) {
        const QImage mark(QString(WARMAP_DATA_DIR "/symbols/") + name + ".ico");
        ASSERT_EQ(mark.size(), QSize(16, 16)) << name;
        int white = 0, black = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QColor c = mark.pixelColor(x, y);
                if (c.alpha() < 255) continue;
                white += c.lightness() > 230;
                black += c.lightness() < 40;
            }
        }
        EXPECT_GE(white, 12) << name;
        EXPECT_GE(black, 20) << name;
    }
}

TEST(KeepPosTable, HoldsTheDocumentedExtremes) {
    EXPECT_EQ(keepmap::kKeepPos[50], QPoint(86, 423));
    EXPECT_EQ(keepmap::kKeepPos[53], QPoint(56, 415));
    EXPECT_EQ(keepmap::kKeepPos[84], QPoint(138, 527));
    EXPECT_EQ(keepmap::kKeepPos[87], QPoint(315, 59));
    for (const auto& pos : keepmap::kKeepPos) {
        EXPECT_GE(pos.x(), 56);
        EXPECT_LE(pos.x(), 405);
        EXPECT_GE(pos.y(), 59);
        EXPECT_LE(pos.y(), 527);
    }
    EXPECT_EQ(keepmap::iconFor("Midgard", 36), keepmap::Icon::MidgardTower);
    EXPECT_EQ(keepmap::iconFor("0", 40), keepmap::Icon::AlbionKeep);
}

}  // namespace
