#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <optional>
#include <vector>

#include "platform/Paths.h"
#include "tests/support/EnvScope.h"
#include "tests/support/LogRecorder.h"

namespace {

using testing_support::EnvScope;

unsigned modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST(TempFolder, IsTmpdirWhenItNamesAFolder) {
    QTemporaryDir dir;
    EnvScope env;
    env.set("TMPDIR", dir.path().toLocal8Bit());
    EXPECT_EQ(platform::tempFolder(), dir.path().toStdString() + "/");
    env.set("TMPDIR", dir.path().toLocal8Bit() + "/");
    EXPECT_EQ(platform::tempFolder(), dir.path().toStdString() + "/");
}

// Never the shared /tmp, and never the program's folder: a private folder in the user's cache.
TEST(TempFolder, OtherwiseIsAPrivateFolderInTheUsersCache) {
    QTemporaryDir dir;
    EnvScope env;
    env.set("TMPDIR", dir.filePath("missing").toLocal8Bit());
    env.set("XDG_CACHE_HOME", dir.filePath("cache/deeper").toLocal8Bit());
    const std::string expected = dir.filePath("cache/deeper/warmap/").toStdString();
    EXPECT_EQ(platform::tempFolder(), expected);
    EXPECT_EQ(modeOf(expected), 0700u);
    EXPECT_EQ(modeOf(dir.filePath("cache/deeper").toStdString()), 0700u);

    env.unset("TMPDIR");
    env.set("XDG_CACHE_HOME", "relative/cache");  // not absolute: ignored
    env.set("HOME", dir.filePath("home").toLocal8Bit());
    EXPECT_EQ(platform::tempFolder(), dir.filePath("home/.cache/warmap/").toStdString());
    EXPECT_EQ(modeOf(dir.filePath("home/.cache/warmap").toStdString()), 0700u);

    // A file named by TMPDIR is no folder either.
    env.set("TMPDIR", dir.filePath("home/.cache/warmap").toLocal8Bit() + "/../../../file");
    ::close(::creat(dir.filePath("file").toLocal8Bit().constData(), 0600));
    EXPECT_EQ(platform::tempFolder(), dir.filePath("home/.cache/warmap/").toStdString());
}

// The lock and socket of the one running instance: only a runtime folder nobody else can enter.
TEST(RuntimeFolder, IsXdgRuntimeDirOnlyWhenPrivateAndOurs) {
    QTemporaryDir dir;
    EnvScope env;
    env.set("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
    const std::string fallback = dir.filePath("cache/warmap").toStdString();
    const std::string runtime = dir.filePath("run").toStdString();
    ::mkdir(runtime.c_str(), 0700);

    env.set("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    EXPECT_EQ(platform::runtimeFolder(), runtime);

    ::chmod(runtime.c_str(), 0770);  // others may enter: they could plant or steal the socket
    EXPECT_EQ(platform::runtimeFolder(), fallback);
    EXPECT_EQ(modeOf(fallback), 0700u);
    ::chmod(runtime.c_str(), 0700);

    env.set("XDG_RUNTIME_DIR", "relative/run");
    EXPECT_EQ(platform::runtimeFolder(), fallback);
    env.set("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime + "/missing"));
    EXPECT_EQ(platform::runtimeFolder(), fallback);
    env.unset("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::runtimeFolder(), fallback);

    if (::geteuid() == 0) {  // another user's folder
        ASSERT_EQ(::chown(runtime.c_str(), 65534, 65534), 0);
        env.set("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
        EXPECT_EQ(platform::runtimeFolder(), fallback);
    }
}

// In a folder others may write into, only a private folder of our own: made by us in a shared TMPDIR;
// anything another user planted in its place (or in the cache's), or a link, is never used.
TEST(TempFolder, InASharedFolderOnlyAPrivateOneOfOurOwn) {
    QTemporaryDir dir;
    EnvScope env;
    const std::string shared = dir.filePath("shared").toStdString();
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);  // like /tmp
    const std::string own = shared + "/warmap-" + std::to_string(::geteuid());
    env.set("TMPDIR", QByteArray::fromStdString(shared));
    env.set("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
    const std::string cache = dir.filePath("cache/warmap/").toStdString();

    EXPECT_EQ(platform::tempFolder(), own + "/");
    EXPECT_EQ(modeOf(own), 0700u);
    ASSERT_EQ(::chmod(own.c_str(), 0755), 0);  // ours, but open: closed again
    EXPECT_EQ(platform::tempFolder(), own + "/");
    EXPECT_EQ(modeOf(own), 0700u);

    ASSERT_EQ(::rmdir(own.c_str()), 0);
    ASSERT_EQ(::symlink(cache.c_str(), own.c_str()), 0);  // a link in its place, even to our own folder
    EXPECT_EQ(platform::tempFolder(), cache);
    ASSERT_EQ(::unlink(own.c_str()), 0);

    if (::geteuid() != 0) GTEST_SKIP() << "only root can plant another user's folder";
    ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
    ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
    EXPECT_EQ(platform::tempFolder(), cache);  // planted by someone else: the private cache instead

    // With the cache folder planted too, a folder of this run's own; and no lock at all.
    env.unset("TMPDIR");
    env.unset("XDG_RUNTIME_DIR");
    const std::string plantedCache = dir.filePath("cache2/warmap").toStdString();
    ASSERT_EQ(::mkdir(dir.filePath("cache2").toLocal8Bit().constData(), 0777), 0);
    ASSERT_EQ(::mkdir(plantedCache.c_str(), 0700), 0);
    ASSERT_EQ(::chown(plantedCache.c_str(), 65534, 65534), 0);
    env.set("XDG_CACHE_HOME", dir.filePath("cache2").toLocal8Bit());
    const std::string folder = platform::tempFolder();
    EXPECT_NE(folder, plantedCache + "/");
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0) << folder;
    EXPECT_EQ(platform::runtimeFolder(), "");
}

// A link whose target is gone still stands where a copy would be: it is never taken for no copy.
TEST(FileExists, SeesTheEntryItselfEvenALinkToNothing) {
    QTemporaryDir dir;
    const std::string link = dir.filePath("Dartmoor_lastkeeps.xml").toStdString();
    EXPECT_FALSE(platform::fileExists(link));
    ASSERT_EQ(::symlink("/nonexistent/target", link.c_str()), 0);
    EXPECT_TRUE(platform::fileExists(link));
}

}  // namespace
