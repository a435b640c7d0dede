// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/OpenHistory.h"

#include "platform/Logging.h"
#include "platform/Paths.h"

namespace history {

std::unique_ptr<HistoryStore> OpenHistory(const std::string& path, std::string* why) {
    if (path.empty()) {
        // Asked again only to say why: the path is empty when the folder could not be had.
        std::string cause = "for a reason it did not give";
        platform::PrivateDataFolder(&cause);
        qCWarning(lcHistory, "no history this run: no private data folder: %s", cause.c_str());
        if (why) *why = "no private data folder: " + cause;
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
