#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <optional>
#include <vector>

#include "platform/Paths.h"

namespace {

// Sets environment variables for one test and puts them back afterwards.
class EnvScope {
public:
    void Set(const char* name, const QByteArray& value) {
        Remember(name);
        qputenv(name, value);
    }
    void Unset(const char* name) {
        Remember(name);
        qunsetenv(name);
    }
    ~EnvScope() {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }

private:
    void Remember(const char* name) {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST(TempFolder, IsTmpdirWhenItNamesAFolder) {
    QTemporaryDir dir;
    EnvScope env;
    env.Set("TMPDIR", dir.path().toLocal8Bit());
    EXPECT_EQ(platform::TempFolder(), dir.path().toStdString() + "/");
    env.Set("TMPDIR", dir.path().toLocal8Bit() + "/");
    EXPECT_EQ(platform::TempFolder(), dir.path().toStdString() + "/");
}

// Never the shared /tmp, and never the program's folder: a private folder in the user's cache.
TEST(TempFolder, OtherwiseIsAPrivateFolderInTheUsersCache) {
    QTemporaryDir dir;
    EnvScope env;
    env.Set("TMPDIR", dir.filePath("missing").toLocal8Bit());
    env.Set("XDG_CACHE_HOME", dir.filePath("cache/deeper").toLocal8Bit());
    const std::string expected = dir.filePath("cache/deeper/warmap/").toStdString();
    EXPECT_EQ(platform::TempFolder(), expected);
    EXPECT_EQ(ModeOf(expected), 0700u);
    EXPECT_EQ(ModeOf(dir.filePath("cache/deeper").toStdString()), 0700u);

    env.Unset("TMPDIR");
    env.Set("XDG_CACHE_HOME", "relative/cache");  // not absolute: ignored
    env.Set("HOME", dir.filePath("home").toLocal8Bit());
    EXPECT_EQ(platform::TempFolder(), dir.filePath("home/.cache/warmap/").toStdString());
    EXPECT_EQ(ModeOf(dir.filePath("home/.cache/warmap").toStdString()), 0700u);

    // A file named by TMPDIR is no folder either.
    env.Set("TMPDIR", dir.filePath("home/.cache/warmap").toLocal8Bit() + "/../../../file");
    ::close(::creat(dir.filePath("file").toLocal8Bit().constData(), 0600));
    EXPECT_EQ(platform::TempFolder(), dir.filePath("home/.cache/warmap/").toStdString());
}

}  // namespace
