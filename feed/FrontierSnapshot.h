#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "feed/Frontier.h"

namespace feed {

class FeedDocument;

// What the map draws of a saved copy: its date and, at every position, the structure's "id", "realm"
// and "guildname". It is kept in a small file in a folder of its own (the private cache folder), keyed
// by the copy's bytes, so that the first frame draws the saved map without parsing XML. A cache only:
// whatever is wrong with it, the map parses the copy itself.
struct FrontierSnapshot {
    static constexpr std::array<const char*, 3> kAttributes{"id", "realm", "guildname"};

    std::string date;
    std::array<std::array<std::string, kAttributes.size()>, kStructures> entries;

    // The value FeedDocument::attribute gave; nothing for what the snapshot does not hold.
    std::optional<std::string> attribute(std::size_t position, std::string_view name) const;
};

// The snapshot of a parsed feed; nothing when the document lacks its date or any entry's attribute
// (the map then reads the copy itself, and says what is wrong with it).
std::optional<FrontierSnapshot> snapshotOf(const FeedDocument& document);

// The snapshot file of a saved copy in folder: the copy's file name and ".snapshot".
std::string snapshotPath(const std::string& folder, const std::string& savedCopyPath);

// Writes the snapshot of a saved copy whose bytes are copy to the file at path (not synced to disk:
// one lost in a crash costs a parse). Fails with the system's cause (errno).
base::Result<void, int> writeSnapshot(const std::string& path, std::string_view copy, const FrontierSnapshot& snapshot);

// The snapshot in the file at path when it was written for these very bytes; nothing for a missing,
// foreign, damaged or older one. Never waits on what is no regular file.
std::optional<FrontierSnapshot> readSnapshot(const std::string& path, std::string_view copy);

}  // namespace feed
