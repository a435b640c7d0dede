#include "feed/SavedCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include "feed/FeedDocument.h"
#include "feed/FeedPaths.h"
#include "feed/Frontier.h"

namespace feed {
namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int Get() const { return m_fd; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string Refused(const std::string& why, const std::string& path) {
    return why + ": " + path;
}

bool WriteAll(FileOps& ops, int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ops.Write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself survive a crash; a folder that cannot be synced is no reason to fail.
void SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

ssize_t FileOps::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileOps::Sync(int fd) {
    return ::fsync(fd);
}

int FileOps::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

SavedCopyBytes ReadSavedCopy(const std::string& path) {
    SavedCopyBytes result;
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        result.problem = Refused(errno == ELOOP ? "Datei ist eine Verknüpfung" : "Datei nicht lesbar", path);
        return result;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.problem = Refused("keine gewöhnliche Datei", path);
        return result;
    }
    if (info.st_uid != ::geteuid()) {
        result.problem = Refused("Datei gehört einem anderen Benutzer", path);
        return result;
    }
    if (static_cast<std::size_t>(info.st_size) > kMaxSavedCopyBytes) {
        result.problem = Refused("Datei größer als 8 MiB", path);
        return result;
    }
    // The file may grow while we read; never take more than the cap.
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() > kMaxSavedCopyBytes) break;
            bytes.resize(std::min(kMaxSavedCopyBytes + 1, bytes.size() + 4096));
        }
        const ssize_t n = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.problem = Refused("Datei nicht lesbar", path);
            return result;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done > kMaxSavedCopyBytes) {
        result.problem = Refused("Datei größer als 8 MiB", path);
        return result;
    }
    bytes.resize(done);
    result.bytes = std::move(bytes);
    return result;
}

FeedDocument LoadSavedCopy(const std::string& path) {
    SavedCopyBytes copy = ReadSavedCopy(path);
    if (!copy.problem.empty()) return FeedDocument::NotAFeed(copy.problem);
    return FeedDocument::Parse(copy.bytes);
}

bool WriteSavedCopy(const std::string& path, std::string_view bytes, FileOps& ops) {
    std::vector<char> name(path.begin(), path.end());
    for (char c : kTemporarySuffixPattern) name.push_back(c);
    name.push_back('\0');
    // mkostemp creates the file exclusively with mode 0600.
    Descriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.Get() < 0) return false;
    const bool written = WriteAll(ops, fd.Get(), bytes) && ops.Sync(fd.Get()) == 0 && fd.Close() &&
                         ops.Rename(name.data(), path.c_str()) == 0;
    if (!written) {
        const int error = errno;  // the caller says why
        ::unlink(name.data());
        errno = error;
        return false;
    }
    SyncFolderOf(path);
    return true;
}

bool WriteSavedCopy(const std::string& path, std::string_view bytes) {
    FileOps ops;
    return WriteSavedCopy(path, bytes, ops);
}

int RemoveStaleTemporaryFiles(const std::string& folder, int olderThanSeconds) {
    const auto isTemporaryOf = [](std::string_view name, std::string_view copy) {
        if (name.size() != copy.size() + kTemporarySuffixPattern.size() || name.substr(0, copy.size()) != copy ||
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
        for (std::string_view server : ServerNames) {
            const std::string copy = SavedCopyPath("", server);
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
