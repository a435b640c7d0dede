#include "feed/SavedCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cctype>
#include <ctime>

#include "base/Wording.h"
#include "feed/FeedDocument.h"
#include "feed/FeedPaths.h"
#include "feed/Frontier.h"

namespace feed {

base::Result<std::string> readSavedCopy(const std::string& path) {
    const auto bytes =
        base::readWholeFile(path, {.followLinks = false, .ownedByUs = true, .maxBytes = kMaxSavedCopyBytes});
    if (bytes) return *bytes;
    const auto refused = [&path](const std::string& why) { return base::Failure{why + ": " + path}; };
    switch (bytes.error().kind) {
        case base::Refusal::Kind::Link:
            return refused(base::translate("feed::SavedCopy", "Datei ist eine Verknüpfung"));
        case base::Refusal::Kind::NotRegular:
            return refused(base::translate("feed::SavedCopy", "keine gewöhnliche Datei"));
        case base::Refusal::Kind::OtherUser:
            return refused(base::translate("feed::SavedCopy", "Datei gehört einem anderen Benutzer"));
        case base::Refusal::Kind::TooLarge:
            return refused(base::translate("feed::SavedCopy", "Datei größer als 8 MiB"));
        case base::Refusal::Kind::Missing:
        case base::Refusal::Kind::Unreadable:
            break;
    }
    return refused(base::translate("feed::SavedCopy", "Datei nicht lesbar"));
}

FeedDocument loadSavedCopy(const std::string& path) {
    const base::Result<std::string> copy = readSavedCopy(path);
    if (!copy) return FeedDocument::notAFeed(copy.error());
    return FeedDocument::parse(*copy);
}

int removeStaleTemporaryFiles(const std::string& folder, int olderThanSeconds) {
    const auto isTemporaryOf = [](std::string_view name, std::string_view copy) {
        if (name.size() != copy.size() + base::kTemporarySuffixPattern.size() || name.substr(0, copy.size()) != copy ||
            name[copy.size()] != '.')
            return false;
        for (char c : name.substr(copy.size() + 1)) {
            if (!std::isalnum(static_cast<unsigned char>(c))) return false;
        }
        return true;
    };
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const int dirFd = ::dirfd(dir);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        bool ours = false;
        for (std::string_view server : kServerNames) {
            const std::string copy = savedCopyPath("", server);
            ours = ours || isTemporaryOf(name, copy);
        }
        struct stat info {};
        if (!ours || ::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || now - info.st_mtime < olderThanSeconds) continue;
        if (::unlinkat(dirFd, entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace feed
