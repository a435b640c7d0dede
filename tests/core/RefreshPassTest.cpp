#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <QTemporaryDir>

#include "core/ChangePresenter.h"
#include "core/RefreshPass.h"
#include "feed/FeedPaths.h"
#include "feed/Frontier.h"
#include "feed/FrontierSnapshot.h"
#include "tests/support/EnvScope.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::FeedSimProcess;
using testing_support::readFile;
using testing_support::RecordingDialogs;
using testing_support::TempFolderScope;

class RecordingPresenter final : public core::ChangePresenter {
public:
    void presentChanges(const feed::MessageLines& lines) override { handedOver.push_back(lines); }
    std::vector<feed::MessageLines> handedOver;
};

class RefreshPassTest : public ::testing::Test {
protected:
    RefreshPassTest() {
        testing_support::writeFile(m_program.filePath("keepnames.ini").toStdString(),
                                   "[keepnames]\n7=Fenwick Spire\n40=Harrowgate\n0=Stonewatch\n");
    }

    core::RefreshPass makePass(std::string snapshotFolder = {}) {
        core::PassSettings settings{m_sim.base(), m_program.path().toStdString(), {}};
        settings.snapshotFolder = std::move(snapshotFolder);
        settings.limits.connectTimeout = std::chrono::milliseconds(2000);
        settings.limits.stallTimeout = std::chrono::milliseconds(1000);
        settings.limits.totalTimeout = std::chrono::milliseconds(3000);
        settings.limits.maxBodyBytes = 1 << 20;  // the simulator's huge body is 9 MiB
        return core::RefreshPass(settings, m_dialogs, m_presenter);
    }
    std::string saved(std::string_view server) const { return feed::savedCopyPath(m_temp.path(), server); }
    std::string savedBytes(std::string_view server) const { return readFile(saved(server)); }
    bool exists(std::string_view server) const { return QFile::exists(QString::fromStdString(saved(server))); }

    TempFolderScope m_temp;
    QTemporaryDir m_program;
    FeedSimProcess m_sim{{"--seed", "7"}};
    RecordingDialogs m_dialogs;
    RecordingPresenter m_presenter;
};

// Each copy saved leaves the map's snapshot of exactly those bytes.
TEST_F(RefreshPassTest, FirstPassSavesTheServedBytesAndReportsNothing) {
    ASSERT_TRUE(m_sim.isRunning());
    QTemporaryDir snapshots;
    auto pass = makePass(snapshots.path().toStdString());
    pass.refreshKeeps();
    for (std::string_view server : feed::kServerNames) {
        EXPECT_EQ(savedBytes(server), FeedSimProcess::writtenFeed({"--seed", "7"}, std::string(server))) << server;
        EXPECT_TRUE(
            feed::readSnapshot(feed::snapshotPath(snapshots.path().toStdString(), saved(server)), savedBytes(server)))
            << server;
    }
    EXPECT_TRUE(m_presenter.handedOver.empty());
    EXPECT_TRUE(m_dialogs.shown.empty());
    EXPECT_TRUE(pass.failures().empty());
    EXPECT_EQ(pass.serversAsked(), 4u);
}

TEST_F(RefreshPassTest, SecondPassHandsOverChangesInServerOrder) {
    ASSERT_TRUE(m_sim.isRunning());
    for (const char* set : {"set?server=Logres&id=7&realm=Midgard", "set?server=Avalon&id=40&realm=Hibernia",
                            "set?server=Salisbury&id=0&realm=Albion", "set?server=Avalon&id=3&realm=Albion"}) {
        ASSERT_EQ(m_sim.control(set), "ok\n");
    }
    auto pass = makePass();
    pass.refreshKeeps();
    for (const char* set : {"set?server=Salisbury&id=0&realm=Hibernia", "set?server=Logres&id=7&realm=Albion",
                            "set?server=Avalon&id=40&realm=Midgard", "set?server=Avalon&id=3&realm=Midgard",
                            "set?server=Dartmoor&id=9&guild=Neue%20Herren"}) {
        ASSERT_EQ(m_sim.control(set), "ok\n");
    }
    pass.refreshKeeps();
    ASSERT_EQ(m_presenter.handedOver.size(), 1u);
    EXPECT_EQ(m_presenter.handedOver[0],
              (feed::MessageLines{"^bLOG: ^dFenwick Spire^Irechts^rAlbion", "^bAVA: ^rUNKNOWN^Irechts^dMidgard",
                                  "^bAVA: ^gHarrowgate^Irechts^dMidgard", "^bSAL: ^rStonewatch^Irechts^gHibernia"}));
    EXPECT_TRUE(pass.messageLines().empty());
    EXPECT_TRUE(m_dialogs.shown.empty());

    pass.refreshKeeps();  // nothing changed since: old lines are never shown again
    EXPECT_EQ(m_presenter.handedOver.size(), 1u);
}

