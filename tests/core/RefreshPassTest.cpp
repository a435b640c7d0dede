#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/ChangePresenter.h"
#include "core/RefreshPass.h"
#include "feed/FeedPaths.h"
#include "feed/ServerTable.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::FeedSimProcess;
using testing_support::ReadFile;
using testing_support::RecordingDialogs;
using testing_support::TempFolderScope;

class RecordingPresenter final : public core::ChangePresenter {
public:
    void PresentChanges(const feed::MessageLines& lines) override { handedOver.push_back(lines); }
    std::vector<feed::MessageLines> handedOver;
};

class RefreshPassTest : public ::testing::Test {
protected:
    RefreshPassTest() {
        testing_support::WriteFile(m_program.filePath("keepnames.ini").toStdString(),
                                   "[keepnames]\n7=Fenwick Spire\n40=Harrowgate\n0=Stonewatch\n");
    }

    core::RefreshPass MakePass() {
        core::PassSettings settings{m_sim.Base(), m_program.path().toStdString(), {}};
        settings.limits.connectTimeout = std::chrono::milliseconds(2000);
        settings.limits.stallTimeout = std::chrono::milliseconds(1000);
        settings.limits.totalTimeout = std::chrono::milliseconds(3000);
        settings.limits.maxBodyBytes = 1 << 20;  // the simulator's huge body is 9 MiB
        return core::RefreshPass(settings, m_dialogs, m_presenter);
    }
    std::string Saved(std::string_view server) const { return feed::SavedCopyPath(m_temp.Path(), server); }
    std::string SavedBytes(std::string_view server) const { return ReadFile(Saved(server)); }
    bool Exists(std::string_view server) const { return QFile::exists(QString::fromStdString(Saved(server))); }

    TempFolderScope m_temp;
    QTemporaryDir m_program;
    FeedSimProcess m_sim{{"--seed", "7"}};
    RecordingDialogs m_dialogs;
    RecordingPresenter m_presenter;
};

TEST_F(RefreshPassTest, FirstPassSavesTheServedBytesAndReportsNothing) {
    ASSERT_TRUE(m_sim.Running());
    auto pass = MakePass();
    pass.RefreshKeeps();
    for (std::string_view server : feed::ServerNames) {
        EXPECT_EQ(SavedBytes(server), FeedSimProcess::WrittenFeed({"--seed", "7"}, std::string(server))) << server;
    }
    EXPECT_TRUE(m_presenter.handedOver.empty());
    EXPECT_TRUE(m_dialogs.shown.empty());
}

TEST_F(RefreshPassTest, SecondPassHandsOverChangesInServerOrder) {
    ASSERT_TRUE(m_sim.Running());
    for (const char* set : {"set?server=Logres&id=7&realm=Midgard", "set?server=Avalon&id=40&realm=Hibernia",
                            "set?server=Salisbury&id=0&realm=Albion", "set?server=Avalon&id=3&realm=Albion"}) {
        ASSERT_EQ(m_sim.Control(set), "ok\n");
    }
    auto pass = MakePass();
    pass.RefreshKeeps();
    for (const char* set : {"set?server=Salisbury&id=0&realm=Hibernia", "set?server=Logres&id=7&realm=Albion",
                            "set?server=Avalon&id=40&realm=Midgard", "set?server=Avalon&id=3&realm=Midgard",
                            "set?server=Dartmoor&id=9&guild=Neue%20Herren"}) {
        ASSERT_EQ(m_sim.Control(set), "ok\n");
    }
    pass.RefreshKeeps();
    ASSERT_EQ(m_presenter.handedOver.size(), 1u);
    EXPECT_EQ(m_presenter.handedOver[0],
              (feed::MessageLines{"^bLOG: ^dFenwick Spire^Irechts^rAlbion", "^bAVA: ^rUNKNOWN^Irechts^dMidgard",
                                  "^bAVA: ^gHarrowgate^Irechts^dMidgard", "^bSAL: ^rStonewatch^Irechts^gHibernia"}));
    EXPECT_TRUE(pass.MessageLines().empty());
    EXPECT_TRUE(m_dialogs.shown.empty());

    pass.RefreshKeeps();  // nothing changed since: old lines are never shown again
    EXPECT_EQ(m_presenter.handedOver.size(), 1u);
}

