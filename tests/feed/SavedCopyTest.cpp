#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>

#include "feed/FeedDocument.h"
#include "feed/SavedCopy.h"
#include "tests/support/FeedBuilder.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

class SavedCopyTest : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    // Names in the folder other than the given ones: leftovers of a failed save would show here.
    std::vector<std::string> Others(std::initializer_list<std::string> known) const {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.path().toStdString())) {
            const std::string name = entry.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
        }
        return others;
    }

    QTemporaryDir m_dir;
    const std::string m_feed = testing_support::FeedBuilder().Xml();
};

TEST_F(SavedCopyTest, ReadsARegularFileOfOurOwn) {
    WriteFile(Path("Logres_lastkeeps.xml"), m_feed);
    const auto copy = feed::ReadSavedCopy(Path("Logres_lastkeeps.xml"));
    ASSERT_TRUE(copy) << copy.error();
    EXPECT_EQ(*copy, m_feed);
    EXPECT_TRUE(feed::LoadSavedCopy(Path("Logres_lastkeeps.xml")).IsFeed());
}

// Each of these must be refused at once: no abort, no hang, no large allocation.
TEST_F(SavedCopyTest, RefusesLinksFoldersFifosDevicesAndOversizedFiles) {
    WriteFile(Path("other.xml"), m_feed);
    ASSERT_EQ(::symlink(Path("other.xml").c_str(), Path("link.xml").c_str()), 0);
    ASSERT_EQ(::symlink(Path("nowhere.xml").c_str(), Path("dangling.xml").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", Path("zero.xml").c_str()), 0);
    ASSERT_EQ(::mkdir(Path("folder.xml").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(Path("fifo.xml").c_str(), 0600), 0);
    // Sparse, so the test costs no disk: one byte over the cap.
    WriteFile(Path("huge.xml"), "");
    ASSERT_EQ(::truncate(Path("huge.xml").c_str(), static_cast<off_t>(feed::kMaxSavedCopyBytes + 1)), 0);
    for (const char* name :
         {"link.xml", "dangling.xml", "zero.xml", "folder.xml", "fifo.xml", "huge.xml", "none.xml"}) {
        const auto copy = feed::ReadSavedCopy(Path(name));
        ASSERT_FALSE(copy) << name;
        EXPECT_NE(copy.error().find(Path(name)), std::string::npos) << copy.error();
        const feed::FeedDocument doc = feed::LoadSavedCopy(Path(name));
        EXPECT_FALSE(doc.IsFeed()) << name;
        EXPECT_EQ(doc.Problem(), copy.error());
    }
    // A file of exactly the cap is still read.
    ASSERT_EQ(::truncate(Path("huge.xml").c_str(), static_cast<off_t>(feed::kMaxSavedCopyBytes)), 0);
    EXPECT_EQ(feed::ReadSavedCopy(Path("huge.xml")).value_or("").size(), feed::kMaxSavedCopyBytes);
}

TEST_F(SavedCopyTest, RefusesAFileOwnedBySomeoneElse) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    WriteFile(Path("planted.xml"), m_feed);
    ASSERT_EQ(::chown(Path("planted.xml").c_str(), 65534, 65534), 0);
    const auto planted = feed::ReadSavedCopy(Path("planted.xml"));
    ASSERT_FALSE(planted);
    EXPECT_NE(planted.error().find("anderen Benutzer"), std::string::npos) << planted.error();
}

TEST_F(SavedCopyTest, WritesAPrivateFileAndReplacesALinkNotItsTarget) {
    WriteFile(Path("victim.txt"), "precious");
    ASSERT_EQ(::symlink(Path("victim.txt").c_str(), Path("copy.xml").c_str()), 0);
    ::umask(022);
    ASSERT_TRUE(feed::WriteSavedCopy(Path("copy.xml"), m_feed));
    EXPECT_EQ(ReadFile(Path("victim.txt")), "precious");
    struct stat info {};
    ASSERT_EQ(::lstat(Path("copy.xml").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadFile(Path("copy.xml")), m_feed);
    EXPECT_TRUE(Others({"copy.xml", "victim.txt"}).empty());
}

// Fails the write after a number of bytes, the sync, or the rename, as a full or broken disk would.
class FailingOps final : public base::FileOps {
public:
    enum class Step { Write, Sync, Rename };
    FailingOps(Step step, std::size_t bytesBeforeFailure = 0) : m_step(step), m_budget(bytesBeforeFailure) {}
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (m_step != Step::Write) return base::FileOps::Write(fd, data, size);
        if (m_budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(size, m_budget);  // a short write first, as a filling disk gives
        m_budget -= n;
        return base::FileOps::Write(fd, data, n);
    }
    int Sync(int fd) override {
        if (m_step != Step::Sync) return base::FileOps::Sync(fd);
        errno = EIO;
        return -1;
    }
    int Rename(const char* from, const char* to) override {
        if (m_step != Step::Rename) return base::FileOps::Rename(from, to);
        errno = EXDEV;
        return -1;
    }

private:
    Step m_step;
    std::size_t m_budget;
};

TEST_F(SavedCopyTest, AFailedSaveLeavesTheOldCopyByteForByte) {
    const std::string old = testing_support::FeedBuilder().Realm(3, "Midgard").Guild(4, "Hammerfaust").Xml();
    WriteFile(Path("Dartmoor_lastkeeps.xml"), old);
    const std::pair<const char*, FailingOps> cases[] = {
        {"disk full at once", FailingOps(FailingOps::Step::Write, 0)},
        {"disk full mid-attribute", FailingOps(FailingOps::Step::Write, 4096)},
        {"sync fails", FailingOps(FailingOps::Step::Sync)},
        {"rename fails", FailingOps(FailingOps::Step::Rename)},
    };
    for (auto [what, ops] : cases) {
        EXPECT_FALSE(base::WritePrivateFile(Path("Dartmoor_lastkeeps.xml"), m_feed, ops)) << what;
        EXPECT_EQ(ReadFile(Path("Dartmoor_lastkeeps.xml")), old) << what;
        EXPECT_TRUE(Others({"Dartmoor_lastkeeps.xml"}).empty()) << what;
    }
    EXPECT_FALSE(feed::WriteSavedCopy(m_dir.filePath("missing/x.xml").toStdString(), m_feed));
}

// What killed saves left behind goes at start: only our own regular files of the temporary name
// pattern that are a minute old; a save under way, links, folders, other names and users' files stay.
TEST_F(SavedCopyTest, RemovesOnlyStaleTemporaryFilesOfOurOwnSaves) {
    const auto age = [this](const char* name, int seconds) {
        const timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, Path(name).c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << name;
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
        WriteFile(Path(f.name), "x");
        age(f.name, std::string_view(f.name) == "Logres_lastkeeps.xml.Xy98Zw" ? 5 : 120);
    }
    ASSERT_EQ(::symlink(Path("notes.txt").c_str(), Path("Avalon_lastkeeps.xml.Ln12Kk").c_str()), 0);
    age("Avalon_lastkeeps.xml.Ln12Kk", 120);
    ASSERT_EQ(::mkdir(Path("Avalon_lastkeeps.xml.Dd12Ee").c_str(), 0700), 0);
    age("Avalon_lastkeeps.xml.Dd12Ee", 120);
    const bool root = ::geteuid() == 0;
    if (root) {
        WriteFile(Path("Logres_lastkeeps.xml.Other1"), "x");
        ASSERT_EQ(::chown(Path("Logres_lastkeeps.xml.Other1").c_str(), 65534, 65534), 0);
        age("Logres_lastkeeps.xml.Other1", 120);
    }

    EXPECT_EQ(feed::RemoveStaleTemporaryFiles(m_dir.path().toStdString() + "/", 60), 2);
    for (const auto& f : files) EXPECT_EQ(!std::filesystem::exists(Path(f.name)), f.removed) << f.name;
    EXPECT_TRUE(std::filesystem::is_symlink(Path("Avalon_lastkeeps.xml.Ln12Kk")));
    EXPECT_TRUE(std::filesystem::is_directory(Path("Avalon_lastkeeps.xml.Dd12Ee")));
    if (root) {
        EXPECT_TRUE(std::filesystem::exists(Path("Logres_lastkeeps.xml.Other1")));
    }
}

}  // namespace