// A filter chooses what the popup tells; every server is still compared and saved, and the recent
// changes get every line.
TEST_F(RefreshPassTest, TheNoticeFilterChoosesThePopupLinesOnly) {
    ASSERT_TRUE(m_sim.isRunning());
    const std::string log = "^bLOG: ^dFenwick Spire^Irechts^rAlbion", avaUnknown = "^bAVA: ^rUNKNOWN^Irechts^dMidgard",
                      avaHarrowgate = "^bAVA: ^gHarrowgate^Irechts^dMidgard",
                      sal = "^bSAL: ^rStonewatch^Irechts^gHibernia";
    const auto without = [](std::size_t server) {
        core::NoticeFilter filter;
        filter.servers[server] = false;
        return filter;
    };
    const auto only = [](feed::Realm realm) { return core::NoticeFilter{{true, true, true, true}, realm, {}}; };
    // Fenwick Spire goes from Moorwarden to Eisenwacht, Harrowgate from Eisenwacht to Moorwarden, the
    // UNKNOWN keep from Eisenwacht to no guild; Moorwarden keeps Stonewatch.
    const auto guild = [](const char* name, core::NoticeFilter filter = {}) {
        filter.guild = name;
        return filter;
    };
    struct Case {
        const char* what;
        core::NoticeFilter filter;
        feed::MessageLines shown;  // empty: no popup at all
    };
    const Case cases[] = {
        {"everything", {}, {log, avaUnknown, avaHarrowgate, sal}},
        {"Avalon off", without(2), {log, sal}},
        {"only Albion", only(feed::Realm::Albion), {log, avaUnknown, sal}},
        {"only Hibernia", only(feed::Realm::Hibernia), {avaHarrowgate, sal}},
        {"only Midgard, Logres off",
         [&] {
             auto f = only(feed::Realm::Midgard);
             f.servers[1] = false;
             return f;
         }(),
         {avaUnknown, avaHarrowgate}},
        {"every server off", core::NoticeFilter{{false, false, false, false}, std::nullopt, {}}, {}},
        {"Moorwarden before, after, both", guild("Moorwarden"), {log, avaHarrowgate, sal}},
        {"Eisenwacht after, before, before", guild("Eisenwacht"), {log, avaUnknown, avaHarrowgate}},
        {"names match exactly", guild("moorwarden"), {}},
        {"a guild in no feed", guild("Die Grauen Falken"), {}},
        {"Moorwarden and Hibernia", guild("Moorwarden", only(feed::Realm::Hibernia)), {avaHarrowgate, sal}},
        {"Moorwarden, Avalon off", guild("Moorwarden", without(2)), {log, sal}},
    };
    for (const Case& c : cases) {
        // The same starting state in every case; the first pass takes it in.
        for (const char* set :
             {"set?server=Logres&id=7&realm=Midgard", "set?server=Avalon&id=40&realm=Hibernia",
              "set?server=Salisbury&id=0&realm=Albion", "set?server=Avalon&id=3&realm=Albion",
              "set?server=Logres&id=7&guild=Moorwarden", "set?server=Avalon&id=40&guild=Eisenwacht",
              "set?server=Salisbury&id=0&guild=Moorwarden", "set?server=Avalon&id=3&guild=Eisenwacht"})
            ASSERT_EQ(m_sim.control(set), "ok\n");
        auto pass = makePass();
        feed::MessageLines recent;
        QObject::connect(&pass, &core::RefreshPass::passEnded,
                         [&recent](const feed::MessageLines& lines) { recent = lines; });
        pass.refreshKeeps();
        m_presenter.handedOver.clear();
        pass.reconfigure(m_sim.base(), c.filter);  // from the next pass on
        for (const char* set : {"set?server=Salisbury&id=0&realm=Hibernia", "set?server=Logres&id=7&realm=Albion",
                                "set?server=Avalon&id=40&realm=Midgard", "set?server=Avalon&id=3&realm=Midgard",
                                "set?server=Logres&id=7&guild=Eisenwacht", "set?server=Avalon&id=40&guild=Moorwarden",
                                "set?server=Avalon&id=3&guild="})
            ASSERT_EQ(m_sim.control(set), "ok\n");
        pass.refreshKeeps();
        if (c.shown.empty()) {
            EXPECT_TRUE(m_presenter.handedOver.empty()) << c.what;
        } else {
            ASSERT_EQ(m_presenter.handedOver.size(), 1u) << c.what;
            EXPECT_EQ(m_presenter.handedOver[0], c.shown) << c.what;
        }
        EXPECT_EQ(recent, (feed::MessageLines{log, avaUnknown, avaHarrowgate, sal})) << c.what;
        EXPECT_EQ(savedBytes("Avalon"), m_sim.served("Avalon")) << c.what;
    }
}

