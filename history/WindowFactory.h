// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtPlugin>

class QWidget;

namespace history {

class HistoryReader;

// What the plugin "warmap-history" gives: the history window, with Qt Charts behind it.
class WindowFactory {
public:
    virtual ~WindowFactory() = default;
    // A new "Warmap — Verlauf" window reading store, which may be null (no history this run;
    // unavailable then says why). programFolder holds form/, symbols/ and keepnames.ini.
    virtual QWidget* createWindow(const HistoryReader* store, const QString& unavailable,
                                  const QString& programFolder) const = 0;
};

}  // namespace history

Q_DECLARE_INTERFACE(history::WindowFactory, "org.warmap.HistoryWindowFactory/1")
