// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/OpenHistory.h"

#include "history/HistoryLogging.h"

namespace history {

std::unique_ptr<HistoryStore> OpenHistory(const std::string& path, std::string* why) {
    if (path.empty()) {
        qCWarning(lcHistory, "no history this run: no private data folder");
        if (why) *why = "no private data folder";
        return nullptr;
    }
    std::string problem;
    auto store = HistoryStore::Open(path, problem);
    if (!store) {
        qCWarning(lcHistory, "no history this run: %s %s", path.c_str(), problem.c_str());
        if (why) *why = path + " " + problem;
    }
    return store;
}

}  // namespace history
