#include "base/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace base {
namespace {

Result<void, Refusal> judge(const struct stat& info, const ReadRules& rules) {
    if (!S_ISREG(info.st_mode)) return Failure{Refusal{Refusal::Kind::NotRegular}};
    if (rules.ownedByUs && info.st_uid != ::geteuid())
        return Failure{Refusal{Refusal::Kind::OtherUser, 0, info.st_uid}};
    if (static_cast<std::size_t>(info.st_size) > rules.maxBytes) return Failure{Refusal{Refusal::Kind::TooLarge}};
    return {};
}

Refusal unopened(int error, bool followLinks) {
    if (error == ENOENT) return {Refusal::Kind::Missing, error};
    if (error == ELOOP && !followLinks) return {Refusal::Kind::Link, error};
    return {Refusal::Kind::Unreadable, error};
}

// Opens the file and judges what was opened; info is what fstat said of it.
Result<FileDescriptor, Refusal> openChecked(const std::string& path, const ReadRules& rules, struct stat& info) {
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (rules.followLinks ? 0 : O_NOFOLLOW);
    FileDescriptor fd(::open(path.c_str(), flags));
    if (fd.get() < 0) return Failure{unopened(errno, rules.followLinks)};
    if (::fstat(fd.get(), &info) != 0) return Failure{Refusal{Refusal::Kind::NotRegular}};
    if (const Result<void, Refusal> judged = judge(info, rules); !judged) return Failure{judged.error()};
    return fd;
}

bool writeAll(FileOps& ops, int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ops.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself survive a crash; a folder that cannot be synced is no reason to fail.
void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
}

int FileDescriptor::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool FileDescriptor::close() {
    return ::close(release()) == 0;
}

Result<void, Refusal> checkFile(const std::string& path, const ReadRules& rules) {
    struct stat info {};
    const int looked = rules.followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (looked != 0) return Failure{unopened(errno, true)};
    if (S_ISLNK(info.st_mode)) return Failure{Refusal{Refusal::Kind::Link}};
    return judge(info, rules);
}

Result<FileDescriptor, Refusal> openForReading(const std::string& path, const ReadRules& rules) {
    struct stat info {};
    return openChecked(path, rules, info);
}

std::string describe(const Refusal& refusal) {
    switch (refusal.kind) {
        case Refusal::Kind::Missing:
            return "is missing";
        case Refusal::Kind::Link:
            return "is a symbolic link";
        case Refusal::Kind::NotRegular:
            return "is not a regular file";
        case Refusal::Kind::OtherUser:
            return "belongs to another user (uid " + std::to_string(refusal.owner) + ")";
        case Refusal::Kind::TooLarge:
            return "is larger than allowed";
        case Refusal::Kind::Unreadable:
            break;
    }
    return std::string("cannot be looked at: ") + std::strerror(refusal.error);
}

Result<std::string, Refusal> readWholeFile(const std::string& path, const ReadRules& rules) {
    struct stat info {};
    const Result<FileDescriptor, Refusal> fd = openChecked(path, rules, info);
    if (!fd) return Failure{fd.error()};
    // The size the file said it had (Judge held it against the cap) ...
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd->get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure{Refusal{Refusal::Kind::Unreadable, errno}};
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    // ... and what it grew by meanwhile, up to one byte past the cap to tell that it went past.
    char more[4096];
    for (;;) {
        const std::size_t room = rules.maxBytes - bytes.size();
        const ssize_t n = ::read(fd->get(), more, room < sizeof more ? room + 1 : sizeof more);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure{Refusal{Refusal::Kind::Unreadable, errno}};
        if (n == 0) break;
        bytes.append(more, static_cast<std::size_t>(n));
        if (bytes.size() > rules.maxBytes) return Failure{Refusal{Refusal::Kind::TooLarge}};
    }
    return bytes;
}

ssize_t FileOps::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileOps::sync(int fd) {
    return ::fsync(fd);
}

int FileOps::rename(const char* from, const char* to) {
    return ::rename(from, to);
}

Result<void, int> writePrivateFile(const std::string& path, std::string_view bytes, FileOps& ops) {
    std::vector<char> name(path.begin(), path.end());
    for (char c : kTemporarySuffixPattern) name.push_back(c);
    name.push_back('\0');
    // mkostemp creates the file exclusively with mode 0600.
    FileDescriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.get() < 0) return Failure{errno};
    const bool written = writeAll(ops, fd.get(), bytes) && ops.sync(fd.get()) == 0 && fd.close() &&
                         ops.rename(name.data(), path.c_str()) == 0;
    if (!written) {
        const int error = errno;
        ::unlink(name.data());
        return Failure{error};
    }
    syncFolderOf(path);
    return {};
}

Result<void, int> writePrivateFile(const std::string& path, std::string_view bytes) {
    FileOps ops;
    return writePrivateFile(path, bytes, ops);
}

}  // namespace base
