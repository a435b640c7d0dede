// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "history/HistoryStore.h"

namespace history {

// Opens the history file of this user; nothing, after one log line naming the file and the cause
// (also handed back in why, for the history window), when it cannot be used this run.
std::unique_ptr<HistoryStore> OpenHistory(const std::string& path, std::string* why = nullptr);

}  // namespace history
