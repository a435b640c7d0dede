#pragma once

#include <string>
#include <string_view>

namespace feed {

// "/herald/servers/<Server>/keeps/keeps.xml": the feed path of one server on the feed host.
std::string feedPath(std::string_view serverName);

// The saved copy of a server's feed: the temporary folder (ending in a separator), the server name,
// then "_lastkeeps.xml", nothing inserted between them.
std::string savedCopyPath(std::string_view tempFolder, std::string_view serverName);

}  // namespace feed
