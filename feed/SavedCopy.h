#pragma once

#include <sys/types.h>
#include <cstddef>
#include <string>
#include <string_view>

namespace feed {

class FeedDocument;

// A saved copy larger than this is refused; the feed itself is capped at the same size.
inline constexpr std::size_t kMaxSavedCopyBytes = 8u << 20;

// What reading a saved copy came to: its bytes, or why it was refused (for a "Fehler: " box).
struct SavedCopyBytes {
    std::string bytes;
    std::string problem;  // empty when the bytes were read
};

// Reads a saved copy without trusting the folder it lies in: a symbolic link is never followed, and
// only a regular file owned by the user running the program, of at most kMaxSavedCopyBytes, is read.
// Never blocks on a FIFO or a device.
SavedCopyBytes ReadSavedCopy(const std::string& path);

// The saved copy parsed as a feed; a refused or unreadable file is a document that is no feed.
FeedDocument LoadSavedCopy(const std::string& path);

// The few file-system calls a save makes, so tests can make them fail part-way.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int Sync(int fd);
    virtual int Rename(const char* from, const char* to);
};

// Replaces the saved copy in one step: the bytes go to a new private file (mode 0600) beside it,
// every write is checked, the file is synced, then renamed over the old name. A rename replaces a
// symbolic link itself, never its target. On any failure the new file is removed, the old copy stays
// byte for byte as it was, and false is returned with errno telling why.
bool WriteSavedCopy(const std::string& path, std::string_view bytes, FileOps& ops);
bool WriteSavedCopy(const std::string& path, std::string_view bytes);

// The name of the private file a save writes before renaming it: the copy's path and six letters.
inline constexpr std::string_view kTemporarySuffixPattern = ".XXXXXX";

// Removes what saves interrupted by a kill left in folder: regular files of our own named like a
// saved copy's temporary file ("<Server>_lastkeeps.xml" and six letters or digits) that were last
// changed at least olderThanSeconds ago (a running save is never that old). Links, folders and other
// users' files are left alone. Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& folder, int olderThanSeconds);

}  // namespace feed
