// SPDX-License-Identifier: GPL-3.0-or-later
// The plugin "warmap-history": the history window and Qt Charts under it, loaded when the window is
// first opened, so start-up never pays for them.
#include <QObject>

#include "history/HistoryWindow.h"
#include "history/WindowFactory.h"

namespace history {

class HistoryPlugin final : public QObject, public WindowFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.warmap.HistoryWindowFactory/1")
    Q_INTERFACES(history::WindowFactory)
public:
    QWidget* createWindow(const HistoryReader* store, const QString& unavailable,
                          const QString& programFolder) const override {
        return new HistoryWindow(store, unavailable, programFolder);
    }
};

}  // namespace history

#include "HistoryPlugin.moc"
