#include "feed/FrontierSnapshot.h"

#include <charconv>

#include "base/CacheFile.h"
#include "base/SafeFile.h"
#include "feed/FeedDocument.h"
#include "feed/SavedCopy.h"

namespace feed {
namespace {

constexpr std::string_view kHeader = "warmap frontier snapshot 1\n";
// A copy is at most kMaxSavedCopyBytes, so are its strings; the file is read only up to this.
constexpr std::size_t kMaxSnapshotBytes = kMaxSavedCopyBytes + (1u << 16);

// Each string as its length, a colon, its bytes and a comma: any byte may be in a guild's name.
void put(std::string& out, std::string_view text) {
    out += std::to_string(text.size());
    out += ':';
    out += text;
    out += ',';
}

bool take(std::string_view& in, std::string& text) {
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(in.data(), in.data() + in.size(), length);
    if (error != std::errc() || end == in.data()) return false;
    const std::size_t digits = static_cast<std::size_t>(end - in.data());
    if (in.size() - digits < 2 || in[digits] != ':' || length > in.size() - digits - 2 ||
        in[digits + 1 + length] != ',')
        return false;
    text.assign(in.substr(digits + 1, length));
    in.remove_prefix(digits + length + 2);
    return true;
}

}  // namespace

std::optional<std::string> FrontierSnapshot::attribute(std::size_t position, std::string_view name) const {
    if (position >= entries.size()) return std::nullopt;
    for (std::size_t i = 0; i < kAttributes.size(); ++i) {
        if (name == kAttributes[i]) return entries[position][i];
    }
    return std::nullopt;
}

std::optional<FrontierSnapshot> snapshotOf(const FeedDocument& document) {
    FrontierSnapshot snapshot;
    try {
        snapshot.date = document.date();
        for (std::size_t position = 0; position < snapshot.entries.size(); ++position) {
            for (std::size_t i = 0; i < FrontierSnapshot::kAttributes.size(); ++i)
                snapshot.entries[position][i] = document.attribute(position, FrontierSnapshot::kAttributes[i]);
        }
    } catch (const FeedError&) {
        return std::nullopt;
    }
    return snapshot;
}

std::string snapshotPath(const std::string& folder, const std::string& savedCopyPath) {
    const std::size_t slash = savedCopyPath.rfind('/');
    return folder + '/' + savedCopyPath.substr(slash == std::string::npos ? 0 : slash + 1) + ".snapshot";
}

base::Result<void, int> writeSnapshot(const std::string& path, std::string_view copy,
                                      const FrontierSnapshot& snapshot) {
    std::string bytes(kHeader);
    bytes += base::contentKey(copy);
    put(bytes, snapshot.date);
    for (const auto& entry : snapshot.entries) {
        for (const std::string& value : entry) put(bytes, value);
    }
    return base::writeCacheFile(path, bytes);
}

std::optional<FrontierSnapshot> readSnapshot(const std::string& path, std::string_view copy) {
    const auto bytes =
        base::readWholeFile(path, {.followLinks = false, .ownedByUs = true, .maxBytes = kMaxSnapshotBytes});
    if (!bytes) return std::nullopt;
    std::string_view in(*bytes);
    const std::string expected = std::string(kHeader) + base::contentKey(copy);
    if (in.substr(0, expected.size()) != expected) return std::nullopt;
    in.remove_prefix(expected.size());
    FrontierSnapshot snapshot;
    if (!take(in, snapshot.date)) return std::nullopt;
    for (auto& entry : snapshot.entries) {
        for (std::string& value : entry) {
            if (!take(in, value)) return std::nullopt;
        }
    }
    if (!in.empty()) return std::nullopt;
    return snapshot;
}

}  // namespace feed