TEST_F(RefreshPassTest, FailureAtAvalonStopsThePassAfterLogres) {
    ASSERT_EQ(m_sim.Control("fault?server=Avalon&kind=404"), "ok\n");
    auto pass = MakePass();
    pass.RefreshKeeps();
    EXPECT_TRUE(Exists("Dartmoor"));
    EXPECT_TRUE(Exists("Logres"));
    EXPECT_FALSE(Exists("Avalon"));
    EXPECT_FALSE(Exists("Salisbury"));
    EXPECT_EQ(m_dialogs.Count("fehler im inet"), 1);
    EXPECT_EQ(m_dialogs.shown.size(), 1u);
}

TEST_F(RefreshPassTest, EveryMisbehaviourLeavesTheSavedCopiesAsTheyWere) {
    ASSERT_TRUE(m_sim.Running());
    auto pass = MakePass();
    pass.RefreshKeeps();
    m_sim.Control("advance?steps=3");
    for (const char* kind : {"404", "500", "refuse", "stall", "trickle", "cut", "huge"}) {
        std::map<std::string_view, std::string> before;
        for (std::string_view server : feed::ServerNames) before[server] = SavedBytes(server);
        m_dialogs.shown.clear();
        ASSERT_EQ(m_sim.Control(std::string("fault?server=Dartmoor&kind=") + kind), "ok\n");
        pass.RefreshKeeps();
        for (std::string_view server : feed::ServerNames) EXPECT_EQ(SavedBytes(server), before[server]) << kind;
        EXPECT_EQ(m_dialogs.Count("fehler im inet"), 1) << kind;
        EXPECT_EQ(m_dialogs.shown.size(), 1u) << kind;
        EXPECT_TRUE(m_presenter.handedOver.empty()) << kind;
    }
}

TEST_F(RefreshPassTest, MalformedFeedIsReportedNotSavedAndThePassGoesOn) {
    ASSERT_TRUE(m_sim.Running());
    auto pass = MakePass();
    pass.RefreshKeeps();
    const std::string goodCopy = SavedBytes("Logres");
    m_sim.Control("advance");
    m_sim.Control("fault?server=Logres&kind=malformed");
    m_sim.Control("set?server=Salisbury&id=0&realm=0");
    pass.RefreshKeeps();
    EXPECT_EQ(SavedBytes("Logres"), goodCopy);
    EXPECT_EQ(m_dialogs.CountStartingWith("Fehler: "), 1);
    EXPECT_EQ(m_dialogs.Count("fehler im inet"), 0);
    EXPECT_EQ(SavedBytes("Salisbury"),
              testing_support::HttpGet(m_sim.Base() + "/herald/servers/Salisbury/keeps/keeps.xml"));
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
    ASSERT_TRUE(m_sim.Running());
    testing_support::WriteFile(Saved("Dartmoor"), testing_support::FeedBuilder().Count(50).Xml());
    auto pass = MakePass();
    pass.RefreshKeeps();
    EXPECT_EQ(m_dialogs.CountStartingWith("Fehler: "), 1);
    EXPECT_EQ(m_dialogs.shown.at(0).caption, "Fehler");
    EXPECT_EQ(SavedBytes("Dartmoor"), FeedSimProcess::WrittenFeed({"--seed", "7"}, "Dartmoor"));
}

TEST_F(RefreshPassTest, UnwritableTempFolderSkipsSavingQuietly) {
    ASSERT_TRUE(m_sim.Running());
    qputenv("TMPDIR", QByteArray(m_temp.Path().c_str()) + "missing/folder");
    auto pass = MakePass();
    pass.RefreshKeeps();
    EXPECT_TRUE(m_dialogs.shown.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(m_temp.Path() + "missing")));
}

}  // namespace
