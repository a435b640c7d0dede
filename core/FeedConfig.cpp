#include "core/FeedConfig.h"

#include "feed/FeedPaths.h"

namespace core {

std::string feedUrl(std::string_view feedBase, std::string_view serverName) {
    return std::string(feedBase) + feed::feedPath(serverName);
}

}  // namespace core
