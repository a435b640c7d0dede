#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/support/EnvScope.h"
#include "tests/support/TempDir.h"
#include "tray/Autostart.h"

namespace {

using testing_support::EnvScope;

TEST(Autostart, LivesInTheUsersAutostartFolder) {
    EnvScope env;
    env.set("XDG_CONFIG_HOME", "/home/someone/conf");
    env.set("HOME", "/home/someone");
    EXPECT_EQ(tray::autostartFilePath(), "/home/someone/conf/autostart/warmap.desktop");
    env.set("XDG_CONFIG_HOME", "conf");  // relative: ignored
    EXPECT_EQ(tray::autostartFilePath(), "/home/someone/.config/autostart/warmap.desktop");
    env.unset("XDG_CONFIG_HOME");
    EXPECT_EQ(tray::autostartFilePath(), "/home/someone/.config/autostart/warmap.desktop");
}

TEST(Autostart, SwitchingOnWritesTheEntryAndOffRemovesIt) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("config/autostart/warmap.desktop").toStdString();
    EXPECT_FALSE(tray::isAutostartEnabled(file));

    EXPECT_TRUE(tray::setAutostart(file, "/opt/warmap/lib/warmap/warmap", true));  // folder created
    EXPECT_TRUE(tray::isAutostartEnabled(file));
    const std::string entry = testing_support::readFile(file);
    EXPECT_EQ(entry, tray::autostartEntry("/opt/warmap/lib/warmap/warmap"));
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"/opt/warmap/lib/warmap/warmap\"\n"), std::string::npos);

    EXPECT_TRUE(tray::setAutostart(file, "/opt/warmap/lib/warmap/warmap", true));  // again: same file
    EXPECT_EQ(testing_support::readFile(file), entry);

    EXPECT_TRUE(tray::setAutostart(file, "", false));
    EXPECT_FALSE(tray::isAutostartEnabled(file));
    EXPECT_TRUE(tray::setAutostart(file, "", false));  // nothing there: nothing to do
}

TEST(Autostart, WhatCannotBeWrittenIsSaidAndNothingIsClaimed) {
    QTemporaryDir dir;
    // Where the folder should be lies a file.
    testing_support::writeFile(dir.filePath("config").toStdString(), "");
    const std::string file = dir.filePath("config/autostart/warmap.desktop").toStdString();
    const auto problem = tray::setAutostart(file, "/usr/bin/warmap", true);
    ASSERT_FALSE(problem);
    EXPECT_NE(problem.error().find("config/autostart"), std::string::npos);
    EXPECT_FALSE(tray::isAutostartEnabled(file));

    // A folder at the file's name is no entry, and cannot be removed as one.
    const std::string other = dir.filePath("other/autostart/warmap.desktop").toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(other)));
    EXPECT_FALSE(tray::isAutostartEnabled(other));
    testing_support::writeFile(other + "/keep", "");
    EXPECT_FALSE(tray::setAutostart(other, "", false));
}

TEST(Autostart, ExecQuotesEveryPathSoItRunsThatProgram) {
    EXPECT_EQ(tray::desktopExecArgument("/usr/lib/warmap/warmap"), "\"/usr/lib/warmap/warmap\"");
    EXPECT_EQ(tray::desktopExecArgument("/home/Jo Ann/Spiele/warmap"), "\"/home/Jo Ann/Spiele/warmap\"");
    // Quote, backquote and dollar get one backslash inside the quotes; the key's own escaping doubles it.
    EXPECT_EQ(tray::desktopExecArgument("/a\"b`c$d"), "\"/a\\\\\"b\\\\`c\\\\$d\"");
    // A backslash: two for the quotes, each doubled for the key: four.
    EXPECT_EQ(tray::desktopExecArgument("/a\\b"), "\"/a\\\\\\\\b\"");
    EXPECT_EQ(tray::desktopExecArgument("/100%/warmap"), "\"/100%%/warmap\"");
    EXPECT_EQ(tray::desktopExecArgument("/line\nbreak"), "\"/line\\nbreak\"");
}

}  // namespace
