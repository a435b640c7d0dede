// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtPlugin>
#include <memory>
#include <string>

#include "history/HistoryLog.h"

namespace history {

// What the plugin "warmap-store" gives: the history's SQLite store.
class StoreOpener {
public:
    virtual ~StoreOpener() = default;
    // The history file at path, or why it cannot be used this run (see openHistory).
    virtual base::Result<std::unique_ptr<HistoryLog>> open(const base::Result<std::string>& path) const = 0;
};

}  // namespace history

Q_DECLARE_INTERFACE(history::StoreOpener, "org.warmap.StoreOpener/1")
