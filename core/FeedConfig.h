#pragma once

#include <string>
#include <string_view>

namespace core {

// The full feed address of one server on the given feed host.
std::string feedUrl(std::string_view feedBase, std::string_view serverName);

}  // namespace core
