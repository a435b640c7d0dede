#pragma once

#include <optional>
#include <string>

#include "base/Result.h"

namespace tray {

// Where the desktop looks for programs to start at login: "$XDG_CONFIG_HOME/autostart/warmap.desktop"
// when XDG_CONFIG_HOME is absolute, else "~/.config/autostart/warmap.desktop".
std::string autostartFilePath();

// The program starts at login when that file exists.
bool isAutostartEnabled(const std::string& file);

// The desktop entry that starts the program at the given path.
std::string autostartEntry(const std::string& program);

// The path as one argument of a desktop entry's Exec key: quoted, with the quoting and the key's own
// escapes applied, so spaces, quotes, "$", "%" and backslashes survive.
std::string desktopExecArgument(const std::string& path);

// Writes the entry (creating the folder) or removes the file; fails saying what went wrong.
base::Status setAutostart(const std::string& file, const std::string& program, bool enabled);

}  // namespace tray
