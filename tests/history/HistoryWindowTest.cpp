// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "feed/FeedDocument.h"
#include "feed/KeepNames.h"
#include "history/ChangeListView.h"
#include "history/ChangeText.h"
#include "history/HistoryChart.h"
#include "history/HistoryStore.h"
#include "history/HistoryWindow.h"
#include "history/TimeAxis.h"
#include "history/Timeline.h"
#include "keepmap/KeepPos.h"
#include "notify/MessageLineRenderer.h"
#include "platform/NameText.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempDir.h"
#include "tools/feedsim/Frontier.h"
#include "warmap/MapView.h"
#include "warmap/Skin.h"

namespace {

using history::HistoryStore;

class HistoryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto opened = HistoryStore::open(m_dir.filePath(QStringLiteral("h.sqlite")).toStdString());
        ASSERT_TRUE(testing_support::succeeded(opened));
        m_store = std::move(*opened);
    }
    // passes passes of Dartmoor and Logres, ten minutes apart up to now; returns the feeds sent.
    std::vector<std::string> record(int passes) {
        feedsim::Frontier frontier(12);
        std::vector<std::string> sent;
        const history::Seconds now = QDateTime::currentSecsSinceEpoch();
        for (int pass = 0; pass < passes; ++pass) {
            if (pass) frontier.advance();
            sent.push_back(frontier.feedXml(0));
            std::vector<history::ArrivedFeed> feeds;
            for (int server : {0, 1}) {
                const feed::FeedDocument document = feed::FeedDocument::parse(frontier.feedXml(server));
                feeds.push_back({server, document.date(), history::holdingsOf(document)});
            }
            EXPECT_TRUE(testing_support::succeeded(m_store->record(now - (passes - 1 - pass) * 600, feeds, {})));
        }
        return sent;
    }
    QTemporaryDir m_dir;
    std::unique_ptr<HistoryStore> m_store;
};

TEST_F(HistoryWindowTest, ShowsTheChangesAndTheMapOfAnyMoment) {
    const std::vector<std::string> sent = record(12);
    history::HistoryWindow window(m_store.get(), {}, WARMAP_DATA_DIR);
    window.resize(1150, 700);
    window.show();

    auto* list = window.findChild<history::ChangeListView*>(QStringLiteral("ChangeList"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->rows(), window.changes().size());
    EXPECT_GT(window.changes().size(), 11u);
    // The newest change comes first, read as the popup's line reads.
    EXPECT_TRUE(list->rowText(0).startsWith(history::localTimeText(window.changes().back().time)))
        << list->rowText(0).toStdString();
    const QImage shown = list->viewport()->grab().toImage();
    int ink = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 300; ++x) ink += qGray(shown.pixel(x, y)) < 100;
    }
    EXPECT_GT(ink, 50) << "the first rows are drawn";

    // Every moment's map is the map the Warmap window draws from that moment's saved feed.
    const warmap::Skin skin = *warmap::loadSkin(WARMAP_DATA_DIR);
    keepmap::KeepMap reference(WARMAP_DATA_DIR, keepmap::kKeepPos);
    QTemporaryDir copies;
    auto* map = window.findChild<warmap::MapView*>(QStringLiteral("HistoryMap"));
    ASSERT_TRUE(map);
    ASSERT_EQ(window.moments().size(), sent.size());
    for (int moment : {0, 5, 11}) {
        window.chooseMoment(moment);
        const std::string copy = copies.filePath(QStringLiteral("copy.xml")).toStdString();
        testing_support::writeFile(copy, sent[static_cast<std::size_t>(moment)]);
        QImage expected;
        ASSERT_EQ(reference.draw(copy, expected, skin.mapBackground).status, keepmap::MapOutcome::Status::Drawn);
        EXPECT_EQ(map->surface(), expected) << "moment " << moment;
    }
    window.chooseMoment(0);
    QImage latest;
    testing_support::writeFile(copies.filePath(QStringLiteral("copy.xml")).toStdString(), sent.back());
    reference.draw(copies.filePath(QStringLiteral("copy.xml")).toStdString(), latest, skin.mapBackground);
    EXPECT_NE(map->surface(), latest) << "the first moment differs from the last";

    // A server nothing was recorded for says so instead of an empty chart.
    window.chooseServer(2);
    auto* empty = window.findChild<QLabel*>(QStringLiteral("EmptyLabel"));
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
    for (std::size_t i = 0; i <= guilds.size(); ++i) {
        const feed::FeedDocument document = feed::FeedDocument::parse(frontier.feedXml(0));
        history::ArrivedFeed arrived{0, document.date(), history::holdingsOf(document)};
        if (i > 0) arrived.state[0].guild = guilds[i - 1].first;
        ASSERT_TRUE(testing_support::succeeded(m_store->record(static_cast<history::Seconds>(i), {arrived}, {})));
    }
    const feed::KeepNames names(WARMAP_DATA_DIR);
    const std::string csv = history::changesCsv(m_store->changes(0, 0, 100), 0, *m_store, names);
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

