#include "core/FeedConfig.h"

#include "core/BuildInfo.h"
#include "feed/FeedPaths.h"

namespace core {

std::string FeedUrl(std::string_view feedBase, std::string_view serverName) {
    return std::string(feedBase) + feed::FeedPath(serverName);
}

std::string UserAgent() {
    return std::string("Varnolux/") + build::kProductName + ":" + std::to_string(build::kVersionMajor) + "." +
           std::to_string(build::kVersionMinor) + "." + std::to_string(build::kVersionPatch);
}

}  // namespace core
