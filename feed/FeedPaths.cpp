#include "feed/FeedPaths.h"

namespace feed {

std::string feedPath(std::string_view serverName) {
    return "/herald/servers/" + std::string(serverName) + "/keeps/keeps.xml";
}

std::string savedCopyPath(std::string_view tempFolder, std::string_view serverName) {
    return std::string(tempFolder) + std::string(serverName) + "_lastkeeps.xml";
}

}  // namespace feed
