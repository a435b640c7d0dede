#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "feed/KeepNames.h"
#include "keepmap/Hover.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/TempDir.h"

namespace {

class HoverTest : public ::testing::Test {
protected:
    HoverTest() : m_names(m_dir.path().toStdString()), m_map(WARMAP_DATA_DIR, keepmap::kKeepPos) {
        testing_support::writeFile(m_names.cataloguePath(), "[keepnames]\n35=Dun Glaswen\n53=Eldenford Beacon\n");
        const std::string feed = m_dir.filePath("feed.xml").toStdString();
        testing_support::writeFile(feed, testing_support::FeedBuilder().guild(35, "").guild(53, "Nebelreiter").xml());
        QImage background(448, 560, QImage::Format_RGB32);
        QImage surface = background;
        m_map.draw(feed, surface, background);
    }
    std::string text(double x, double y, const std::string& mine = {}) const {
        return keepmap::hoverText(x, y, m_map.hitMap(), m_map.keepGuild(), m_names, mine);
    }
    QTemporaryDir m_dir;
    feed::KeepNames m_names;
    keepmap::KeepMap m_map;
};

TEST_F(HoverTest, NamesTheStructureAndItsGuild) {
    EXPECT_EQ(text(297, 496), "Dun Glaswen");  // no guild: no brackets
    EXPECT_EQ(text(56, 415), "Eldenford Beacon (Nebelreiter)");
    EXPECT_EQ(text(86, 423), "UNKNOWN (G)");
}

// Only the exact name marks a structure as the player's guild's; no guild marks nothing, not even one
// that no guild holds.
TEST_F(HoverTest, MarksOnlyMyGuildsStructures) {
    EXPECT_EQ(text(56, 415, "Nebelreiter"), "Eldenford Beacon (Nebelreiter) — meine Gilde");
    EXPECT_EQ(text(56, 415, "nebelreiter"), "Eldenford Beacon (Nebelreiter)");
    EXPECT_EQ(text(56, 415, "Nebelreiter "), "Eldenford Beacon (Nebelreiter)");
    EXPECT_EQ(text(297, 496, ""), "Dun Glaswen");
    EXPECT_EQ(text(297, 496, "Nebelreiter"), "Dun Glaswen");
}

TEST_F(HoverTest, EmptyBetweenStructuresAndOutsideTheMap) {
    EXPECT_EQ(text(20, 20), "");
    EXPECT_EQ(text(56 + 8, 415), "");  // the icon's last drawn column lies outside its hit area
    EXPECT_EQ(text(56 + 7.4, 415), "Eldenford Beacon (Nebelreiter)");
    EXPECT_EQ(text(56 + 7.5, 415), "");  // 63.5 rounds to the even 64
    EXPECT_EQ(text(-5, 415), "");
    EXPECT_EQ(text(900, 900), "");
    EXPECT_EQ(text(415, -5), "");
}

}  // namespace