TEST_F(RefreshPassTest, NoConnectionAtAvalonStopsThePassAfterLogres) {
    ASSERT_EQ(m_sim.control("fault?server=Avalon&kind=refuse"), "ok\n");
    auto pass = makePass();
    pass.refreshKeeps();
    EXPECT_TRUE(exists("Dartmoor"));
    EXPECT_TRUE(exists("Logres"));
    EXPECT_FALSE(exists("Avalon"));
    EXPECT_FALSE(exists("Salisbury"));
    EXPECT_EQ(m_dialogs.count("fehler im inet"), 1);
    EXPECT_EQ(m_dialogs.shown.size(), 1u);
    // What the tray says: Avalon failed, and Salisbury was not asked.
    ASSERT_EQ(pass.failures().size(), 1u);
    EXPECT_EQ(pass.failures()[0].server, 2u);
    EXPECT_NE(pass.failures()[0].problem.find("(127.0.0.1:"), std::string::npos) << pass.failures()[0].problem;
    EXPECT_EQ(pass.serversAsked(), 3u);
}

// One server's error page must not silence the others for as long as it lasts.
TEST_F(RefreshPassTest, AnErrorAnswerSkipsOnlyThatServer) {
    ASSERT_TRUE(m_sim.isRunning());
    auto pass = makePass();
    pass.refreshKeeps();
    const std::string dartmoor = savedBytes("Dartmoor");
    ASSERT_EQ(m_sim.control("fault?server=Dartmoor&kind=404"), "ok\n");
    ASSERT_EQ(m_sim.control("set?server=Logres&id=7&realm=Hibernia"), "ok\n");
    ASSERT_EQ(m_sim.control("set?server=Salisbury&id=0&realm=0"), "ok\n");
    pass.refreshKeeps();
    EXPECT_EQ(m_dialogs.count("fehler im inet"), 1);
    EXPECT_EQ(m_dialogs.shown.size(), 1u);
    EXPECT_EQ(pass.failures(), (std::vector<core::ServerFailure>{{0, "HTTP-Status 404"}}));
    EXPECT_EQ(pass.serversAsked(), 4u);
    EXPECT_EQ(savedBytes("Dartmoor"), dartmoor);
    ASSERT_EQ(m_presenter.handedOver.size(), 1u);
    const auto& lines = m_presenter.handedOver[0];
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("^bLOG: ", 0), 0u);
    EXPECT_NE(lines[0].find("Fenwick Spire^Irechts^gHibernia"), std::string::npos);
    EXPECT_EQ(lines[1].rfind("^bSAL: ", 0), 0u);
    EXPECT_NE(lines[1].find("Stonewatch^Irechts^b0"), std::string::npos);
}

