#include "feed/CompareKeeps.h"

#include "feed/FeedDocument.h"
#include "feed/Frontier.h"
#include "feed/KeepNames.h"
#include "feed/SavedCopy.h"

namespace feed {

base::Status CompareKeeps(std::string_view newFeed, std::string_view serverName,
                                        const std::string& savedCopyPath, const KeepNames& names, MessageLines& lines) {
    return CompareKeeps(FeedDocument::Parse(newFeed), serverName, savedCopyPath, names, lines);
}

base::Status CompareKeeps(const FeedDocument& current, std::string_view serverName,
                                        const std::string& savedCopyPath, const KeepNames& names, MessageLines& lines,
                                        RealmChanges* changes) {
    return CompareKeeps(current, LoadSavedCopy(savedCopyPath), serverName, names, lines, changes);
}

base::Status CompareKeeps(const FeedDocument& current, const FeedDocument& previous,
                                        std::string_view serverName, const KeepNames& names, MessageLines& lines,
                                        RealmChanges* changes) {
    if (!previous.IsFeed())
        return base::Failure{"gespeicherte Kopie von " + std::string(serverName) + ": " + previous.Problem()};
    if (!current.IsFeed()) return base::Failure{"neuer Feed von " + std::string(serverName) + ": " + current.Problem()};

    try {
        for (std::size_t i = 0; i < kStructures; ++i) {
            const std::string id = current.Attribute(i, "id");
            if (id != previous.Attribute(i, "id")) continue;
            const std::string newRealm = current.Attribute(i, "realm");
            const std::string oldRealm = previous.Attribute(i, "realm");
            if (newRealm == oldRealm) continue;
            lines.push_back("^b" + ServerShortCode(serverName) + ": " + RealmColourCode(oldRealm) + names.KeepName(id) +
                            "^Irechts" + RealmColourCode(newRealm) + newRealm);
            if (changes) changes->push_back({oldRealm, newRealm});
        }
    } catch (const FeedError& error) {
        return base::Failure{std::string(serverName) + ": " + error.what()};
    }
    return {};
}

}  // namespace feed
