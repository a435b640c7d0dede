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
        testing_support::WriteFile(m_names.CataloguePath(),
                                   "[keepnames]\n0=Stonewatch\n3=Mill Tower\n7=Fenwick Spire\n40=Harrowgate\n");
    }

    base::Status Compare(const FeedBuilder& previous, const FeedBuilder& current,
                                       const std::string& server = "Logres") {
        const std::string saved = m_dir.filePath("saved.xml").toStdString();
        testing_support::WriteFile(saved, previous.Xml());
        return feed::CompareKeeps(current.Xml(), server, saved, m_names, lines);
    }

    QTemporaryDir m_dir;
    feed::KeepNames m_names;
    feed::MessageLines lines;
};

TEST(RealmColourCode, MapsRealmsExactly) {
    EXPECT_EQ(feed::RealmColourCode("Albion"), "^r");
    EXPECT_EQ(feed::RealmColourCode("Midgard"), "^d");
    EXPECT_EQ(feed::RealmColourCode("Hibernia"), "^g");
    EXPECT_EQ(feed::RealmColourCode("0"), "^b");
    EXPECT_EQ(feed::RealmColourCode("albion"), "");
    EXPECT_EQ(feed::RealmColourCode(""), "");
}

TEST_F(CompareKeepsTest, IdenticalFeedsAndGuildChangesGiveNoLine) {
    EXPECT_TRUE(Compare(FeedBuilder(), FeedBuilder().Guild(4, "Other").Date("later")));
    EXPECT_TRUE(lines.empty());
}

TEST_F(CompareKeepsTest, OneLinePerRealmChangeInPositionOrder) {
    EXPECT_TRUE(Compare(FeedBuilder().Realm(7, "Midgard").Realm(40, "Hibernia"),
                        FeedBuilder().Realm(3, "Midgard").Realm(40, "Midgard")));
    EXPECT_EQ(lines,
              (feed::MessageLines{"^bLOG: ^rMill Tower^Irechts^dMidgard", "^bLOG: ^dFenwick Spire^Irechts^rAlbion",
                                  "^bLOG: ^gHarrowgate^Irechts^dMidgard"}));
}

TEST_F(CompareKeepsTest, UnusualRealmsKeepTheirTextWithoutColour) {
    EXPECT_TRUE(Compare(FeedBuilder(), FeedBuilder().Realm(0, "").Realm(3, "0").Realm(7, "albion").Realm(9, "Hibernia")));
    EXPECT_EQ(lines,
              (feed::MessageLines{"^bLOG: ^rStonewatch^Irechts", "^bLOG: ^rMill Tower^Irechts^b0",
                                  "^bLOG: ^rFenwick Spire^Irechtsalbion", "^bLOG: ^rUNKNOWN^Irechts^gHibernia"}));
}

TEST_F(CompareKeepsTest, PositionsWhoseIdsDifferAreSkipped) {
    EXPECT_TRUE(Compare(FeedBuilder(), FeedBuilder().Id(7, "8").Realm(7, "Midgard")));
    EXPECT_TRUE(lines.empty());
    // A comment in front of the entries shifts every position, so nothing pairs.
    EXPECT_TRUE(Compare(FeedBuilder(), FeedBuilder().Before(0, "<!-- moved -->").Realm(5, "Midgard")));
    EXPECT_TRUE(lines.empty());
}

TEST_F(CompareKeepsTest, ShortPreviousCopyKeepsEarlierLinesAndReportsOnce) {
    const auto failure =
        Compare(FeedBuilder().Count(50), FeedBuilder().Realm(3, "Midgard").Realm(60, "Midgard"), "Avalon");
    ASSERT_FALSE(failure);
    EXPECT_NE(failure.error().find("50"), std::string::npos);
    EXPECT_EQ(lines, (feed::MessageLines{"^bAVA: ^rMill Tower^Irechts^dMidgard"}));
}

TEST_F(CompareKeepsTest, DocumentsThatAreNoFeedAreReported) {
    const std::string saved = m_dir.filePath("saved.xml").toStdString();
    testing_support::WriteFile(saved, FeedBuilder().Xml());
    EXPECT_FALSE(feed::CompareKeeps("<html>404</html>", "Dartmoor", saved, m_names, lines));
    testing_support::WriteFile(saved, "<keeps");
    EXPECT_FALSE(feed::CompareKeeps(FeedBuilder().Xml(), "Dartmoor", saved, m_names, lines));
    EXPECT_TRUE(lines.empty());
}

// The same text in two encodings is the same text: no line, and the new realm arrives as UTF-8.
TEST_F(CompareKeepsTest, ComparesTextNotEncodings) {
    const auto declared = [](std::string xml, const char* encoding) {
        return xml.replace(xml.find("UTF-8"), 5, encoding);
    };
    const std::string saved = m_dir.filePath("saved.xml").toStdString();
    testing_support::WriteFile(saved, declared(FeedBuilder().Realm(3, "\xc5lfheim").Xml(), "windows-1252"));
    EXPECT_TRUE(feed::CompareKeeps(FeedBuilder().Realm(3, "\xc3\x85lfheim").Xml(), "Logres", saved, m_names, lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(feed::CompareKeeps(declared(FeedBuilder().Realm(3, "\xa4").Xml(), "ISO-8859-15"), "Logres", saved,
                                   m_names, lines));
    EXPECT_EQ(lines, (feed::MessageLines{"^bLOG: Mill Tower^Irechts\xe2\x82\xac"}));
}

}  // namespace