// However many servers fail, a pass shows one box: a site down for maintenance costs one box, as an
// outage does; each failure is one log line and one entry for the tray. An empty answer shows none.
TEST_F(RefreshPassTest, APassShowsOneBoxHoweverManyServersFail) {
    ASSERT_TRUE(m_sim.isRunning());
    const struct {
        const char* what;
        std::map<std::string, std::string> faults;  // server -> kind
        int boxes;
        std::size_t failures, asked;
    } cases[] = {
        {"site in maintenance",
         {{"Dartmoor", "503"}, {"Logres", "503"}, {"Avalon", "503"}, {"Salisbury", "503"}},
         1,
         4,
         4},
        {"one 404", {{"Avalon", "404"}}, 1, 1, 4},
        {"an empty answer", {{"Dartmoor", "empty"}}, 0, 1, 4},
        {"404, then no answer", {{"Dartmoor", "404"}, {"Logres", "refuse"}}, 1, 2, 2},
    };
    auto pass = makePass();
    pass.refreshKeeps();
    for (const auto& c : cases) {
        m_sim.control("advance");
        std::map<std::string_view, std::string> before;
        for (std::string_view server : feed::kServerNames) before[server] = savedBytes(server);
        for (const auto& [server, kind] : c.faults)
            ASSERT_EQ(m_sim.control("fault?server=" + server + "&kind=" + kind), "ok\n");
        m_dialogs.shown.clear();
        testing_support::LogRecorder log;
        pass.refreshKeeps();
        EXPECT_EQ(m_dialogs.count("fehler im inet"), c.boxes) << c.what;
        EXPECT_EQ(m_dialogs.shown.size(), static_cast<std::size_t>(c.boxes)) << c.what;
        EXPECT_EQ(log.matching("warmap.download", {}).size(), c.failures) << c.what;
        EXPECT_EQ(pass.failures().size(), c.failures) << c.what;
        EXPECT_EQ(pass.serversAsked(), c.asked) << c.what;
        for (std::size_t i = 0; i < c.asked; ++i) {
            const std::string server(feed::kServerNames[i]);
            const bool failed = c.faults.count(server) != 0;
            EXPECT_EQ(savedBytes(server), failed ? before[server] : m_sim.served(server)) << c.what << " " << server;
        }
        if (c.boxes == 0) {
            EXPECT_EQ(pass.failures().at(0).problem, "leere Antwort");
        }
        for (const auto& [server, kind] : c.faults) m_sim.control("fault?server=" + server + "&kind=none");
    }
}

TEST_F(RefreshPassTest, EveryMisbehaviourLeavesTheSavedCopiesAsTheyWere) {
    ASSERT_TRUE(m_sim.isRunning());
    auto pass = makePass();
    pass.refreshKeeps();
    m_sim.control("advance?steps=3");
    // A bad answer skips Dartmoor; no answer at all ends the pass there.
    for (const auto& [kind, endsPass] : std::map<std::string, bool>{{"404", false},
                                                                    {"500", false},
                                                                    {"trickle", false},
                                                                    {"cut", false},
                                                                    {"huge", false},
                                                                    {"refuse", true},
                                                                    {"stall", true}}) {
        std::map<std::string_view, std::string> before;
        for (std::string_view server : feed::kServerNames) before[server] = savedBytes(server);
        m_dialogs.shown.clear();
        m_presenter.handedOver.clear();
        ASSERT_EQ(m_sim.control("fault?server=Dartmoor&kind=" + kind), "ok\n");
        pass.refreshKeeps();
        EXPECT_EQ(savedBytes("Dartmoor"), before["Dartmoor"]) << kind;
        for (std::string_view server : {"Logres", "Avalon", "Salisbury"}) {
            const std::string served =
                testing_support::httpGet(m_sim.base() + "/herald/servers/" + std::string(server) + "/keeps/keeps.xml");
            EXPECT_EQ(savedBytes(server), endsPass ? before[server] : served) << kind << " " << server;
        }
        EXPECT_EQ(m_dialogs.count("fehler im inet"), 1) << kind;
        EXPECT_EQ(m_dialogs.shown.size(), 1u) << kind;
        m_sim.control("advance");
    }
}

TEST_F(RefreshPassTest, MalformedFeedIsReportedNotSavedAndThePassGoesOn) {
    ASSERT_TRUE(m_sim.isRunning());
    auto pass = makePass();
    pass.refreshKeeps();
    const std::string goodCopy = savedBytes("Logres");
    m_sim.control("advance");
    m_sim.control("fault?server=Logres&kind=malformed");
    m_sim.control("set?server=Salisbury&id=0&realm=0");
    pass.refreshKeeps();
    EXPECT_EQ(savedBytes("Logres"), goodCopy);
    EXPECT_EQ(m_dialogs.countStartingWith("Fehler: "), 1);
    EXPECT_EQ(m_dialogs.count("fehler im inet"), 0);
    EXPECT_EQ(savedBytes("Salisbury"),
              testing_support::httpGet(m_sim.base() + "/herald/servers/Salisbury/keeps/keeps.xml"));
    ASSERT_EQ(m_presenter.handedOver.size(), 1u);
    const auto& lines = m_presenter.handedOver[0];
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line == "^bSAL: ^rStonewatch^Irechts^b0" ||
                                       line == "^bSAL: ^dStonewatch^Irechts^b0" ||
                                       line == "^bSAL: ^gStonewatch^Irechts^b0";
                            }),
              1);
}

