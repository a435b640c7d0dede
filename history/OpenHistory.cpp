// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/OpenHistory.h"

#include "platform/Logging.h"

namespace history {

base::Result<std::unique_ptr<HistoryStore>> openHistory(const base::Result<std::string>& path) {
    if (!path) {
        qCWarning(lcHistory, "no history this run: no private data folder: %s", path.error().c_str());
        return base::Failure{"no private data folder: " + path.error()};
    }
    auto store = HistoryStore::open(*path);
    if (!store) {
        qCWarning(lcHistory, "no history this run: %s %s", path->c_str(), store.error().c_str());
        return base::Failure{*path + " " + store.error()};
    }
    return store;
}

}  // namespace history
