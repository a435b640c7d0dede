#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace feed {

class FeedDocument;
class KeepNames;

// The change lines of one pass, in the popup's markup. Empty means "without storage".
using MessageLines = std::vector<std::string>;

// Who held a structure before and after, for each line of a comparison.
struct RealmChange {
    std::string oldRealm;
    std::string newRealm;
};
using RealmChanges = std::vector<RealmChange>;

// Compares a new feed with the saved copy of a server and appends one line per realm change to
// lines, in position order, and (when changes is given) the realms of each line to changes. Returns
// the description of a failure (for a "Fehler: " box) when the comparison had to stop; lines appended
// before it stay.
std::optional<std::string> CompareKeeps(std::string_view newFeed, std::string_view serverName,
                                        const std::string& savedCopyPath, const KeepNames& names, MessageLines& lines);
// The same with the new feed already parsed.
std::optional<std::string> CompareKeeps(const FeedDocument& current, std::string_view serverName,
                                        const std::string& savedCopyPath, const KeepNames& names, MessageLines& lines,
                                        RealmChanges* changes = nullptr);
// The same with both documents already parsed.
std::optional<std::string> CompareKeeps(const FeedDocument& current, const FeedDocument& previous,
                                        std::string_view serverName, const KeepNames& names, MessageLines& lines,
                                        RealmChanges* changes = nullptr);

}  // namespace feed
