// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "core/RefreshPass.h"

namespace core {

struct FeedCheckResult {
    bool isFeed = false;
    std::string verdict;  // German, for the settings window
};

// The settings window's "Prüfen": fetches Dartmoor's feed from feedBase once, with short limits and
// no message box, and says whether it is a feed.
FeedCheckResult checkFeed(const std::string& feedBase, const Downloader& download = helperDownloader());

}  // namespace core