// A structure held by guilds with hostile names: its story, the contested list and the hover show each
// as plain text, cut and with its control characters made visible; a click on the map opens the story.
TEST_F(HistoryWindowTest, AStructuresStoryShowsAnyGuildNameAsPlainText) {
    const std::vector<std::string> guilds = {"<b>Raben</b> &amp;", "\u0627\u0644\u0641\u0631\u0633\u0627\u0646",
                                             "Bell\x07\x1b[31m", std::string(10000, 'x'), ""};
    feedsim::Frontier frontier(4);
    const feed::FeedDocument document = feed::FeedDocument::parse(frontier.feedXml(0));
    history::ArrivedFeed arrived{0, document.date(), history::holdingsOf(document)};
    const history::Seconds now = QDateTime::currentSecsSinceEpoch();
    for (std::size_t i = 0; i < guilds.size(); ++i) {
        arrived.state[0].guild = guilds[i];
        ASSERT_TRUE(testing_support::succeeded(
            m_store->record(now - static_cast<history::Seconds>(guilds.size() - i) * 3600, {arrived}, {})));
    }
    history::HistoryWindow window(m_store.get(), {}, WARMAP_DATA_DIR);
    window.resize(1150, 800);
    window.show();
    window.chooseRange(history::HistoryWindow::Range::All);
    const std::string id = arrived.state[0].id;
    const feed::KeepNames names(WARMAP_DATA_DIR);
    const QString name = QString::fromStdString(history::structureName(id, names));

    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("HistoryTabs"));
    auto* contested = window.findChild<QTreeWidget*>(QStringLiteral("ContestedList"));
    tabs->setCurrentWidget(contested);
    ASSERT_EQ(contested->topLevelItemCount(), 1);  // the others never changed
    EXPECT_EQ(contested->topLevelItem(0)->text(0), name);
    EXPECT_EQ(contested->topLevelItem(0)->text(1), QStringLiteral("4"));

    // The map's click opens the story of the structure under it.
    auto* map = window.findChild<warmap::MapView*>(QStringLiteral("HistoryMap"));
    const QPointF scale(map->width() / double(map->naturalSize().width()),
                        map->height() / double(map->naturalSize().height()));
    const QPoint centre = keepmap::kKeepPos[std::stoi(id)];
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(int(centre.x() * scale.x()), int(centre.y() * scale.y())));
    ASSERT_EQ(tabs->currentIndex(), 1);
    auto* holds = window.findChild<QTreeWidget*>(QStringLiteral("HoldList"));
    ASSERT_EQ(holds->topLevelItemCount(), static_cast<int>(guilds.size()));
    for (std::size_t i = 0; i < guilds.size(); ++i) {
        const QString shown = holds->topLevelItem(static_cast<int>(guilds.size() - 1 - i))->text(1);
        const QString guild = QString::fromStdString(guilds[i]);
        EXPECT_EQ(shown, guild.isEmpty() ? QStringLiteral("ohne Gilde") : platform::shownName(guild)) << i;
        EXPECT_LE(shown.size(), 62);
        EXPECT_FALSE(shown.contains(QChar(0x1b))) << i;
    }
    auto* summary = window.findChild<QLabel*>(QStringLiteral("StorySummary"));
    EXPECT_EQ(summary->textFormat(), Qt::PlainText);
    EXPECT_TRUE(summary->text().startsWith(name + QStringLiteral(": 4 Änderungen, am längsten gehalten von ")))
        << summary->text().toStdString();

    // The hover names the holder at the newest moment, the guild that holds none.
    QMouseEvent move(QEvent::MouseMove, QPointF(centre.x() * scale.x(), centre.y() * scale.y()), QPointF(),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(map, &move);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("HistoryHoverLabel"))->text(),
              name + QStringLiteral(": ") + QString::fromStdString(arrived.state[0].realm) +
                  QStringLiteral(" (ohne Gilde), seit ") + history::localTimeText(now - 3600));
}

