#include "tray/Autostart.h"

#include <filesystem>

#include "base/SafeFile.h"
#include "base/Wording.h"
#include "platform/Paths.h"

namespace tray {

std::string autostartFilePath() {
    return platform::configHome() + "/autostart/warmap.desktop";
}

bool isAutostartEnabled(const std::string& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

std::string desktopExecArgument(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // Then the escapes of a desktop entry's string values, and "%" which Exec reserves for its codes.
    std::string value;
    for (char c : quoted) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            case '%':
                value += "%%";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string autostartEntry(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Warmap\n"
           "Comment=Meldet, wenn an der Front eine Burg oder ein Turm den Besitzer wechselt\n"
           "Exec=" +
           desktopExecArgument(program) +
           "\n"
           "Icon=warmap\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

base::Status setAutostart(const std::string& file, const std::string& program, bool enabled) {
    std::error_code error;
    if (!enabled) {
        if (std::filesystem::remove(file, error) || !error) return {};
        return base::Failure{
            base::filled(base::translate("tray::Autostart", "Die Datei %1 konnte nicht entfernt werden: %2"),
                         {file, error.message()})};
    }
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    std::filesystem::create_directories(folder, error);
    if (error)
        return base::Failure{
            base::filled(base::translate("tray::Autostart", "Der Ordner %1 konnte nicht angelegt werden: %2"),
                         {folder.string(), error.message()})};
    if (!base::writePrivateFile(file, autostartEntry(program)))
        return base::Failure{
            base::filled(base::translate("tray::Autostart", "Die Datei %1 konnte nicht geschrieben werden."), {file})};
    return {};
}

}  // namespace tray
