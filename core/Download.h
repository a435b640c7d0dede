#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace platform {
class Dialogs;
}

namespace core {

// Bounds that turn a hanging or hostile server into a failed download.
struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{60'000};
    std::chrono::milliseconds stallTimeout{60'000};  // no byte moved for this long
    std::chrono::milliseconds totalTimeout{120'000};
    std::size_t maxBodyBytes = 8u << 20;
    long maxRedirects = 3;
};

// Access type of a direct connection without proxy.
inline constexpr int kAccessDirect = 1;

// Fetches one document and returns its body bytes unchanged. Pending UI events run between reads.
// Any failure (no connection, a status other than 2xx, a transfer cut short, a body over the size
// limit, a time-out) shows the "fehler im inet" box once and returns empty bytes. An empty body
// also returns empty bytes, without a box.
std::string DownloadUrl(const std::string& url, int accessType, platform::Dialogs& dialogs,
                        const DownloadLimits& limits = {});

}  // namespace core
