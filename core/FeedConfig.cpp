#include "core/FeedConfig.h"

#include <cstdlib>

#include "core/BuildInfo.h"
#include "feed/FeedPaths.h"

namespace core {

std::string FeedBase() {
    const char* fromEnvironment = std::getenv("WARMAP_FEED_BASE");
    std::string base = (fromEnvironment && *fromEnvironment) ? fromEnvironment : build::kDefaultFeedBase;
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base;
}

std::string FeedUrl(std::string_view feedBase, std::string_view serverName) {
    return std::string(feedBase) + feed::FeedPath(serverName);
}

std::string UserAgent() {
    return std::string("Varnolux/") + build::kProductName + ":" + std::to_string(build::kVersionMajor) + "." +
           std::to_string(build::kVersionMinor) + "." + std::to_string(build::kVersionPatch);
}

}  // namespace core
