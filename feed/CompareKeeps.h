#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace feed {

class FeedDocument;
class KeepNames;

// The change lines of one pass, in the popup's markup. Empty means "without storage".
using MessageLines = std::vector<std::string>;

// Who held a structure before and after, for each line of a comparison: realm and guild (empty when
// no guild held it).
struct RealmChange {
    std::string oldRealm;
    std::string newRealm;
    std::string oldGuild;
    std::string newGuild;
};
using RealmChanges = std::vector<RealmChange>;

// Compares a new feed with the saved copy of a server and appends one line per realm change to
// lines, in position order, and (when changes is given) the realms of each line to changes. Fails with
// the description (for a "Fehler: " box) when the comparison had to stop; lines appended before it
// stay.
base::Status compareKeeps(std::string_view newFeed, std::string_view serverName, const std::string& savedCopyPath,
                          const KeepNames& names, MessageLines& lines);
// The same with the new feed already parsed.
base::Status compareKeeps(const FeedDocument& current, std::string_view serverName, const std::string& savedCopyPath,
                          const KeepNames& names, MessageLines& lines, RealmChanges* changes = nullptr);
// The same with both documents already parsed.
base::Status compareKeeps(const FeedDocument& current, const FeedDocument& previous, std::string_view serverName,
                          const KeepNames& names, MessageLines& lines, RealmChanges* changes = nullptr);

}  // namespace feed
