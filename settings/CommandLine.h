// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

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
    QString feedBase;  // --feed-base, checked and normalised; empty when not given
    bool openSettings = false;
    QString output;
};

inline constexpr int kUsageExitStatus = 2;

// arguments as main received them, the program's name first.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace settings
