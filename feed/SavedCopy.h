#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "base/SafeFile.h"

namespace feed {

class FeedDocument;

// A saved copy larger than this is refused; the feed itself is capped at the same size.
inline constexpr std::size_t kMaxSavedCopyBytes = 8u << 20;

// Reads a saved copy without trusting the folder it lies in: a symbolic link is never followed, and
// only a regular file owned by the user running the program, of at most kMaxSavedCopyBytes, is read.
// Never blocks on a FIFO or a device. Fails with why it was refused (for a "Fehler: " box).
base::Result<std::string> readSavedCopy(const std::string& path);

// The saved copy parsed as a feed; a refused or unreadable file is a document that is no feed.
FeedDocument loadSavedCopy(const std::string& path);

// Replaces the saved copy in one step, as a private file (see base::writePrivateFile).
inline base::Result<void, int> writeSavedCopy(const std::string& path, std::string_view bytes) {
    return base::writePrivateFile(path, bytes);
}

// Removes what saves interrupted by a kill left in folder: regular files of our own named like a
// saved copy's temporary file ("<Server>_lastkeeps.xml" and six letters or digits) that were last
// changed at least olderThanSeconds ago (a running save is never that old). Links, folders and other
// users' files are left alone. Returns how many were removed.
int removeStaleTemporaryFiles(const std::string& folder, int olderThanSeconds);

}  // namespace feed
