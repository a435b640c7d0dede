// SPDX-License-Identifier: GPL-3.0-or-later
// The plugin "warmap-store": the history's SQLite store, loaded after the first frame.
#include <QObject>

#include "history/OpenHistory.h"
#include "history/StoreOpener.h"

namespace history {

class StorePlugin final : public QObject, public StoreOpener {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.warmap.StoreOpener/1")
    Q_INTERFACES(history::StoreOpener)
public:
    base::Result<std::unique_ptr<HistoryLog>> open(const base::Result<std::string>& path) const override {
        auto store = openHistory(path);
        if (!store) return base::Failure{store.error()};
        return std::unique_ptr<HistoryLog>(std::move(*store));
    }
};

}  // namespace history

#include "StorePlugin.moc"
