// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "settings/CommandLine.h"

namespace {

using Action = settings::CommandLine::Action;

TEST(CommandLine, EachArgumentAsked) {
    struct Case {
        QStringList arguments;
        Action action;
        QString feedBase;
        bool openSettings;
        const char* printed;  // a text the output must hold
    };
    const Case cases[] = {
        {{"warmap"}, Action::Run, {}, false, ""},
        {{"warmap", "--settings"}, Action::Run, {}, true, ""},
        {{"warmap", "--feed-base", "https://Feed.Example:8443/"}, Action::Run, "https://feed.example:8443", false, ""},
        {{"warmap", "--feed-base=http://127.0.0.1:9", "--settings"}, Action::Run, "http://127.0.0.1:9", true, ""},
        {{"/usr/bin/warmap", "--help"}, Action::ShowHelp, {}, false, "Usage: /usr/bin/warmap [options]"},
        {{"warmap", "-h", "--bogus"}, Action::Refuse, {}, false, "Unknown option 'bogus'"},
        {{"warmap", "--version"}, Action::ShowVersion, {}, false, "Warmap 1."},
        {{"warmap", "--bogus"}, Action::Refuse, {}, false, "Usage: warmap [options]"},
        {{"warmap", "extra"}, Action::Refuse, {}, false, "unexpected argument 'extra'"},
        {{"warmap", "-platform", "offscreen", "-reverse", "--settings"}, Action::Run, {}, true, ""},
        {{"warmap", "--feed-base"}, Action::Refuse, {}, false, "Missing value after '--feed-base'"},
        {{"warmap", "--feed-base", "file:///etc/passwd"}, Action::Refuse, {}, false, "--feed-base"},
        {{"warmap", "--feed-base", "http://feed.example/herald"}, Action::Refuse, {}, false, "no http or https"},
    };
    for (const Case& c : cases) {
        const settings::CommandLine command = settings::ParseCommandLine(c.arguments);
        const std::string what = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(command.action, c.action) << what;
        EXPECT_EQ(command.feedBase, c.feedBase) << what;
        EXPECT_EQ(command.openSettings, c.openSettings) << what;
        EXPECT_TRUE(command.output.contains(QString::fromUtf8(c.printed))) << what << ": " << command.output.toStdString();
    }
}

}  // namespace
