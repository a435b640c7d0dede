#include "base/CacheFile.h"

#include <functional>

#include "base/SafeFile.h"

namespace base {
namespace {

class UnsyncedOps : public FileOps {
public:
    int sync(int) override { return 0; }
};

}  // namespace

std::string contentKey(std::string_view bytes) {
    return std::to_string(bytes.size()) + ' ' + std::to_string(std::hash<std::string_view>{}(bytes)) + '\n';
}

Result<void, int> writeCacheFile(const std::string& path, std::string_view bytes) {
    UnsyncedOps ops;
    return writePrivateFile(path, bytes, ops);
}

}  // namespace base