// Lengths in their two largest units, to the minute.
TEST(DurationText, TellsTheTwoLargestUnits) {
    const std::pair<history::Seconds, const char*> lengths[] = {
        {0, "0 Min."},    {59, "0 Min."},          {60, "1 Min."},
        {3600, "1 Std."}, {3660, "1 Std. 1 Min."}, {86399, "23 Std. 59 Min."},
        {86400, "1 Tag"}, {90000, "1 Tag 1 Std."}, {3 * 86400 + 4 * 3600 + 1800, "3 Tage 4 Std."},
        {-5, "0 Min."},
    };
    for (const auto& [length, text] : lengths)
        EXPECT_EQ(history::durationText(length), QString::fromUtf8(text)) << length;
}

// The chart's counts after every pass are those of the state rebuilt there; thinning keeps the ends.
TEST_F(HistoryWindowTest, TheTimelineCountsWhatEachMomentHeld) {
    record(40);
    const auto moments = m_store->moments(0, 0, QDateTime::currentSecsSinceEpoch());
    ASSERT_EQ(moments.size(), 40u);
    const auto changes = m_store->changes(0, moments[1].time, moments.back().time);
    const auto timeline =
        history::buildTimeline(*m_store->stateAt(0, moments[0].pass), moments[0].time, changes, *m_store, 1000);
    ASSERT_GT(timeline.size(), 20u);
    for (const history::Moment& moment : moments) {
        const history::RealmCounts held = history::countHoldings(*m_store->stateAt(0, moment.pass));
        EXPECT_EQ(history::pointAt(timeline, moment.time)->counts, held) << moment.date;
        int keeps = 0;
        for (int count : held.keeps) keeps += count;
        EXPECT_EQ(keeps, 21) << "every keep belongs to one of the three realms";
    }
    const auto thinned =
        history::buildTimeline(*m_store->stateAt(0, moments[0].pass), moments[0].time, changes, *m_store, 5);
    EXPECT_LE(thinned.size(), 6u);
    EXPECT_EQ(thinned.front().time, timeline.front().time);
    EXPECT_EQ(thinned.back().counts, timeline.back().counts);
}

// On a 1024 x 600 screen: everything fits, the map shrinks with its proportions, the chart and the
// list share the left; pointing at the chart never makes the window grow; the read-out names the
// chosen server and moment, also right after switching server.
TEST_F(HistoryWindowTest, FitsASmallScreenAndSaysWhatIsChosen) {
    record(30);
    history::HistoryWindow window(m_store.get(), {}, WARMAP_DATA_DIR);
    const QSize smallest = window.minimumSizeHint();
    EXPECT_LE(smallest.width(), 1000);
    EXPECT_LE(smallest.height(), 560);
    window.resize(1000, 560);
    window.show();
    QCoreApplication::processEvents();
    auto* map = window.findChild<warmap::MapView*>(QStringLiteral("HistoryMap"));
    auto* chart = window.findChild<history::HistoryChart*>(QStringLiteral("HistoryChart"));
    auto* list = window.findChild<history::ChangeListView*>(QStringLiteral("ChangeList"));
    auto* readOut = window.findChild<QLabel*>(QStringLiteral("PointLabel"));
    ASSERT_TRUE(map && chart && list && readOut);
    EXPECT_EQ(window.size(), QSize(1000, 560));
    const QSize natural = map->naturalSize();
    EXPECT_LT(map->height(), natural.height());
    EXPECT_NEAR(map->width() * natural.height(), map->height() * natural.width(), natural.height());
    for (QWidget* part : std::initializer_list<QWidget*>{map, chart, list}) {
        const QRect inWindow(part->mapTo(&window, QPoint(0, 0)), part->size());
        EXPECT_TRUE(window.rect().contains(inWindow)) << part->objectName().toStdString();
    }
    EXPECT_GT(chart->height(), list->height()) << "the chart gets the larger share";

    for (int x = 10; x < chart->width(); x += 37) QTest::mouseMove(chart->viewport(), QPoint(x, chart->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(1000, 560));
    EXPECT_EQ(window.minimumSizeHint(), smallest);
    EXPECT_TRUE(readOut->text().startsWith(QStringLiteral("Dartmoor, "))) << readOut->text().toStdString();

    window.chooseServer(1);
    const history::Moment& moment = window.moments().back();
    const history::TimelinePoint held{moment.time, history::countHoldings(*m_store->stateAt(1, moment.pass))};
    EXPECT_EQ(readOut->text(), QStringLiteral("Logres, ") + history::HistoryChart::describePoint(held, moment.time));
}

// Home and End reach the ends of the list; the scroll area's own keys page through it.
TEST_F(HistoryWindowTest, TheListMovesWithTheKeysOfEveryList) {
    record(30);
    history::HistoryWindow window(m_store.get(), {}, WARMAP_DATA_DIR);
    window.resize(1000, 560);
    window.show();
    auto* list = window.findChild<history::ChangeListView*>(QStringLiteral("ChangeList"));
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const struct {
        Qt::Key key;
        int expected;
    } presses[] = {{Qt::Key_End, bar->maximum()},
                   {Qt::Key_PageUp, bar->maximum() - bar->pageStep()},
                   {Qt::Key_Home, 0},
                   {Qt::Key_PageDown, bar->pageStep()}};
    for (const auto& press : presses) {
        QTest::keyClick(list, press.key);
        EXPECT_EQ(bar->value(), press.expected) << QKeySequence(press.key).toString().toStdString();
    }
}

// The export says what it wrote.
TEST_F(HistoryWindowTest, AnExportNamesTheFileAndItsRows) {
    record(5);
    history::HistoryWindow window(m_store.get(), {}, WARMAP_DATA_DIR);
    const QString path = m_dir.filePath(QStringLiteral("export.csv"));
    ASSERT_TRUE(testing_support::succeeded(window.exportTo(path)));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
              QStringLiteral("%1 Änderungen nach %2 geschrieben.").arg(window.changes().size()).arg(path));
    EXPECT_FALSE(window.exportTo(m_dir.filePath(QStringLiteral("no/such/folder.csv"))));
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text().isEmpty());
}

