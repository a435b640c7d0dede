// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "history/HistoryStore.h"

namespace history {

// Opens the history file of this user at path (see historyFilePath); when it cannot be used this run,
// logs one line naming the file and the cause and fails with them, for the history window.
base::Result<std::unique_ptr<HistoryStore>> openHistory(const base::Result<std::string>& path);

}  // namespace history