TEST_F(RefreshPassTest, BrokenSavedCopyIsReportedAndReplaced) {
    ASSERT_TRUE(m_sim.isRunning());
    testing_support::writeFile(saved("Dartmoor"), testing_support::FeedBuilder().count(50).xml());
    auto pass = makePass();
    pass.refreshKeeps();
    EXPECT_EQ(m_dialogs.countStartingWith("Fehler: "), 1);
    EXPECT_EQ(m_dialogs.shown.at(0).caption, "Fehler");
    EXPECT_EQ(savedBytes("Dartmoor"), FeedSimProcess::writtenFeed({"--seed", "7"}, "Dartmoor"));
}

// Files planted in the folder by someone else, or left there in odd states, are never trusted or
// followed: one "Fehler: " box, no invented lines, and our own copy takes their place where it can.
TEST_F(RefreshPassTest, PlantedAndOddSavedCopiesAreNeverTrusted) {
    ASSERT_TRUE(m_sim.isRunning());
    QTemporaryDir elsewhere;
    const std::string victim = elsewhere.filePath("victim.txt").toStdString();
    testing_support::writeFile(victim, "precious");
    ASSERT_EQ(::symlink(victim.c_str(), saved("Dartmoor").c_str()), 0);
    ASSERT_EQ(::mkfifo(saved("Logres").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(saved("Avalon").c_str(), 0700), 0);
    // A fake copy that claims every structure changed hands.
    testing_support::writeFile(saved("Salisbury"), testing_support::FeedBuilder().realm(0, "Midgard").xml());
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chown(saved("Salisbury").c_str(), 65534, 65534), 0);
    }

    auto pass = makePass();
    pass.refreshKeeps();
    EXPECT_EQ(m_dialogs.countStartingWith("Fehler: "), asRoot ? 4 : 3);
    EXPECT_EQ(testing_support::readFile(victim), "precious");
    if (asRoot) {
        EXPECT_TRUE(m_presenter.handedOver.empty());
    }
    for (std::string_view server : {"Dartmoor", "Logres", "Salisbury"}) {
        EXPECT_EQ(savedBytes(server), FeedSimProcess::writtenFeed({"--seed", "7"}, std::string(server))) << server;
    }

    m_dialogs.shown.clear();
    pass.refreshKeeps();  // the folder where a copy should be stays, and says so; the rest is ours now
    EXPECT_EQ(m_dialogs.countStartingWith("Fehler: "), 1);
    EXPECT_NE(m_dialogs.shown.at(0).text.find("Avalon_lastkeeps.xml"), std::string::npos);
}

// A full disk must never tear a copy: the old one stays byte for byte, and the pass says nothing.
TEST_F(RefreshPassTest, AFullDiskLeavesEveryCopyWhole) {
    ASSERT_TRUE(m_sim.isRunning());
    const std::string disk = m_temp.path() + "disk";
    ASSERT_EQ(::mkdir(disk.c_str(), 0700), 0);
    // A private disk: a shared one (tmpfs is 1777 unless told otherwise) would get a subfolder.
    if (::mount("warmap-test", disk.c_str(), "tmpfs", 0, "size=64k,mode=0700") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    }
    const std::unique_ptr<const char, void (*)(const char*)> unmount(disk.c_str(), [](const char* p) { ::umount(p); });
    testing_support::EnvScope env;
    env.set("TMPDIR", QByteArray::fromStdString(disk));
    auto pass = makePass();
    pass.refreshKeeps();
    std::map<std::string, std::string> before;
    for (std::string_view server : feed::kServerNames) {
        before[std::string(server)] = testing_support::readFile(feed::savedCopyPath(disk + "/", server));
        ASSERT_FALSE(before[std::string(server)].empty()) << server;
    }
    m_sim.control("advance?steps=5");
    for (std::size_t freeBytes : {std::size_t(0), std::size_t(4096)}) {
        // Fill the disk, then give back what should stay free.
        const std::string filler = disk + "/filler";
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        if (freeBytes > 0) {
            ASSERT_EQ(::ftruncate(fd, ::lseek(fd, 0, SEEK_END) - static_cast<off_t>(freeBytes)), 0);
        }
        ::close(fd);
        m_dialogs.shown.clear();
        pass.refreshKeeps();
        for (const auto& [server, bytes] : before) {
            EXPECT_EQ(testing_support::readFile(feed::savedCopyPath(disk + "/", server)), bytes) << freeBytes;
        }
        EXPECT_TRUE(m_dialogs.shown.empty()) << freeBytes;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk), {}), 5) << "a temporary file was left";
    }
}