// A change of guild alone names both guilds; a change of realm the new realm and guild.
TEST_F(HistoryWindowTest, AChangeLineSaysWhatChanged) {
    feedsim::Frontier frontier(3);
    const feed::FeedDocument document = feed::FeedDocument::parse(frontier.feedXml(0));
    history::ArrivedFeed first{0, document.date(), history::holdingsOf(document)};
    history::ArrivedFeed second = first;
    second.state[0].guild = "Neue Herren";
    second.state[0].realm = first.state[0].realm;
    second.state[1].realm = first.state[1].realm == "Albion" ? "Midgard" : "Albion";
    second.state[1].guild = "";
    ASSERT_TRUE(testing_support::succeeded(m_store->record(100, {first}, {})));
    ASSERT_TRUE(testing_support::succeeded(m_store->record(200, {second}, {})));
    const feed::KeepNames names(WARMAP_DATA_DIR);
    const std::vector<history::Change> changes = m_store->changes(0, 200, 200);
    ASSERT_EQ(changes.size(), 2u);
    const QString time = history::localTimeText(200);
    const std::string oldGuild = first.state[0].guild.empty() ? "ohne Gilde" : first.state[0].guild;
    EXPECT_EQ(notify::messageLineText(QString::fromStdString(history::changeLine(changes[0], *m_store, names))),
              time + QStringLiteral("  ") +
                  QString::fromStdString(names.keepName(first.state[0].id) + "  " + oldGuild + " \u2192 Neue Herren"));
    EXPECT_EQ(notify::messageLineText(QString::fromStdString(history::changeLine(changes[1], *m_store, names))),
              time + QStringLiteral("  ") +
                  QString::fromStdString(names.keepName(first.state[1].id) + " \u2192 " + second.state[1].realm +
                                         "  ohne Gilde"));
}

