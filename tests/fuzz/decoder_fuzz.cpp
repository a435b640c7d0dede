// Feeds arbitrary bytes to the content decoder as a body of one to three gzip or deflate layers, split
// into chunks as a network splits them: never more than the limit out, and the same result however
// the body was split.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ContentDecoder.h"

namespace {

struct Outcome {
    bool whole;
    std::string body;
};

Outcome decode(const std::vector<std::string>& codings, const std::uint8_t* data, std::size_t size, std::size_t chunk,
               std::size_t limit) {
    core::ContentDecoder decoder(codings, limit);
    std::string body;
    bool ok = true;
    for (std::size_t at = 0; ok && at < size; at += chunk)
        ok = decoder.feed(std::string_view(reinterpret_cast<const char*>(data) + at, std::min(chunk, size - at)), body);
    if (body.size() > limit) __builtin_trap();
    return {ok && decoder.finish(), body};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte names the layers, the second how the body is split.
    std::vector<std::string> codings;
    for (int layer = 0; layer < 1 + (data[0] & 3) % 3; ++layer)
        codings.push_back(data[0] >> (2 + layer) & 1 ? "gzip" : "deflate");
    const std::size_t chunk = 1 + data[1] % 64;
    constexpr std::size_t kLimit = 1 << 20;
    const Outcome split = decode(codings, data + 2, size - 2, chunk, kLimit);
    const Outcome whole = decode(codings, data + 2, size - 2, size, kLimit);
    if (split.whole != whole.whole || (split.whole && split.body != whole.body)) __builtin_trap();
    return 0;
}
