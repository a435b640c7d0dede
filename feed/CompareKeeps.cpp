#include "feed/CompareKeeps.h"

#include "base/Wording.h"
#include "feed/FeedDocument.h"
#include "feed/Frontier.h"
#include "feed/KeepNames.h"
#include "feed/SavedCopy.h"

namespace feed {
namespace {

// The guild only chooses which lines are told; an entry without one compares as before.
std::string guildOf(const FeedDocument& document, std::size_t position) {
    try {
        return document.attribute(position, "guildname");
    } catch (const FeedError&) {
        return {};
    }
}

}  // namespace

base::Status compareKeeps(std::string_view newFeed, std::string_view serverName, const std::string& savedCopyPath,
                          const KeepNames& names, MessageLines& lines) {
    return compareKeeps(FeedDocument::parse(newFeed), serverName, savedCopyPath, names, lines);
}

base::Status compareKeeps(const FeedDocument& current, std::string_view serverName, const std::string& savedCopyPath,
                          const KeepNames& names, MessageLines& lines, RealmChanges* changes) {
    return compareKeeps(current, loadSavedCopy(savedCopyPath), serverName, names, lines, changes);
}

base::Status compareKeeps(const FeedDocument& current, const FeedDocument& previous, std::string_view serverName,
                          const KeepNames& names, MessageLines& lines, RealmChanges* changes) {
    if (!previous.isFeed())
        return base::Failure{base::filled(base::translate("feed::CompareKeeps", "gespeicherte Kopie von %1: %2"),
                                          {serverName, previous.problem()})};
    if (!current.isFeed())
        return base::Failure{base::filled(base::translate("feed::CompareKeeps", "neuer Feed von %1: %2"),
                                          {serverName, current.problem()})};

    try {
        for (std::size_t i = 0; i < kStructures; ++i) {
            const std::string id = current.attribute(i, "id");
            if (id != previous.attribute(i, "id")) continue;
            const std::string newRealm = current.attribute(i, "realm");
            const std::string oldRealm = previous.attribute(i, "realm");
            if (newRealm == oldRealm) continue;
            lines.push_back("^b" + serverShortCode(serverName) + ": " + realmColourCode(oldRealm) + names.keepName(id) +
                            "^Irechts" + realmColourCode(newRealm) + newRealm);
            if (changes) {
                changes->push_back({oldRealm, newRealm, guildOf(previous, i), guildOf(current, i)});
            }
        }
    } catch (const FeedError& error) {
        return base::Failure{std::string(serverName) + ": " + error.what()};
    }
    return {};
}

}  // namespace feed
