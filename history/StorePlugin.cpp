// SPDX-License-Identifier: GPL-3.0-or-later
// The library "warmap-store": the history's SQLite store, loaded after the first frame.
#include <QtGlobal>

#include "history/OpenHistory.h"

extern "C" Q_DECL_EXPORT history::HistoryLog* WarmapOpenHistory(const std::string& path, std::string& why) {
    return history::OpenHistory(path, &why).release();
}
