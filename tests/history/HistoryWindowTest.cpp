// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDateTime>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>

#include "feed/FeedDocument.h"
#include "feed/KeepNames.h"
#include "history/ChangeListView.h"
#include "history/ChangeText.h"
#include "history/HistoryWindow.h"
#include "history/Timeline.h"
#include "keepmap/KeepPos.h"
#include "tests/support/TempDir.h"
#include "tools/feedsim/Frontier.h"
#include "warmap/MapView.h"
#include "warmap/Skin.h"

namespace {

using history::HistoryStore;

class HistoryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string problem;
        m_store = HistoryStore::Open(m_dir.filePath(QStringLiteral("h.sqlite")).toStdString(), problem);
        ASSERT_TRUE(m_store) << problem;
    }
    // passes passes of Dartmoor and Logres, ten minutes apart up to now; returns the feeds sent.
    std::vector<std::string> Record(int passes) {
        feedsim::Frontier frontier(12);
        std::vector<std::string> sent;
        const history::Seconds now = QDateTime::currentSecsSinceEpoch();
        for (int pass = 0; pass < passes; ++pass) {
            if (pass) frontier.Advance();
            sent.push_back(frontier.FeedXml(0));
            std::vector<history::ArrivedFeed> feeds;
            for (int server : {0, 1}) {
                const feed::FeedDocument document = feed::FeedDocument::Parse(frontier.FeedXml(server));
                feeds.push_back({server, document.Date(), *history::HoldingsOf(document)});
            }
            std::string problem;
            EXPECT_TRUE(m_store->Record(now - (passes - 1 - pass) * 600, feeds, {}, problem)) << problem;
        }
        return sent;
    }
    QTemporaryDir m_dir;
    std::unique_ptr<HistoryStore> m_store;
};

TEST_F(HistoryWindowTest, ShowsTheChangesAndTheMapOfAnyMoment) {
    const std::vector<std::string> sent = Record(12);
    history::HistoryWindow window(m_store.get(), {}, WARMAP_DATA_DIR);
    window.resize(1150, 700);
    window.show();

    auto* list = window.findChild<history::ChangeListView*>(QStringLiteral("ChangeList"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Rows(), window.Changes().size());
    EXPECT_GT(window.Changes().size(), 11u);
    // The newest change comes first, read as the popup's line reads.
    EXPECT_TRUE(list->RowText(0).startsWith(history::LocalTimeText(window.Changes().back().time)))
        << list->RowText(0).toStdString();
    const QImage shown = list->viewport()->grab().toImage();
    int ink = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 300; ++x) ink += qGray(shown.pixel(x, y)) < 100;
    }
    EXPECT_GT(ink, 50) << "the first rows are drawn";

    // Every moment's map is the map the Warmap window draws from that moment's saved feed.
    const warmap::Skin skin = warmap::LoadSkin(WARMAP_DATA_DIR);
    keepmap::KeepMap reference(WARMAP_DATA_DIR, keepmap::KeepPos);
    QTemporaryDir copies;
    auto* map = window.findChild<warmap::MapView*>(QStringLiteral("HistoryMap"));
    ASSERT_TRUE(map);
    ASSERT_EQ(window.Moments().size(), sent.size());
    for (int moment : {0, 5, 11}) {
        window.ChooseMoment(moment);
        const std::string copy = copies.filePath(QStringLiteral("copy.xml")).toStdString();
        testing_support::WriteFile(copy, sent[static_cast<std::size_t>(moment)]);
        QImage expected;
        ASSERT_EQ(reference.Draw(copy, expected, skin.mapBackground).status, keepmap::MapOutcome::Status::Drawn);
        EXPECT_EQ(map->Surface(), expected) << "moment " << moment;
    }
    window.ChooseMoment(0);
    QImage latest;
    testing_support::WriteFile(copies.filePath(QStringLiteral("copy.xml")).toStdString(), sent.back());
    reference.Draw(copies.filePath(QStringLiteral("copy.xml")).toStdString(), latest, skin.mapBackground);
    EXPECT_NE(map->Surface(), latest) << "the first moment differs from the last";

    // A server nothing was recorded for says so instead of an empty chart.
    window.ChooseServer(2);
    auto* empty = window.findChild<QLabel*>(QStringLiteral("EmptyLbl"));
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(empty->text(), QStringLiteral("Noch kein Verlauf für diesen Server"));
}

