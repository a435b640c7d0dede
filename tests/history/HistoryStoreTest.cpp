// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <map>
#include <random>

#include "feed/FeedDocument.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/OpenHistory.h"
#include "tests/support/EnvScope.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempDir.h"
#include "tools/feedsim/Frontier.h"

namespace {

using history::ArrivedFeed;
using history::HistoryStore;
using history::ServerState;
using testing_support::readFile;
using testing_support::writeFile;

ArrivedFeed feedOf(const feedsim::Frontier& frontier, int server) {
    const feed::FeedDocument document = feed::FeedDocument::parse(frontier.feedXml(server));
    return {server, document.date(), history::holdingsOf(document)};
}

std::unique_ptr<HistoryStore> openOrFail(const std::string& path,
                                         const std::vector<history::SchemaStep>& steps = history::schemaSteps()) {
    auto store = HistoryStore::open(path, steps);
    EXPECT_TRUE(testing_support::succeeded(store));
    return store ? std::move(*store) : nullptr;
}

std::string integrityOf(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string verdict = "cannot ask";
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        verdict = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return verdict;
}

class HistoryStoreTest : public ::testing::Test {
protected:
    std::string storePath() const { return m_dir.filePath(QStringLiteral("history.sqlite")).toStdString(); }
    QTemporaryDir m_dir;
};

// A feed as a publisher may reshape it: 95 to 115 positions, structures dropped, added and swapped.
void reshape(ServerState& state, std::mt19937& random) {
    if (random() % 3 == 0) return;  // most feeds keep their shape
    const std::size_t size = 95 + random() % 21;
    while (state.size() > size) state.erase(state.begin() + static_cast<long>(random() % state.size()));
    static const char* const kRealms[] = {"Albion", "Midgard", "Hibernia", "0"};
    while (state.size() < size)
        state.insert(state.begin() + static_cast<long>(random() % (state.size() + 1)),
                     {std::to_string(105 + random() % 20), kRealms[random() % 4], random() % 2 ? "" : "Neue Herren"});
    for (int swaps = static_cast<int>(random() % 3); swaps > 0; --swaps)
        std::swap(state[random() % state.size()], state[random() % state.size()]);
}

// Every recorded moment of every server is rebuilt exactly as its feed was (ids, realms, guilds and how
// many), across reshaped feeds, whole states, servers missing from passes, and the store being closed
// and opened again.
TEST_F(HistoryStoreTest, RebuildsEveryRecordedMomentAsTheFeedWas) {
    feedsim::Frontier frontier(7);
    std::mt19937 random(11);
    std::map<std::pair<int, std::int64_t>, ServerState> saved;  // (server, pass) -> state
    std::map<std::pair<int, std::int64_t>, std::size_t> changed;
    auto store = openOrFail(storePath());
    constexpr int kPasses = 2 * HistoryStore::kRecordingsPerWholeState + 30;
    for (int pass = 1; pass <= kPasses; ++pass) {
        frontier.advance();
        std::vector<ArrivedFeed> feeds;
        for (int server = 0; server < feedsim::Frontier::kServers; ++server) {
            if (random() % 7 == 0) continue;  // this server's feed did not come
            feeds.push_back(feedOf(frontier, server));
            reshape(feeds.back().state, random);
            if (const auto& last = store->lastState(server)) {
                const ServerState& now = feeds.back().state;
                std::size_t differing = 0;
                for (std::size_t i = 0; i < std::max(last->size(), now.size()); ++i)
                    differing += i >= last->size() || i >= now.size() || (*last)[i] != now[i];
                changed[{server, pass}] = differing;
            }
            saved[{server, pass}] = feeds.back().state;
        }
        ASSERT_TRUE(testing_support::succeeded(store->record(1000 + pass * 600, feeds, {})));
        if (pass % 100 == 0) store = openOrFail(storePath());
    }
    store = openOrFail(storePath());
    for (const auto& [key, state] : saved) {
        const auto rebuilt = store->stateAt(key.first, key.second);
        ASSERT_TRUE(rebuilt) << "server " << key.first << " pass " << key.second;
        ASSERT_EQ(*rebuilt, state) << "server " << key.first << " pass " << key.second;
    }
    // The change rows of each pass are exactly the structures that differ from the server's last feed.
    for (int server = 0; server < feedsim::Frontier::kServers; ++server) {
        std::map<std::int64_t, std::size_t> rows;
        for (const history::Change& change : store->changes(server, 0, 1000 + kPasses * 600)) {
            ++rows[change.pass];
            const ServerState& after = saved.at({server, change.pass});
            const auto position = static_cast<std::size_t>(change.position);
            ASSERT_EQ(change.hasDeparted(), position >= after.size());
            if (change.hasDeparted()) continue;
            EXPECT_EQ(store->word(change.id), after[position].id);
            EXPECT_EQ(store->word(change.newRealm), after[position].realm);
            EXPECT_EQ(store->word(change.newGuild), after[position].guild);
        }
        for (const auto& [key, count] : changed) {
            if (key.first == server) {
                EXPECT_EQ(rows[key.second], count) << "server " << server << " pass " << key.second;
            }
        }
    }
    EXPECT_EQ(integrityOf(storePath()), "ok");
}

// What the file holds and when it was changed, to show a refused file was left alone.
std::string fingerprint(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return "missing";
    std::string bytes = S_ISREG(info.st_mode) ? readFile(path) : std::string();
    return std::to_string(info.st_ino) + "/" + std::to_string(info.st_mode) + "/" + std::to_string(info.st_size) + "/" +
           std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) + "/" +
           std::to_string(std::hash<std::string>()(bytes));
}

