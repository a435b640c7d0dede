#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <filesystem>

namespace platform {

std::string TempFolder() {
    QString folder = QDir::toNativeSeparators(QDir::tempPath());
    if (folder.isEmpty()) return ProgramFolder() + QDir::separator().toLatin1();
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    return folder.toStdString();
}

std::string ProgramFolder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace platform
