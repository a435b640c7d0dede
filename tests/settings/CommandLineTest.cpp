// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "settings/CommandLine.h"

namespace {

using Action = settings::CommandLine::Action;

TEST(CommandLine, EachArgumentAsked) {
    using Request = platform::SingleInstance::Request;
    struct Case {
        QStringList arguments;
        Action action;
        QString feedBase;  // as given: a bad one is passed over where the feed host is chosen
        Request request;
        const char* printed;  // a text the output must hold
    };
    const Case cases[] = {
        {{"warmap"}, Action::Run, {}, Request::ShowWindow, ""},
        {{"warmap", "--settings"}, Action::Run, {}, Request::ShowSettings, ""},
        {{"warmap", "--history"}, Action::Run, {}, Request::ShowHistory, ""},
        {{"warmap", "--recent"}, Action::Run, {}, Request::ShowRecent, ""},
        {{"warmap", "--quit"}, Action::Run, {}, Request::Quit, ""},
        {{"warmap", "--show"}, Action::Run, {}, Request::ShowWindow, ""},
        {{"warmap", "--history", "--quit"}, Action::Refuse, {}, Request::ShowWindow, "--history, --quit cannot be"},
        {{"warmap", "--feed-base", "https://Feed.Example:8443/"},
         Action::Run,
         "https://Feed.Example:8443/",
         Request::ShowWindow,
         ""},
        {{"warmap", "--feed-base=http://127.0.0.1:9", "--settings"},
         Action::Run,
         "http://127.0.0.1:9",
         Request::ShowSettings,
         ""},
        {{"/usr/bin/warmap", "--help"}, Action::ShowHelp, {}, Request::ShowWindow, "Usage: /usr/bin/warmap [options]"},
        {{"warmap", "-h", "--bogus"}, Action::Refuse, {}, Request::ShowWindow, "Unknown option 'bogus'"},
        {{"warmap", "--version"}, Action::ShowVersion, {}, Request::ShowWindow, "Warmap 1."},
        {{"warmap", "--bogus"}, Action::Refuse, {}, Request::ShowWindow, "Usage: warmap [options]"},
        {{"warmap", "extra"}, Action::Refuse, {}, Request::ShowWindow, "unexpected argument 'extra'"},
        {{"warmap", "-platform", "offscreen", "-reverse", "--settings"}, Action::Run, {}, Request::ShowSettings, ""},
        {{"warmap", "--feed-base"}, Action::Refuse, {}, Request::ShowWindow, "Missing value after '--feed-base'"},
        {{"warmap", "--feed-base", "file:///etc/passwd"}, Action::Run, "file:///etc/passwd", Request::ShowWindow, ""},
    };
    for (const Case& c : cases) {
        const settings::CommandLine command = settings::parseCommandLine(c.arguments);
        const std::string what = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(command.action, c.action) << what;
        if (c.action == Action::Run) {
            EXPECT_EQ(command.feedBase, c.feedBase) << what;
            EXPECT_EQ(command.request, c.request) << what;
        }
        EXPECT_TRUE(command.output.contains(QString::fromUtf8(c.printed)))
            << what << ": " << command.output.toStdString();
    }
}

}  // namespace