// "Beenden" during a download: the pass ends after that server, whole, and presents nothing.
TEST_F(RefreshPassTest, AStopRequestedDuringADownloadEndsThePassAfterThatServer) {
    ASSERT_TRUE(m_sim.isRunning());
    core::PassSettings settings{m_sim.base(), m_program.path().toStdString(), {}};
    core::RefreshPass* running = nullptr;
    std::vector<std::string> fetched;
    bool stopAtLogres = false;
    settings.download = [&](const std::string& url, const core::DownloadLimits& limits) {
        fetched.push_back(url);
        if (stopAtLogres && url.find("/Logres/") != std::string::npos) running->requestStop();
        return core::downloadThroughHelper(url, limits);
    };
    core::RefreshPass pass(settings, m_dialogs, m_presenter);
    running = &pass;
    std::vector<feed::MessageLines> ended;
    QObject::connect(&pass, &core::RefreshPass::passEnded,
                     [&](const feed::MessageLines& lines) { ended.push_back(lines); });

    pass.refreshKeeps();
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_TRUE(ended[0].empty());  // told of a pass without changes too
    std::map<std::string, std::string> before;
    for (std::string_view server : feed::kServerNames) before[std::string(server)] = savedBytes(server);

    m_sim.control("advance?steps=4");
    fetched.clear();
    stopAtLogres = true;
    pass.refreshKeeps();
    EXPECT_FALSE(pass.isRunning());
    ASSERT_EQ(fetched.size(), 2u);
    for (std::string_view server : {"Dartmoor", "Logres"}) {
        EXPECT_EQ(savedBytes(server), m_sim.served(std::string(server))) << server;
        EXPECT_NE(savedBytes(server), before[std::string(server)]) << server;
    }
    for (std::string_view server : {"Avalon", "Salisbury"}) {
        EXPECT_EQ(savedBytes(server), before[std::string(server)]) << server;
    }
    EXPECT_TRUE(m_presenter.handedOver.empty());
    EXPECT_EQ(ended.size(), 1u);

    pass.refreshKeeps();  // a stopped pass never starts again
    EXPECT_EQ(fetched.size(), 2u);
}

// Once the user has chosen to end the program, a server failing meanwhile brings no box to answer.
TEST_F(RefreshPassTest, AfterAStopRequestNoBoxHoldsTheEndUp) {
    ASSERT_EQ(m_sim.control("fault?server=Avalon&kind=404"), "ok\n");
    core::PassSettings settings{m_sim.base(), m_program.path().toStdString(), {}};
    core::RefreshPass* running = nullptr;
    int fetched = 0;
    settings.download = [&](const std::string& url, const core::DownloadLimits& limits) {
        ++fetched;
        if (url.find("/Avalon/") != std::string::npos) running->requestStop();
        return core::downloadThroughHelper(url, limits);
    };
    core::RefreshPass pass(settings, m_dialogs, m_presenter);
    running = &pass;
    pass.refreshKeeps();
    EXPECT_EQ(fetched, 3);
    EXPECT_TRUE(m_dialogs.shown.empty());
    EXPECT_FALSE(exists("Avalon"));
    EXPECT_FALSE(exists("Salisbury"));
}

// A copy that cannot be saved is logged with its path and cause; the pass goes on with the others.
TEST_F(RefreshPassTest, AFailedSaveIsLoggedWithItsPathAndCause) {
    ASSERT_TRUE(m_sim.isRunning());
    ASSERT_EQ(::mkdir(saved("Logres").c_str(), 0700), 0);  // a folder where the copy should go
    testing_support::LogRecorder log;
    auto pass = makePass();
    pass.refreshKeeps();
    EXPECT_EQ(log.matching("warmap.storage", {"Logres", QString::fromStdString(saved("Logres")), "directory"}).size(),
              1)
        << log.lines().join('\n').toStdString();
    EXPECT_FALSE(testing_support::readFile(saved("Salisbury")).empty());
}

}  // namespace
