// SPDX-License-Identifier: GPL-3.0-or-later
// The library "warmap-history": the history window and Qt Charts under it, loaded when the window is
// first opened, so start-up never pays for them.
#include <QtGlobal>

#include "history/HistoryWindow.h"

// store is what the store's library opened: a HistoryStore, or null.
extern "C" Q_DECL_EXPORT QWidget* WarmapHistoryWindow(const history::HistoryLog* store, const QString& unavailable,
                                                      const QString& programFolder) {
    return new history::HistoryWindow(static_cast<const history::HistoryStore*>(store), unavailable, programFolder);
}
