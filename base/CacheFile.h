#pragma once

#include <string>
#include <string_view>

#include "base/Result.h"

namespace base {

// What a cache entry says it was made from: the length and a 64-bit hash of those bytes, as one line.
// Bytes changed in any way, however soon, give another line unless they are the same.
std::string contentKey(std::string_view bytes);

// Replaces a cache file as writePrivateFile does, but without syncing it to disk: an entry lost in a
// crash costs only the work of making it again. Fails with the system's cause (errno).
Result<void, int> writeCacheFile(const std::string& path, std::string_view bytes);

}  // namespace base
