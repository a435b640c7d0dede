#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>

namespace platform {
namespace {

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool isFolder(const char* path) {
    std::error_code error;
    return path != nullptr && *path != '\0' && std::filesystem::is_directory(path, error);
}

// Only absolute paths count; a relative XDG_*_HOME is ignored, as the base-directory rules say.
std::string xdgHome(const char* variable, const char* underHome) {
    const char* xdg = std::getenv(variable);
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + underHome;
    return QDir::homePath().toStdString() + underHome;
}

// Creates every missing folder of the path with mode 0700; folders that exist are left as they are.
// Returns the error of the first folder that could not be made (0 when none failed): the cause.
int makePrivateFolders(const std::string& path) {
    int failed = 0;
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        if (::mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST && failed == 0) failed = errno;
        if (slash == std::string::npos) break;
    }
    return failed;
}

// Says once per run that a folder is not used: the folders are looked up at every pass and click.
void sayNotUsed(const std::string& folder) {
    static std::set<std::string> told;  // only ever grows by the few folders refused
    if (told.insert(folder).second)
        std::fprintf(stderr, "warmap: %s is not a private folder of yours; not using it\n", folder.c_str());
}

bool isOurFolder(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

// A folder nobody but us can change: a real folder (no link), ours, and open to nobody else. One of
// ours that others may enter is closed first.
bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !isOurFolder(info)) return false;
    return (info.st_mode & 077) == 0 || ::chmod(path.c_str(), 0700) == 0;
}

// A folder others may write into (group or world, or a sticky one such as /tmp): names in it may be
// taken before us, and what they hold cannot be replaced by us.
bool isSharedFolder(const char* path) {
    struct stat info {};
    if (::stat(path, &info) != 0) return true;
    return info.st_uid != ::geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH | S_ISVTX)) != 0;
}

base::Result<std::string> privateFolderUnder(const char* variable, const char* underHome) {
    const std::string folder = xdgHome(variable, underHome) + "/warmap";
    const int made = makePrivateFolders(folder);
    if (isPrivateFolder(folder)) return folder;
    struct stat info {};
    const bool there = ::lstat(folder.c_str(), &info) == 0;
    const int error = errno;
    std::string why =
        folder + (!there               ? " cannot be created: " + std::string(std::strerror(made ? made : error))
                  : !isOurFolder(info) ? std::string(" is not a folder of yours")
                                       : " cannot be closed to others: " + std::string(std::strerror(error)));
    sayNotUsed(folder);
    return base::Failure{std::move(why)};
}

base::Result<std::string> privateCacheFolder() {
    return privateFolderUnder("XDG_CACHE_HOME", "/.cache");
}

// A folder of its own in the private cache folder, made private; empty when there is none to be had.
std::string privateCacheSubfolder(const char* name) {
    const auto cache = privateCacheFolder();
    if (!cache) return {};
    const std::string folder = *cache + '/' + name;
    ::mkdir(folder.c_str(), 0700);
    return isPrivateFolder(folder) ? folder : std::string();
}

// Where the copies go when no folder that survives a restart is safe: a new private folder for this
// run, made once.
std::string thisRunsFolder() {
    static const std::string kFolder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "warmap-XXXXXX").string();
        const char* made = ::mkdtemp(name.data());
        std::fprintf(stderr, "warmap: keeping the saved copies in %s for this run only\n", made ? made : "(nowhere)");
        return made ? std::string(made) : std::string();
    }();
    return kFolder;
}

}  // namespace

std::string configHome() {
    return xdgHome("XDG_CONFIG_HOME", "/.config");
}

base::Result<std::string> privateDataFolder() {
    return privateFolderUnder("XDG_DATA_HOME", "/.local/share");
}

std::string tempFolder() {
    if (const char* tmpdir = std::getenv("TMPDIR"); isFolder(tmpdir)) {
        if (!isSharedFolder(tmpdir)) return withSeparator(tmpdir);
        // In a shared folder only a private one of our own, made by us.
        const std::string own = withSeparator(tmpdir) + "warmap-" + std::to_string(::geteuid());
        ::mkdir(own.c_str(), 0700);
        if (isPrivateFolder(own)) return withSeparator(own);
        sayNotUsed(own);
    }
    if (const auto cache = privateCacheFolder()) return withSeparator(*cache);
    return withSeparator(thisRunsFolder());
}

std::string snapshotFolder() {
    return privateCacheSubfolder("snapshots");
}

std::string pictureCacheFolder() {
    return privateCacheSubfolder("pictures");
}

std::string runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    // The session's folder is taken as the system made it: never closed by us.
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &info) == 0 && isOurFolder(info) &&
        (info.st_mode & 077) == 0) {
        return runtime;
    }
    return privateCacheFolder().valueOr(std::string());
}

namespace {
// The executable's folder; before the application object exists (the language is chosen before the
// command line is answered) Qt does not know it yet, and the kernel's link to the executable tells.
QString binFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}
}  // namespace

std::string programFolder() {
    return QDir::toNativeSeparators(binFolder()).toStdString();
}

namespace {
// The build tree keeps everything beside the executable (probe names what is always there); an
// installed program finds its folder at the install layout's path relative to the executable.
std::string besideOrInstalled(const char* probe, const char* installedFromBin) {
    const QDir bin(binFolder());
    if (QFileInfo::exists(bin.filePath(QString::fromLatin1(probe)))) return programFolder();
    return QDir::toNativeSeparators(QDir::cleanPath(bin.filePath(QString::fromLatin1(installedFromBin)))).toStdString();
}
}  // namespace

std::string dataFolder() {
    // The pictures always ship; the keep-name catalogue is optional and must not move them away.
    return besideOrInstalled("form", WARMAP_DATA_FROM_BIN);
}

std::string pluginFolder() {
    return besideOrInstalled("libwarmap-sound.so", WARMAP_PLUGINS_FROM_BIN);
}

bool fileExists(const std::string& path) {
    // The entry itself: a link whose target is gone is still something in the copy's place.
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace platform
