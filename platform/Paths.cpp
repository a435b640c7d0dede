#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdlib>
#include <filesystem>

namespace platform {
namespace {

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool IsFolder(const char* path) {
    std::error_code error;
    return path != nullptr && *path != '\0' && std::filesystem::is_directory(path, error);
}

// Only absolute paths count; a relative XDG_*_HOME is ignored, as the base-directory rules say.
std::string XdgHome(const char* variable, const char* underHome) {
    const char* xdg = std::getenv(variable);
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + underHome;
    return QDir::homePath().toStdString() + underHome;
}

// Creates every missing folder of the path with mode 0700; folders that exist are left as they are.
void MakePrivateFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) break;
    }
}

std::string PrivateCacheFolder() {
    const std::string folder = XdgHome("XDG_CACHE_HOME", "/.cache") + "/warmap";
    MakePrivateFolders(folder);
    return folder;
}

}  // namespace

std::string ConfigHome() {
    return XdgHome("XDG_CONFIG_HOME", "/.config");
}

std::string TempFolder() {
    if (const char* tmpdir = std::getenv("TMPDIR"); IsFolder(tmpdir)) return WithSeparator(tmpdir);
    return WithSeparator(PrivateCacheFolder());
}

std::string RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::geteuid() && (info.st_mode & 077) == 0) {
        return runtime;
    }
    return PrivateCacheFolder();
}

std::string ProgramFolder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace platform