// Guild names are the feed's text: whatever they hold, each reads back as one field, and none is run as
// a spreadsheet formula.
TEST_F(HistoryWindowTest, TheExportKeepsEveryGuildNameOneHarmlessField) {
    const std::vector<std::pair<std::string, std::string>> guilds = {
        {"Plain", "Plain"},
        {"Sword, Shield", "\"Sword, Shield\""},
        {"The \"Ravens\"", "\"The \"\"Ravens\"\"\""},
        {"Two\r\nLines", "\"Two\r\nLines\""},
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1", "'+1"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"Stra\u00dfenw\u00e4chter", "Stra\u00dfenw\u00e4chter"},
    };
    feedsim::Frontier frontier(2);
    std::string problem;
    for (std::size_t i = 0; i <= guilds.size(); ++i) {
        const feed::FeedDocument document = feed::FeedDocument::Parse(frontier.FeedXml(0));
        history::ArrivedFeed arrived{0, document.Date(), *history::HoldingsOf(document)};
        if (i > 0) arrived.state[0].guild = guilds[i - 1].first;
        ASSERT_TRUE(m_store->Record(static_cast<history::Seconds>(i), {arrived}, {}, problem)) << problem;
    }
    const feed::KeepNames names(WARMAP_DATA_DIR);
    const std::string csv = history::ChangesCsv(m_store->Changes(0, 0, 100), 0, *m_store, names);
    std::vector<std::string> rows;
    for (std::size_t start = 0, end; (end = csv.find("\r\n", start)) != std::string::npos; start = end + 2) {
        rows.push_back(csv.substr(start, end - start));
        // A line break inside a quoted field continues the row.
        while (std::count(rows.back().begin(), rows.back().end(), '"') % 2 == 1 &&
               (end = csv.find("\r\n", start = end + 2)) != std::string::npos)
            rows.back() += "\r\n" + csv.substr(start, end - start);
    }
    ASSERT_EQ(rows.size(), guilds.size() + 1);
    for (std::size_t i = 0; i < guilds.size(); ++i) {
        const std::string& row = rows[i + 1];
        EXPECT_TRUE(row.size() >= guilds[i].second.size() &&
                    row.compare(row.size() - guilds[i].second.size(), std::string::npos, guilds[i].second) == 0)
            << row;
    }
}

// The chart's counts after every pass are those of the state rebuilt there; thinning keeps the ends.
TEST_F(HistoryWindowTest, TheTimelineCountsWhatEachMomentHeld) {
    Record(40);
    const auto moments = m_store->Moments(0, 0, QDateTime::currentSecsSinceEpoch());
    ASSERT_EQ(moments.size(), 40u);
    const auto changes = m_store->Changes(0, moments[1].time, moments.back().time);
    const auto timeline =
        history::BuildTimeline(*m_store->StateAt(0, moments[0].pass), moments[0].time, changes, *m_store, 1000);
    ASSERT_GT(timeline.size(), 20u);
    for (const history::Moment& moment : moments) {
        const history::RealmCounts held = history::CountHoldings(*m_store->StateAt(0, moment.pass));
        EXPECT_EQ(history::PointAt(timeline, moment.time)->counts, held) << moment.date;
        int keeps = 0;
        for (int count : held.keeps) keeps += count;
        EXPECT_EQ(keeps, 21) << "every keep belongs to one of the three realms";
    }
    const auto thinned =
        history::BuildTimeline(*m_store->StateAt(0, moments[0].pass), moments[0].time, changes, *m_store, 5);
    EXPECT_LE(thinned.size(), 6u);
    EXPECT_EQ(thinned.front().time, timeline.front().time);
    EXPECT_EQ(thinned.back().counts, timeline.back().counts);
}

}  // namespace
