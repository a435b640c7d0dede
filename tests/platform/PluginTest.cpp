#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "history/StoreOpener.h"
#include "history/WindowFactory.h"
#include "notify/SoundFactory.h"
#include "platform/Paths.h"
#include "platform/Plugin.h"
#include "tests/support/LogRecorder.h"

namespace {

// Each plugin loads through its own interface and gives what it promises.
TEST(LoadPlugin, EachPluginLoadsThroughItsInterface) {
    const auto* sounds = platform::loadPlugin<notify::SoundFactory>(QStringLiteral("warmap-sound"));
    ASSERT_NE(sounds, nullptr);
    const std::unique_ptr<notify::Sound> sound = sounds->createSound();
    ASSERT_NE(sound, nullptr);
    EXPECT_FALSE(sound->playWaveResource(QStringLiteral("no such sound")));

    QTemporaryDir dir;
    const auto* opener = platform::loadPlugin<history::StoreOpener>(QStringLiteral("warmap-store"));
    ASSERT_NE(opener, nullptr);
    auto opened = opener->open(dir.filePath("history.sqlite").toStdString());
    ASSERT_TRUE(opened) << opened.error();
    const std::unique_ptr<history::HistoryLog> store = std::move(*opened);
    EXPECT_TRUE(store->moments(0, 0, 1).empty());

    const auto* windows = platform::loadPlugin<history::WindowFactory>(QStringLiteral("warmap-history"));
    ASSERT_NE(windows, nullptr);
    const std::unique_ptr<QWidget> window(windows->createWindow(store.get(), {}, WARMAP_DATA_DIR));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Warmap \u2014 Verlauf"));
}

// A missing library, a plugin of another interface and a library that is no plugin at all are a broken
// installation, said once in the log with the library's name; nothing is handed out.
TEST(LoadPlugin, RefusesWhatIsNotThePluginAsked) {
    // A real shared library that is no Qt plugin, under a plugin's name beside the others.
    const QString notAPlugin = QStringLiteral("warmap-test-not-a-plugin-%1").arg(::getpid());
    const QString linkPath = QString::fromStdString(platform::pluginFolder()) + "/lib" + notAPlugin + ".so";
    ASSERT_TRUE(QFile::link(QStringLiteral("/lib/x86_64-linux-gnu/libz.so.1"), linkPath) ||
                QFile::link(QStringLiteral("/usr/lib/x86_64-linux-gnu/libz.so.1"), linkPath));
    struct Case {
        QString name;
        bool (*load)(const QString&);
    };
    const Case cases[] = {
        {QStringLiteral("warmap-no-such-part"),
         [](const QString& name) { return platform::loadPlugin<notify::SoundFactory>(name) != nullptr; }},
        {QStringLiteral("warmap-store"),
         [](const QString& name) { return platform::loadPlugin<notify::SoundFactory>(name) != nullptr; }},
        {QStringLiteral("warmap-sound"),
         [](const QString& name) { return platform::loadPlugin<history::StoreOpener>(name) != nullptr; }},
        {notAPlugin, [](const QString& name) { return platform::loadPlugin<history::WindowFactory>(name) != nullptr; }},
    };
    for (const Case& c : cases) {
        testing_support::LogRecorder log;
        EXPECT_FALSE(c.load(c.name)) << c.name.toStdString();
        EXPECT_EQ(log.matching("warmap.installation", {"broken installation", c.name}).size(), 1)
            << log.lines().join('\n').toStdString();
    }
    QFile::remove(linkPath);
}

}  // namespace
