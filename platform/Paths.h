#pragma once

#include <string>

namespace platform {

// Where the saved copies live, always ending with a separator: $TMPDIR when it names an existing
// folder, else a private per-user folder that survives logout and reboot ($XDG_CACHE_HOME/warmap/,
// else ~/.cache/warmap/), created with mode 0700. Never the shared /tmp by default.
std::string TempFolder();

// The user's configuration folder, without a separator: $XDG_CONFIG_HOME when absolute, else ~/.config.
std::string ConfigHome();

// Where per-user run-time files (the single-instance lock and socket) live, without a separator:
// $XDG_RUNTIME_DIR when it is an absolute folder of our own that nobody else may enter, else the
// private cache folder ($XDG_CACHE_HOME/warmap, else ~/.cache/warmap, created with mode 0700).
std::string RuntimeFolder();

// The folder of the running program; its data files lie beside it.
std::string ProgramFolder();

// True when something (a file or a folder) exists at the path.
bool FileExists(const std::string& path);

}  // namespace platform