// A publisher that adds a structure and later drops one: the list tells only what changed hands, the
// new structure by its id; the map of the shorter feed draws what it can and says what is missing; the
// chart counts what each feed held.
TEST_F(HistoryWindowTest, FeedsThatGrowAndShrinkAreShownAsTheyWere) {
    feedsim::Frontier frontier(3);
    const feed::FeedDocument document = feed::FeedDocument::parse(frontier.feedXml(0));
    const history::Seconds now = QDateTime::currentSecsSinceEpoch();
    history::ArrivedFeed grown{0, document.date(), history::holdingsOf(document)};
    grown.state.push_back({"105", "Albion", "Neue Herren"});
    history::ArrivedFeed taken = grown;
    taken.state.back().realm = "Hibernia";
    history::ArrivedFeed shrunk = taken;
    shrunk.state.resize(104);
    for (int pass = 0; pass < 3; ++pass) {
        const history::ArrivedFeed& feed = pass == 0 ? grown : pass == 1 ? taken : shrunk;
        ASSERT_TRUE(testing_support::succeeded(m_store->record(now - (2 - pass) * 600, {feed}, {})));
    }
    history::HistoryWindow window(m_store.get(), {}, WARMAP_DATA_DIR);
    window.show();
    auto* list = window.findChild<history::ChangeListView*>(QStringLiteral("ChangeList"));
    ASSERT_EQ(list->rows(), 1u);
    EXPECT_TRUE(list->rowText(0).endsWith(QStringLiteral("Bauwerk 105 \u2192 Hibernia  Neue Herren")))
        << list->rowText(0).toStdString();
    window.chooseMoment(2);
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("MomentLabel"))
                    ->text()
                    .endsWith(QStringLiteral("Karte unvollständig: Eintrag 104 fehlt")));
    const history::Change* last = nullptr;
    const auto changes = m_store->changes(0, 0, now);
    for (const auto& change : changes) last = &change;
    ASSERT_TRUE(last && last->hasDeparted());
    const auto timeline =
        history::buildTimeline(grown.state, now - 1200, {changes.begin(), changes.end()}, *m_store, 10);
    EXPECT_EQ(timeline.back().counts, history::countHoldings(shrunk.state));
    EXPECT_NE(history::countHoldings(grown.state), history::countHoldings(shrunk.state));
}

// The time axis: ticks on whole local hours or days, never more than asked; long stretches are drawn
// as the state at every whole period.
TEST(TimeAxis, TicksAndStepsLieOnWholeHoursAndDays) {
    const history::Seconds now = QDateTime(QDate(2026, 12, 9), QTime(15, 21, 7)).toSecsSinceEpoch();
    constexpr history::Seconds kHour = 3600, kDay = 24 * kHour;
    const struct {
        history::Seconds span;
        const char* first;  // the first tick's label
        int secondsApart;   // between ticks on one side of a daylight-saving change
    } cases[] = {{kDay, "18:00", 3 * 3600}, {7 * kDay, "03.12.", kDay}, {30 * kDay, "16.11.", 7 * kDay}};
    for (const auto& c : cases) {
        const std::vector<history::TimeTick> ticks = history::timeTicks(now - c.span, now, 8);
        ASSERT_GE(ticks.size(), 3u) << c.span;
        EXPECT_LE(ticks.size(), 8u) << c.span;
        EXPECT_EQ(ticks.front().label, QString::fromUtf8(c.first)) << c.span;
        for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_EQ(ticks[i].time - ticks[i - 1].time, c.secondsApart);
        for (const history::TimeTick& tick : ticks) {
            EXPECT_EQ(QDateTime::fromSecsSinceEpoch(tick.time).time().minute(), 0) << tick.label.toStdString();
            EXPECT_GT(tick.time, now - c.span - 1);
            EXPECT_LE(tick.time, now);
        }
    }
    EXPECT_EQ(history::samplePeriod(kDay), 0);
    const std::vector<history::Seconds> periods =
        history::wholePeriods(now - 30 * kDay, now, history::samplePeriod(30 * kDay));
    ASSERT_EQ(periods.size(), 60u);
    EXPECT_EQ(QDateTime::fromSecsSinceEpoch(periods.back()).time(), QTime(12, 0));
    const std::vector<history::TimelinePoint> timeline = {
        {now - 30 * kDay, {{1, 0, 0}, {}}}, {now - 20 * kDay + 5, {{2, 0, 0}, {}}}, {now - 3, {{3, 0, 0}, {}}}};
    const std::vector<history::TimelinePoint> sampled = history::sampledAt(timeline, periods);
    ASSERT_EQ(sampled.size(), 61u);
    EXPECT_EQ(sampled.front().time, timeline.front().time);
    EXPECT_EQ(sampled[1].counts.keeps[0], 1);
    EXPECT_EQ(sampled.back().counts.keeps[0], 2) << "the last pass lies after the last whole period";
}

}  // namespace
