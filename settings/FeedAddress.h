// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "base/Result.h"

namespace settings {

// What is wrong with a feed address as typed.
enum class AddressProblem { None, Empty, TooLong, Blanks, Scheme, NoHost, UserPart, PathOrQuery, Port };

// A feed host as the user typed it: "http" or "https", a host, maybe a port, nothing else (the path
// is fixed). Gives "scheme://host[:port]", or fails with what is wrong (see problemText).
base::Result<QString, AddressProblem> normalisedFeedBase(const QString& text);

// Why an address is refused: in German for the settings window, in English for the log.
QString problemText(AddressProblem problem);
const char* problemCause(AddressProblem problem);

// Where this run's feed host comes from.
enum class FeedBaseSource { None, CommandLine, Environment, File, BuildDefault };

// "der Kommandozeile (--feed-base)", "WARMAP_FEED_BASE", …: the source as the settings window names it.
QString sourceText(FeedBaseSource source);

struct FeedBaseChoice {
    QString base;  // normalised; empty when there is none and Warmap must ask for one
    FeedBaseSource source = FeedBaseSource::None;
    // An address given on the command line or in the environment that cannot be used: where it came
    // from and why. Such an address is passed over, and Warmap asks for one as if there were none.
    FeedBaseSource refused = FeedBaseSource::None;
    AddressProblem refusedBecause = AddressProblem::None;
    QString refusedText;  // as given, without its user part

    // Whether Warmap may poll: an address, and none of higher rank that had to be refused.
    bool isUsable() const { return !base.isEmpty() && refused == FeedBaseSource::None; }
};

// The feed host of this run, first of: the command line, WARMAP_FEED_BASE, the configuration file,
// the build-time default. Empty values do not count; a trailing slash is dropped. A bad address on the
// command line or in the environment is logged once (warmap.settings) when log is true.
FeedBaseChoice chooseFeedBase(const QString& commandLine, const QString& fromFile, bool log = false);

}  // namespace settings
