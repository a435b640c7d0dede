// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace settings {

// A feed host as the user typed it: "http" or "https", a host, maybe a port, nothing else (the path
// is fixed). Gives "scheme://host[:port]", or an empty text and a German reason in problem.
QString NormalisedFeedBase(const QString& text, QString* problem = nullptr);

// The feed host of this run, first of: the command line, WARMAP_FEED_BASE, the configuration file,
// the build-time default. Empty values do not count; a trailing slash is dropped.
QString ChooseFeedBase(const QString& commandLine, const QString& fromFile);

}  // namespace settings
