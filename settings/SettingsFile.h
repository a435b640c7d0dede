// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "base/Result.h"
#include "settings/Settings.h"

namespace settings {

// "$XDG_CONFIG_HOME/warmap/warmap.conf", else "~/.config/warmap/warmap.conf".
QString settingsFilePath();

// The settings in the file at path. A missing file gives the defaults; so does every value that is
// bad, each with one log line (warmap.settings) naming it, as do unknown keys and a file that is no
// regular file, cannot be read or is too large. Never writes anything.
Settings loadSettings(const QString& path);

// Replaces the file with all of settings in one step (written beside it, synced, renamed); through a
// symbolic link to a regular file, that file is replaced and the link stays. On failure the old file
// stays as it was and the failure says why, in German for the settings window.
base::Result<void, QString> saveSettings(const QString& path, const Settings& settings);

}  // namespace settings
