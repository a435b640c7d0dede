#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "feed/CompareKeeps.h"
#include "feed/Frontier.h"
#include "feed/KeepNames.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::FeedBuilder;

class CompareKeepsTest : public ::testing::Test {
protected:
    CompareKeepsTest() : m_names(m_dir.path().toStdString()) {
        testing_support::writeFile(m_names.cataloguePath(),
                                   "[keepnames]\n0=Stonewatch\n3=Mill Tower\n7=Fenwick Spire\n40=Harrowgate\n");
    }

    base::Status compare(const FeedBuilder& previous, const FeedBuilder& current,
                         const std::string& server = "Logres") {
        const std::string saved = m_dir.filePath("saved.xml").toStdString();
        testing_support::writeFile(saved, previous.xml());
        return feed::compareKeeps(current.xml(), server, saved, m_names, m_lines);
    }

    QTemporaryDir m_dir;
    feed::KeepNames m_names;
    feed::MessageLines m_lines;
};

TEST(RealmColourCode, MapsRealmsExactly) {
    EXPECT_EQ(feed::realmColourCode("Albion"), "^r");
    EXPECT_EQ(feed::realmColourCode("Midgard"), "^d");
    EXPECT_EQ(feed::realmColourCode("Hibernia"), "^g");
    EXPECT_EQ(feed::realmColourCode("0"), "^b");
    EXPECT_EQ(feed::realmColourCode("albion"), "");
    EXPECT_EQ(feed::realmColourCode(""), "");
}

TEST_F(CompareKeepsTest, IdenticalFeedsAndGuildChangesGiveNoLine) {
    EXPECT_TRUE(compare(FeedBuilder(), FeedBuilder().guild(4, "Other").date("later")));
    EXPECT_TRUE(m_lines.empty());
}

TEST_F(CompareKeepsTest, OneLinePerRealmChangeInPositionOrder) {
    EXPECT_TRUE(compare(FeedBuilder().realm(7, "Midgard").realm(40, "Hibernia"),
                        FeedBuilder().realm(3, "Midgard").realm(40, "Midgard")));
    EXPECT_EQ(m_lines,
              (feed::MessageLines{"^bLOG: ^rMill Tower^Irechts^dMidgard", "^bLOG: ^dFenwick Spire^Irechts^rAlbion",
                                  "^bLOG: ^gHarrowgate^Irechts^dMidgard"}));
}

TEST_F(CompareKeepsTest, UnusualRealmsKeepTheirTextWithoutColour) {
    EXPECT_TRUE(
        compare(FeedBuilder(), FeedBuilder().realm(0, "").realm(3, "0").realm(7, "albion").realm(9, "Hibernia")));
    EXPECT_EQ(m_lines,
              (feed::MessageLines{"^bLOG: ^rStonewatch^Irechts", "^bLOG: ^rMill Tower^Irechts^b0",
                                  "^bLOG: ^rFenwick Spire^Irechtsalbion", "^bLOG: ^rUNKNOWN^Irechts^gHibernia"}));
}

TEST_F(CompareKeepsTest, PositionsWhoseIdsDifferAreSkipped) {
    EXPECT_TRUE(compare(FeedBuilder(), FeedBuilder().id(7, "8").realm(7, "Midgard")));
    EXPECT_TRUE(m_lines.empty());
    // A comment in front of the entries shifts every position, so nothing pairs.
    EXPECT_TRUE(compare(FeedBuilder(), FeedBuilder().before(0, "<!-- moved -->").realm(5, "Midgard")));
    EXPECT_TRUE(m_lines.empty());
}

TEST_F(CompareKeepsTest, ShortPreviousCopyKeepsEarlierLinesAndReportsOnce) {
    const auto failure =
        compare(FeedBuilder().count(50), FeedBuilder().realm(3, "Midgard").realm(60, "Midgard"), "Avalon");
    ASSERT_FALSE(failure);
    EXPECT_NE(failure.error().find("50"), std::string::npos);
    EXPECT_EQ(m_lines, (feed::MessageLines{"^bAVA: ^rMill Tower^Irechts^dMidgard"}));
}

TEST_F(CompareKeepsTest, DocumentsThatAreNoFeedAreReported) {
    const std::string saved = m_dir.filePath("saved.xml").toStdString();
    testing_support::writeFile(saved, FeedBuilder().xml());
    EXPECT_FALSE(feed::compareKeeps("<html>404</html>", "Dartmoor", saved, m_names, m_lines));
    testing_support::writeFile(saved, "<keeps");
    EXPECT_FALSE(feed::compareKeeps(FeedBuilder().xml(), "Dartmoor", saved, m_names, m_lines));
    EXPECT_TRUE(m_lines.empty());
}

// The same text in two encodings is the same text: no line, and the new realm arrives as UTF-8.
TEST_F(CompareKeepsTest, ComparesTextNotEncodings) {
    const auto declared = [](std::string xml, const char* encoding) {
        return xml.replace(xml.find("UTF-8"), 5, encoding);
    };
    const std::string saved = m_dir.filePath("saved.xml").toStdString();
    testing_support::writeFile(saved, declared(FeedBuilder().realm(3, "\xc5lfheim").xml(), "windows-1252"));
    EXPECT_TRUE(feed::compareKeeps(FeedBuilder().realm(3, "\xc3\x85lfheim").xml(), "Logres", saved, m_names, m_lines));
    EXPECT_TRUE(m_lines.empty());
    EXPECT_TRUE(feed::compareKeeps(declared(FeedBuilder().realm(3, "\xa4").xml(), "ISO-8859-15"), "Logres", saved,
                                   m_names, m_lines));
    EXPECT_EQ(m_lines, (feed::MessageLines{"^bLOG: Mill Tower^Irechts\xe2\x82\xac"}));
}

}  // namespace
