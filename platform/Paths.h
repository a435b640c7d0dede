#pragma once

#include <optional>
#include <string>

#include "base/Result.h"

namespace platform {

// Where the saved copies live, always ending with a separator: $TMPDIR when it names an existing
// folder of ours that nobody else may write into; in a shared one (such as /tmp) our own private
// subfolder "warmap-<uid>"; else a private per-user folder that survives logout and reboot
// ($XDG_CACHE_HOME/warmap/, else ~/.cache/warmap/), created with mode 0700. A folder found in place
// must be a real folder of ours, mode 0700; one that is not is never used (one line on stderr says
// so), and when none is safe the copies live in a new private folder for this run only.
std::string tempFolder();

// The user's configuration folder, without a separator: $XDG_CONFIG_HOME when absolute, else ~/.config.
std::string configHome();

// The program's private folder for data kept across runs, without a separator: $XDG_DATA_HOME/warmap
// (else ~/.local/share/warmap), created with mode 0700. When what is there is not a private folder of
// ours (one line on stderr says so), fails saying what is wrong, with the cause the system gave
// ("… cannot be created: Read-only file system").
base::Result<std::string> privateDataFolder();

// Where the map's snapshots of the saved copies (see feed::FrontierSnapshot) and the decoded
// pictures (see PictureCache) are kept, without a separator: "snapshots" and "pictures" in the private
// cache folder, created with mode 0700. Empty when no private folder is to be had.
std::string snapshotFolder();
std::string pictureCacheFolder();

// Where per-user run-time files (the single-instance lock and socket) live, without a separator:
// $XDG_RUNTIME_DIR when it is an absolute folder of our own that nobody else may enter, else the
// private cache folder ($XDG_CACHE_HOME/warmap, else ~/.cache/warmap, created with mode 0700). Empty
// when neither is safe: then no lock is held, and a second Warmap may run.
std::string runtimeFolder();

// The folder of the running program.
std::string programFolder();

// Where the program's pictures, symbols and keep-name catalogue are: beside the executable when its
// form/ folder is there (the build tree), else the installed data folder (share/warmap, found relative
// to the executable). Asked once at start.
std::string dataFolder();

// Where the program's plugins and its download helper warmap-fetch are: beside the executable in the
// build tree, else the installed library folder (lib/warmap/plugins, found relative to the executable).
std::string pluginFolder();

// True when something (a file, a folder, a link even to nothing) exists at the path.
bool fileExists(const std::string& path);

}  // namespace platform
