// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "platform/SingleInstance.h"

namespace platform {
class Translations;
}

namespace settings {

// What the command line asks for. Parsed before anything needs a display, a lock or a socket.
struct CommandLine {
    enum class Action {
        Run,          // start (or hand over to the running Warmap)
        ShowHelp,     // print output on stdout, exit 0
        ShowVersion,  // print output on stdout, exit 0
        Refuse,       // print output (the problem and the usage) on stderr, exit 2
    };
    Action action = Action::Run;
    QString feedBase;  // --feed-base as given (checked where the feed host is chosen); empty when not given
    // What to open (or, with Quit, to end): in the running Warmap, else in this one.
    platform::SingleInstance::Request request = platform::SingleInstance::Request::ShowWindow;
    QString platform;  // Qt's -platform, for the display check before Qt starts
    QString output;
};

inline constexpr int kUsageExitStatus = 2;

// arguments as main received them, the program's name first.
CommandLine parseCommandLine(const QStringList& arguments);
// The same, its texts in the language of words.
CommandLine parseCommandLine(const QStringList& arguments, const platform::Translations& words);

}  // namespace settings
