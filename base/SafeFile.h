#pragma once

#include <sys/types.h>

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace base {

// Why a file was not taken. Each reader words it for its own log line or box.
struct Refusal {
    enum class Kind { Missing, Unreadable, Link, NotRegular, OtherUser, TooLarge };
    Kind kind;
    int error = 0;    // the system's cause (errno), for Missing and Unreadable
    uid_t owner = 0;  // for OtherUser
};

// What a file the program reads must be. Whatever the rules, only a regular file is taken, and opening
// never waits: a FIFO in the file's place would hold the program up for ever, a device never ends.
struct ReadRules {
    bool followLinks = true;  // false: a symbolic link in the file's place is refused, never followed
    bool ownedByUs = false;   // true: only a file of the user running the program
    std::size_t maxBytes = std::numeric_limits<std::size_t>::max();  // also while it grows under the read
};

// An open file descriptor, closed when it goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();
    int get() const { return m_fd; }
    // Hands the descriptor over: it is no longer closed here.
    int release();
    // Closes now; false when the close failed (a late write error shows up here).
    bool close();

private:
    int m_fd;
};

// What a refusal says after the file's name in a log line: "is a symbolic link", "belongs to another
// user (uid 1001)", "cannot be looked at: Permission denied".
std::string describe(const Refusal& refusal);

// Whether the entry at path meets the rules, judged from the entry itself without opening it (for a
// file handed to a library that opens it itself).
Result<void, Refusal> checkFile(const std::string& path, const ReadRules& rules);

// The file at path opened for reading, when it meets the rules.
Result<FileDescriptor, Refusal> openForReading(const std::string& path, const ReadRules& rules);

// All bytes of the file at path, when it meets the rules.
Result<std::string, Refusal> readWholeFile(const std::string& path, const ReadRules& rules);

// The few file-system calls a private write makes, so tests can make them fail part-way.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int sync(int fd);
    virtual int rename(const char* from, const char* to);
};

// The name of the private file a write fills before renaming it: the path and six letters.
inline constexpr std::string_view kTemporarySuffixPattern = ".XXXXXX";

// Replaces the file at path in one step: the bytes go to a new private file (mode 0600) beside it,
// every write is checked, the file is synced, then renamed over the old name. A rename replaces a
// symbolic link itself, never its target. On any failure the new file is removed, the old one stays
// byte for byte as it was, and the failure holds the system's cause (errno).
Result<void, int> writePrivateFile(const std::string& path, std::string_view bytes, FileOps& ops);
Result<void, int> writePrivateFile(const std::string& path, std::string_view bytes);

}  // namespace base
