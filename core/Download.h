#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "feed/SavedCopy.h"

namespace core {

// Bounds that turn a hanging or hostile server into a failed download. They measure the server, not
// us: time spent handling UI events between reads (a message box held open, say) does not count.
struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{60'000};  // no byte at all from the server for this long
    std::chrono::milliseconds stallTimeout{60'000};    // no byte received since the last one for this long
    std::chrono::milliseconds totalTimeout{120'000};
    std::size_t maxBodyBytes = feed::kMaxSavedCopyBytes;     // of the body as it crosses the wire
    std::size_t maxDecodedBytes = feed::kMaxSavedCopyBytes;  // of the body once a content coding is undone
    long maxRedirects = 3;
};

struct DownloadResult {
    enum class Status {
        Ok,            // body holds what the server sent, decoded (possibly nothing)
        BadResponse,   // the server answered, but not with a whole 2xx body within the limits
        NoConnection,  // no answer at all: refused, unresolvable, TLS failure, nothing within the time
    };
    Status status = Status::Ok;
    std::string body;
    // What failed, as the player reads it (German): "Verbindung abgelehnt (127.0.0.1:8642)". Empty when Ok.
    std::string problem;
};

// Fetches one document over a direct connection (never a proxy) and returns its body bytes unchanged
// but for the content coding (gzip or deflate, see ContentDecoder), which is asked for and undone.
// Pending UI events run between reads. Any failure logs one line naming the address that failed and
// its cause, as does an empty answer. No box: the caller shows what the player is to see.
DownloadResult downloadUrl(const std::string& url, const DownloadLimits& limits = {});

// A download as the refresh pass and the feed check call it: downloadUrl's, or a stand-in.
using Downloader = std::function<DownloadResult(const std::string& url, const DownloadLimits& limits)>;

// "Varnolux/<product>:<major>.<minor>.<patch>", as every request names the program.
std::string userAgent();

}  // namespace core
