#pragma once

#include <string>
#include <string_view>

namespace core {

// Scheme, host and port of the feed server: the WARMAP_FEED_BASE environment variable when set,
// otherwise the address fixed at build time. A trailing slash is dropped.
std::string FeedBase();

// The full feed address of one server on the given feed host.
std::string FeedUrl(std::string_view feedBase, std::string_view serverName);

// "Varnolux/<product>:<major>.<minor>.<patch>".
std::string UserAgent();

}  // namespace core