// A valid history of a few passes.
void makeHistory(const std::string& path, int passes = 3) {
    feedsim::Frontier frontier(3);
    auto store = openOrFail(path);
    for (int pass = 0; pass < passes; ++pass) {
        frontier.advance();
        ASSERT_TRUE(testing_support::succeeded(store->record(pass, {feedOf(frontier, 0)}, {"^bDM: line"})));
    }
}

void runSql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// Each file the program must not use: refused with one log line naming the file and the cause, and
// left exactly as it was.
TEST_F(HistoryStoreTest, RefusesEveryFileItMustNotUseAndLeavesItAsItWas) {
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> make;
        const char* cause;
    };
    const std::string other = m_dir.filePath(QStringLiteral("other.sqlite")).toStdString();
    const std::vector<Case> cases = {
        {"a link to a good history",
         [&](const std::string& p) {
             makeHistory(other);
             ::symlink(other.c_str(), p.c_str());
         },
         "is a symbolic link"},
        {"a folder", [](const std::string& p) { ::mkdir(p.c_str(), 0700); }, "is not a regular file"},
        {"a FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); }, "is not a regular file"},
        {"another user's history",
         [](const std::string& p) {
             makeHistory(p);
             ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
         },
         "belongs to another user"},
        {"garbage", [](const std::string& p) { writeFile(p, std::string(5000, 'x') + "SQLite format 3"); },
         "is not a Warmap history"},
        {"half of a history",
         [](const std::string& p) {
             makeHistory(p, 200);
             std::filesystem::resize_file(p, std::filesystem::file_size(p) / 2);
         },
         "malformed"},
        {"another program's database", [](const std::string& p) { runSql(p, "CREATE TABLE notes(text TEXT)"); },
         "holds other tables"},
        {"a newer Warmap's history",
         [](const std::string& p) {
             makeHistory(p);
             runSql(p, "PRAGMA user_version=99");
         },
         "newer Warmap (layout 99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = storePath();
        std::filesystem::remove_all(path);
        std::filesystem::remove_all(other);
        c.make(path);
        // A kill leaves the checkpoint undone; what is compared is the file as the user left it.
        const std::string before = fingerprint(path);
        testing_support::LogRecorder log;
        EXPECT_FALSE(history::openHistory(path));
        EXPECT_EQ(log.matching(QStringLiteral("warmap.history"), {QString::fromStdString(path), c.cause}).size(), 1u)
            << log.lines().join('\n').toStdString();
        EXPECT_EQ(fingerprint(path), before);
    }
}

// Another program holding the file locked: no history this run, nothing waits long, nothing changes.
TEST_F(HistoryStoreTest, AFileLockedByAnotherProgramIsLeftToIt) {
    makeHistory(storePath());
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(release[1]);
        sqlite3* db = nullptr;
        sqlite3_open(storePath().c_str(), &db);
        const bool locked = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        char byte = locked ? 'y' : 'n';
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(release[0], &byte, 1);
        _exit(0);
    }
    ::close(release[0]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    testing_support::LogRecorder log;
    EXPECT_FALSE(history::openHistory(storePath()));
    EXPECT_EQ(log.matching(QStringLiteral("warmap.history"), {QString::fromStdString(storePath()), "locked"}).size(),
              1u)
        << log.lines().join('\n').toStdString();
    ::close(release[1]);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(openOrFail(storePath()));
}

// A disk that fills up, or is read-only: the pass under way is not kept, the file stays whole, and
// nothing more is recorded this run.
TEST_F(HistoryStoreTest, AFullOrReadOnlyDiskStopsTheHistoryNotThePass) {
    makeHistory(storePath());
    auto store = history::openHistory(storePath());
    ASSERT_TRUE(store);
    history::HistoryRecorder recorder(std::move(*store));
    feedsim::Frontier frontier(5);
    for (int i = 0; i < 400; ++i) frontier.advance();
    const feed::FeedDocument document = feed::FeedDocument::parse(frontier.feedXml(1));
    {
        testing_support::LogRecorder log;
        const struct sigaction ignore {};
        struct sigaction previous {};
        struct sigaction quiet = ignore;
        quiet.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &quiet, &previous);
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const struct rlimit full = {0, limit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &full);
        recorder.feedArrived(1, document);
        recorder.passEnded(10, {"^bLOG: line"});
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::sigaction(SIGXFSZ, &previous, nullptr);
        EXPECT_EQ(
            log.matching(QStringLiteral("warmap.history"), {"no more history", QString::fromStdString(storePath())})
                .size(),
            1u)
            << log.lines().join('\n').toStdString();
        EXPECT_FALSE(recorder.isRecording());
        recorder.feedArrived(1, document);
        recorder.passEnded(11, {});
        EXPECT_EQ(log.lines().size(), 1);
    }
    EXPECT_EQ(integrityOf(storePath()), "ok");
    auto reopened = openOrFail(storePath());
    EXPECT_FALSE(reopened->lastState(1));
    EXPECT_EQ(reopened->recentLines(10).size(), 3u);

    // Read-only: as root every file is writable, so a child that has become "nobody" opens it.
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the file to another user";
    reopened.reset();
    // Our test folder is closed to others, so the other user's folder lies in the shared one.
    std::string folder = (std::filesystem::temp_directory_path() / "warmap-readonly-XXXXXX").string();
    ASSERT_TRUE(::mkdtemp(folder.data()));
    ::chmod(folder.c_str(), 0500);
    const std::string readOnly = folder + "/history.sqlite";
    std::filesystem::copy_file(storePath(), readOnly);
    ::chmod(readOnly.c_str(), 0400);
    ASSERT_EQ(::chown(readOnly.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    const std::string before = fingerprint(readOnly);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(2);
        const auto opened = HistoryStore::open(readOnly);
        const bool refused = !opened && opened.error().find("Permission denied") != std::string::npos;
        if (!refused) std::fprintf(stderr, "problem: %s\n", opened ? "opened" : opened.error().c_str());
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(fingerprint(readOnly), before);
    std::filesystem::remove_all(folder);
}

// Every feed that arrives is recorded whole, whatever its length; what cannot be recorded says so.
TEST_F(HistoryStoreTest, TheRecorderKeepsFeedsOfAnyLengthAndSaysWhatItCannotKeep) {
    history::HistoryRecorder recorder(openOrFail(storePath()));
    const struct {
        std::string xml;
        int logged;  // lines saying it was not recorded
        std::size_t positions;
    } feeds[] = {
        {testing_support::FeedBuilder().xml(), 0, 105},
        {testing_support::FeedBuilder().count(104).xml(), 0, 104},
        {testing_support::FeedBuilder().count(106).id(105, "105").realm(105, "Midgard").xml(), 0, 106},
        {"<html><body>Wartung</body></html>", 1, 106},
        {"<keeps><keep id=\"0\" realm=\"Albion\" guildname=\"\"/></keeps>", 1, 106},
    };
    for (std::size_t pass = 0; pass < std::size(feeds); ++pass) {
        testing_support::LogRecorder log;
        recorder.feedArrived(2, feed::FeedDocument::parse(feeds[pass].xml));
        recorder.passEnded(static_cast<history::Seconds>(100 + pass), {});
        EXPECT_EQ(log.matching(QStringLiteral("warmap.history"), {"not recorded", "Avalon"}).size(),
                  static_cast<qsizetype>(feeds[pass].logged))
            << pass;
    }
    auto store = openOrFail(storePath());
    const auto moments = store->moments(2, 0, 1000);
    ASSERT_EQ(moments.size(), 3u);
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const auto state = store->stateAt(2, moments[i].pass);
        ASSERT_TRUE(state);
        EXPECT_EQ(*state, history::holdingsOf(feed::FeedDocument::parse(feeds[i].xml))) << i;
        EXPECT_EQ(state->size(), feeds[i].positions);
    }
    EXPECT_EQ(store->stateAt(2, moments[2].pass)->back(), (history::Holding{"105", "Midgard", "G"}));
}

// On a real disk that fills up or turns read-only, every line names the cause the system gave.
TEST_F(HistoryStoreTest, APlaceThatCannotBeWrittenIsLoggedWithTheSystemsCause) {
    const std::string disk = m_dir.filePath(QStringLiteral("disk")).toStdString();
    ASSERT_EQ(::mkdir(disk.c_str(), 0700), 0);
    if (::mount("warmap-test", disk.c_str(), "tmpfs", 0, "size=256k,mode=0700") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    const std::unique_ptr<const char, void (*)(const char*)> unmount(disk.c_str(), [](const char* p) { ::umount(p); });
    testing_support::EnvScope env;
    env.set("XDG_DATA_HOME", QByteArray::fromStdString(disk));
    feedsim::Frontier frontier(5);
    testing_support::LogRecorder log;
    {
        auto opened = history::openHistory(history::historyFilePath());
        ASSERT_TRUE(testing_support::succeeded(opened));
        history::HistoryRecorder recorder(std::move(*opened));
        ASSERT_TRUE(recorder.isRecording());
        const int fd = ::open((disk + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
        for (int pass = 0; pass < 50 && recorder.isRecording(); ++pass) {
            frontier.advance();
            recorder.feedArrived(0, feed::FeedDocument::parse(frontier.feedXml(0)));
            recorder.passEnded(pass, {"^bDM: line"});
        }
    }
    ASSERT_EQ(::mount(nullptr, disk.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0) << std::strerror(errno);
    EXPECT_FALSE(history::openHistory(history::historyFilePath()));
    env.set("XDG_DATA_HOME", QByteArray::fromStdString(disk + "/elsewhere"));
    EXPECT_FALSE(history::openHistory(history::historyFilePath()));
    const QStringList said = log.matching(QStringLiteral("warmap.history"), {});
    ASSERT_EQ(said.size(), 3) << log.lines().join('\n').toStdString();
    EXPECT_TRUE(said[0].contains("No space left on device")) << said[0].toStdString();
    EXPECT_TRUE(said[1].contains("cannot be written: Read-only file system")) << said[1].toStdString();
    EXPECT_TRUE(said[2].contains("/elsewhere/warmap cannot be created: Read-only file system"))
        << said[2].toStdString();
    for (const QString& line : said) std::printf("%s\n", qPrintable(line));
}

// A kill at any moment of recording leaves a whole file with every pass either all there or not at all.
TEST_F(HistoryStoreTest, AKillDuringRecordingLosesAtMostThePassUnderWay) {
    std::mt19937 random(3);
    int lastCount = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto opened = HistoryStore::open(storePath());
            if (!opened) _exit(1);
            const std::unique_ptr<HistoryStore> store = std::move(*opened);
            // Pass k records the frontier after k steps, so a rebuilt state shows which pass it is.
            const int done = static_cast<int>(store->moments(0, 0, 1 << 30).size());
            feedsim::Frontier frontier(9);
            for (int step = 0; step < done; ++step) frontier.advance();
            for (;;) {
                frontier.advance();
                std::vector<ArrivedFeed> feeds;
                for (int server = 0; server < feedsim::Frontier::kServers; ++server)
                    feeds.push_back(feedOf(frontier, server));
                if (!store->record(frontier.steps(), feeds, {"^bDM: x", "^bLOG: y"})) _exit(1);
            }
        }
        ::usleep(static_cast<useconds_t>(20000 + random() % 60000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the recording child ended by itself: " << status;
        ASSERT_EQ(integrityOf(storePath()), "ok") << "round " << round;
        auto store = openOrFail(storePath());
        ASSERT_TRUE(store);
        const auto moments = store->moments(0, 0, 1 << 30);
        ASSERT_GE(static_cast<int>(moments.size()), lastCount);
        lastCount = static_cast<int>(moments.size());
        for (int server = 1; server < feedsim::Frontier::kServers; ++server)
            ASSERT_EQ(store->moments(server, 0, 1 << 30).size(), moments.size()) << "round " << round;
        if (moments.empty()) continue;
        feedsim::Frontier frontier(9);
        for (std::size_t step = 0; step < moments.size(); ++step) frontier.advance();
        for (int server = 0; server < feedsim::Frontier::kServers; ++server)
            ASSERT_EQ(store->stateAt(server, moments.back().pass), feedOf(frontier, server).state) << "round " << round;
        EXPECT_EQ(store->recentLines(1).at(0).lines.size(), 2u);
    }
    EXPECT_GT(lastCount, 25);
}

// A file of the first layout is brought up to date in one step and keeps its history; a step that
// fails leaves it at its old layout; the older program then refuses the newer file without touching it.
TEST_F(HistoryStoreTest, UpgradesAnOlderLayoutAndKeepsItsHistory) {
    const std::vector<history::SchemaStep> first(history::schemaSteps().begin(), history::schemaSteps().begin() + 1);
    makeHistory(storePath(), 5);
    const auto before = openOrFail(storePath())->stateAt(0, 5);
    ASSERT_TRUE(before);
    runSql(storePath(), "ALTER TABLE feed DROP COLUMN size; PRAGMA user_version=1");  // as the first layout wrote it
    const auto layout = [this] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(storePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr);
        const int version = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return version;
    };

    auto failing = history::schemaSteps();
    failing.push_back({failing.back().to + 1, "ALTER TABLE nowhere ADD COLUMN x;"});
    const auto refused = HistoryStore::open(storePath(), failing);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("cannot be brought up to date"), std::string::npos) << refused.error();
    EXPECT_EQ(layout(), 1);

    {
        auto upgraded = openOrFail(storePath());
        ASSERT_TRUE(upgraded);
        EXPECT_EQ(upgraded->stateAt(0, 5), before);
        EXPECT_EQ(upgraded->recentLines(10).size(), 5u);
        ArrivedFeed shorter{0, "d", *before};
        shorter.state.pop_back();
        EXPECT_TRUE(testing_support::succeeded(upgraded->record(99, {shorter}, {})));
        EXPECT_EQ(upgraded->stateAt(0, 6), shorter.state);
        EXPECT_EQ(upgraded->stateAt(0, 5), before);
    }
    const std::string upgradedFile = fingerprint(storePath());
    const auto newer = HistoryStore::open(storePath(), first);
    ASSERT_FALSE(newer);
    EXPECT_NE(newer.error().find("newer Warmap (layout 2, this one reads up to 1)"), std::string::npos)
        << newer.error();
    EXPECT_EQ(fingerprint(storePath()), upgradedFile);
}

}  // namespace
