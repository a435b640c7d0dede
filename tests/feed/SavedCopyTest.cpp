#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "feed/FeedDocument.h"
#include "feed/FrontierSnapshot.h"
#include "feed/SavedCopy.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::readFile;
using testing_support::writeFile;

class SavedCopyTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    // Names in the folder other than the given ones: leftovers of a failed save would show here.
    std::vector<std::string> others(std::initializer_list<std::string> known) const {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.path().toStdString())) {
            const std::string name = entry.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
        }
        return others;
    }

    QTemporaryDir m_dir;
    const std::string m_feed = testing_support::FeedBuilder().xml();
};

TEST_F(SavedCopyTest, ReadsARegularFileOfOurOwn) {
    writeFile(path("Logres_lastkeeps.xml"), m_feed);
    const auto copy = feed::readSavedCopy(path("Logres_lastkeeps.xml"));
    ASSERT_TRUE(copy) << copy.error();
    EXPECT_EQ(*copy, m_feed);
    EXPECT_TRUE(feed::loadSavedCopy(path("Logres_lastkeeps.xml")).isFeed());
}

// Each of these must be refused at once: no abort, no hang, no large allocation.
TEST_F(SavedCopyTest, RefusesLinksFoldersFifosDevicesAndOversizedFiles) {
    writeFile(path("other.xml"), m_feed);
    ASSERT_EQ(::symlink(path("other.xml").c_str(), path("link.xml").c_str()), 0);
    ASSERT_EQ(::symlink(path("nowhere.xml").c_str(), path("dangling.xml").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", path("zero.xml").c_str()), 0);
    ASSERT_EQ(::mkdir(path("folder.xml").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(path("fifo.xml").c_str(), 0600), 0);
    // Sparse, so the test costs no disk: one byte over the cap.
    writeFile(path("huge.xml"), "");
    ASSERT_EQ(::truncate(path("huge.xml").c_str(), static_cast<off_t>(feed::kMaxSavedCopyBytes + 1)), 0);
    for (const char* name :
         {"link.xml", "dangling.xml", "zero.xml", "folder.xml", "fifo.xml", "huge.xml", "none.xml"}) {
        const auto copy = feed::readSavedCopy(path(name));
        ASSERT_FALSE(copy) << name;
        EXPECT_NE(copy.error().find(path(name)), std::string::npos) << copy.error();
        const feed::FeedDocument doc = feed::loadSavedCopy(path(name));
        EXPECT_FALSE(doc.isFeed()) << name;
        EXPECT_EQ(doc.problem(), copy.error());
    }
    // A file of exactly the cap is still read.
    ASSERT_EQ(::truncate(path("huge.xml").c_str(), static_cast<off_t>(feed::kMaxSavedCopyBytes)), 0);
    EXPECT_EQ(feed::readSavedCopy(path("huge.xml")).valueOr("").size(), feed::kMaxSavedCopyBytes);
}

TEST_F(SavedCopyTest, RefusesAFileOwnedBySomeoneElse) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    writeFile(path("planted.xml"), m_feed);
    ASSERT_EQ(::chown(path("planted.xml").c_str(), 65534, 65534), 0);
    const auto planted = feed::readSavedCopy(path("planted.xml"));
    ASSERT_FALSE(planted);
    EXPECT_NE(planted.error().find("anderen Benutzer"), std::string::npos) << planted.error();
}

TEST_F(SavedCopyTest, WritesAPrivateFileAndReplacesALinkNotItsTarget) {
    writeFile(path("victim.txt"), "precious");
    ASSERT_EQ(::symlink(path("victim.txt").c_str(), path("copy.xml").c_str()), 0);
    ::umask(022);
    ASSERT_TRUE(feed::writeSavedCopy(path("copy.xml"), m_feed));
    EXPECT_EQ(readFile(path("victim.txt")), "precious");
    struct stat info {};
    ASSERT_EQ(::lstat(path("copy.xml").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(readFile(path("copy.xml")), m_feed);
    EXPECT_TRUE(others({"copy.xml", "victim.txt"}).empty());
}

// Fails the write after a number of bytes, the sync, or the rename, as a full or broken disk would.
class FailingOps final : public base::FileOps {
public:
    enum class Step { Write, Sync, Rename };
    FailingOps(Step step, std::size_t bytesBeforeFailure = 0) : m_step(step), m_budget(bytesBeforeFailure) {}
    ssize_t write(int fd, const void* data, std::size_t size) override {
        if (m_step != Step::Write) return base::FileOps::write(fd, data, size);
        if (m_budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(size, m_budget);  // a short write first, as a filling disk gives
        m_budget -= n;
        return base::FileOps::write(fd, data, n);
    }
    int sync(int fd) override {
        if (m_step != Step::Sync) return base::FileOps::sync(fd);
        errno = EIO;
        return -1;
    }
    int rename(const char* from, const char* to) override {
        if (m_step != Step::Rename) return base::FileOps::rename(from, to);
        errno = EXDEV;
        return -1;
    }

private:
    Step m_step;
    std::size_t m_budget;
};

TEST_F(SavedCopyTest, AFailedSaveLeavesTheOldCopyByteForByte) {
    const std::string old = testing_support::FeedBuilder().realm(3, "Midgard").guild(4, "Hammerfaust").xml();
    writeFile(path("Dartmoor_lastkeeps.xml"), old);
    const std::pair<const char*, FailingOps> cases[] = {
        {"disk full at once", FailingOps(FailingOps::Step::Write, 0)},
        {"disk full mid-attribute", FailingOps(FailingOps::Step::Write, 4096)},
        {"sync fails", FailingOps(FailingOps::Step::Sync)},
        {"rename fails", FailingOps(FailingOps::Step::Rename)},
    };
    for (auto [what, ops] : cases) {
        EXPECT_FALSE(base::writePrivateFile(path("Dartmoor_lastkeeps.xml"), m_feed, ops)) << what;
        EXPECT_EQ(readFile(path("Dartmoor_lastkeeps.xml")), old) << what;
        EXPECT_TRUE(others({"Dartmoor_lastkeeps.xml"}).empty()) << what;
    }
    EXPECT_FALSE(feed::writeSavedCopy(m_dir.filePath("missing/x.xml").toStdString(), m_feed));
}

// What killed saves left behind goes at start: only our own regular files of the temporary name
// pattern that are a minute old; a save under way, links, folders, other names and users' files stay.
TEST_F(SavedCopyTest, RemovesOnlyStaleTemporaryFilesOfOurOwnSaves) {
    const auto age = [this](const char* name, int seconds) {
        const timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path(name).c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << name;
    };
    const struct {
        const char* name;
        bool removed;
    } files[] = {
        {"Dartmoor_lastkeeps.xml.Ab12Cd", true},
        {"Salisbury_lastkeeps.xml.zzzzzz", true},
        {"Logres_lastkeeps.xml.Xy98Zw", false},    // being written: too young
        {"Dartmoor_lastkeeps.xml", false},         // the copy itself
        {"Dartmoor_lastkeeps.xml.ab-cde", false},  // not six letters or digits
        {"Dartmoor_lastkeeps.xml.abcdefg", false},
        {"Elsewhere_lastkeeps.xml.abcdef", false},
        {"notes.txt", false},
    };
    for (const auto& f : files) {
        writeFile(path(f.name), "x");
        age(f.name, std::string_view(f.name) == "Logres_lastkeeps.xml.Xy98Zw" ? 5 : 120);
    }
    ASSERT_EQ(::symlink(path("notes.txt").c_str(), path("Avalon_lastkeeps.xml.Ln12Kk").c_str()), 0);
    age("Avalon_lastkeeps.xml.Ln12Kk", 120);
    ASSERT_EQ(::mkdir(path("Avalon_lastkeeps.xml.Dd12Ee").c_str(), 0700), 0);
    age("Avalon_lastkeeps.xml.Dd12Ee", 120);
    const bool root = ::geteuid() == 0;
    if (root) {
        writeFile(path("Logres_lastkeeps.xml.Other1"), "x");
        ASSERT_EQ(::chown(path("Logres_lastkeeps.xml.Other1").c_str(), 65534, 65534), 0);
        age("Logres_lastkeeps.xml.Other1", 120);
    }

    EXPECT_EQ(feed::removeStaleTemporaryFiles(m_dir.path().toStdString() + "/", 60), 2);
    for (const auto& f : files) EXPECT_EQ(!std::filesystem::exists(path(f.name)), f.removed) << f.name;
    EXPECT_TRUE(std::filesystem::is_symlink(path("Avalon_lastkeeps.xml.Ln12Kk")));
    EXPECT_TRUE(std::filesystem::is_directory(path("Avalon_lastkeeps.xml.Dd12Ee")));
    if (root) {
        EXPECT_TRUE(std::filesystem::exists(path("Logres_lastkeeps.xml.Other1")));
    }
}

// A snapshot answers only for the very bytes it was taken of; anything else about it is a miss, at once.
TEST_F(SavedCopyTest, ASnapshotServesOnlyTheCopyItWasTakenOf) {
    EXPECT_EQ(feed::snapshotPath("/cache/snapshots", "/tmp/x/Avalon_lastkeeps.xml"),
              "/cache/snapshots/Avalon_lastkeeps.xml.snapshot");
    const std::string snap = path("Avalon_lastkeeps.xml.snapshot");
    const std::string odd = std::string("a,b:c\n") + '\0' + "7:x,";  // bytes of the snapshot's own framing
    const std::string xml =
        testing_support::FeedBuilder().guild(3, "Nebel&amp;Reiter").date("01.02.2026 03:04:05").xml();
    auto snapshot = feed::snapshotOf(feed::FeedDocument::parse(xml));
    ASSERT_TRUE(snapshot);
    snapshot->entries[7][2] = odd;
    ASSERT_TRUE(feed::writeSnapshot(snap, xml, *snapshot));
    const auto read = feed::readSnapshot(snap, xml);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->date, "01.02.2026 03:04:05");
    EXPECT_EQ(read->attribute(3, "guildname"), "Nebel&Reiter");
    EXPECT_EQ(read->attribute(7, "guildname"), odd);
    EXPECT_EQ(read->entries, snapshot->entries);
    EXPECT_EQ(read->attribute(0, "name"), std::nullopt);

    std::string other;  // the copy's bytes when the snapshot is read again
    const auto replace = [&](const std::string& bytes) {
        std::filesystem::remove(snap);
        writeFile(snap, bytes);
    };
    const std::pair<const char*, std::function<void(const std::string&)>> misses[] = {
        {"another copy of the same length",
         [&](const std::string&) {
             other = xml;
             other[other.find("Nebel")] = 'X';
         }},
        {"cut short", [&](const std::string& kept) { replace(kept.substr(0, kept.size() - 1)); }},
        {"with bytes after it", [&](const std::string& kept) { replace(kept + "0:,"); }},
        {"a length past its end",
         [&](const std::string& kept) {
             std::string longer = kept;
             longer.replace(longer.find("19:01.02.2026"), 3, "99:");
             replace(longer);
         }},
        {"a FIFO in its place",
         [&](const std::string&) {
             std::filesystem::remove(snap);
             ASSERT_EQ(::mkfifo(snap.c_str(), 0600), 0);
         }},
        {"a link in its place",
         [&](const std::string& kept) {
             std::filesystem::remove(snap);
             writeFile(snap + ".elsewhere", kept);
             ASSERT_EQ(::symlink((snap + ".elsewhere").c_str(), snap.c_str()), 0);
         }},
    };
    for (const auto& [what, make] : misses) {
        std::filesystem::remove(snap);
        ASSERT_TRUE(feed::writeSnapshot(snap, xml, *snapshot)) << what;
        ASSERT_TRUE(feed::readSnapshot(snap, xml)) << what;
        other = xml;
        make(readFile(snap));
        EXPECT_FALSE(feed::readSnapshot(snap, other)) << what;
    }
    EXPECT_FALSE(feed::snapshotOf(feed::FeedDocument::parse(testing_support::FeedBuilder().count(104).xml())));
}

}  // namespace
