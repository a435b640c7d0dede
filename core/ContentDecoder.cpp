#include "core/ContentDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>

namespace core {

struct ContentDecoder::Layer {
    std::string name;
    bool gzip = false;
    bool raw = false;      // a deflate stream without the zlib wrapper
    bool decided = false;  // whether a deflate stream is wrapped is known (gzip: always)
    std::string head;      // a deflate stream's first bytes, until they tell
    bool started = false;  // has taken a byte
    bool ended = false;    // the current stream reached its end
    z_stream z{};
    bool open = false;

    bool init() {
        if (open) inflateEnd(&z);
        z = z_stream{};
        // 15 + 16: gzip only; 15: zlib; -15: raw deflate.
        open = inflateInit2(&z, gzip ? 15 + 16 : raw ? -15 : 15) == Z_OK;
        return open;
    }
    ~Layer() {
        if (open) inflateEnd(&z);
    }
};

namespace {
// Decoded bytes handed on at a time: memory stays at this plus zlib's window, however large the body.
constexpr std::size_t kChunk = 16 * 1024;
// Every layer costs a window and a buffer on the stack: a header naming a thousand codings is refused.
constexpr std::size_t kMostLayers = 4;
}  // namespace

void ContentDecoder::addCodings(std::string_view headerValue, std::vector<std::string>& codings) {
    std::size_t start = 0;
    while (start <= headerValue.size()) {
        std::size_t comma = headerValue.find(',', start);
        if (comma == std::string_view::npos) comma = headerValue.size();
        std::string token(headerValue.substr(start, comma - start));
        token.erase(0, token.find_first_not_of(" \t"));
        token.erase(token.find_last_not_of(" \t\r\n") + 1);
        std::transform(token.begin(), token.end(), token.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (!token.empty() && token != "identity") codings.push_back(token);
        start = comma + 1;
    }
}

ContentDecoder::ContentDecoder(const std::vector<std::string>& codings, std::size_t limit) : m_limit(limit) {
    if (codings.size() > kMostLayers) {
        fail(Problem::Broken, std::to_string(codings.size()) + " content codings, more than " +
                                  std::to_string(kMostLayers) + " in a row");
        return;
    }
    // The last coding applied is the first to undo.
    for (auto coding = codings.rbegin(); coding != codings.rend(); ++coding) {
        auto layer = std::make_unique<Layer>();
        layer->name = *coding;
        layer->gzip = *coding == "gzip" || *coding == "x-gzip";
        layer->decided = layer->gzip;
        if (!layer->gzip && *coding != "deflate") {
            fail(Problem::UnknownCoding, "unknown content coding " + *coding);
            return;
        }
        if (!layer->init()) {
            fail(Problem::Broken, "cannot start undoing " + *coding);
            return;
        }
        m_layers.push_back(std::move(layer));
    }
}

ContentDecoder::~ContentDecoder() = default;

bool ContentDecoder::fail(Problem problem, std::string cause) {
    if (m_problem == Problem::None) {
        m_problem = problem;
        m_cause = std::move(cause);
    }
    return false;
}

bool ContentDecoder::feed(std::string_view bytes, std::string& out) {
    return m_problem == Problem::None && push(0, bytes, out);
}

bool ContentDecoder::push(std::size_t index, std::string_view bytes, std::string& out) {
    if (index == m_layers.size()) {
        if (bytes.size() > m_limit - m_decoded)
            return fail(Problem::TooLarge, "more than " + std::to_string(m_limit) + " bytes once decoded");
        m_decoded += bytes.size();
        out.append(bytes);
        return true;
    }
    Layer& layer = *m_layers[index];
    layer.started = layer.started || !bytes.empty();
    if (!layer.decided) {
        // Some servers send "deflate" without the zlib wrapper: its two header bytes tell, however
        // the body was split.
        layer.head.append(bytes);
        if (layer.head.size() < 2) return true;
        const auto cmf = static_cast<unsigned char>(layer.head[0]), flg = static_cast<unsigned char>(layer.head[1]);
        layer.raw = (cmf & 0x0f) != Z_DEFLATED || (cmf * 256 + flg) % 31 != 0;
        layer.decided = true;
        if (!layer.init()) return fail(Problem::Broken, "cannot start undoing deflate");
        std::string head;
        head.swap(layer.head);
        return push(index, head, out);
    }
    char buffer[kChunk];
    z_stream& z = layer.z;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    while (z.avail_in > 0) {
        if (layer.ended) {
            // Another gzip member may follow; anything after a deflate stream is not part of it.
            if (!layer.gzip) return fail(Problem::Broken, "bytes after the end of the deflate stream");
            // The input left stays where it is: a reset starts the next member's header there.
            if (inflateReset(&z) != Z_OK) return fail(Problem::Broken, "cannot undo the next gzip member");
            layer.ended = false;
        }
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof(buffer);
        const uInt inBefore = z.avail_in;
        const int result = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = sizeof(buffer) - z.avail_out;
        if (result != Z_OK && result != Z_STREAM_END && !(result == Z_BUF_ERROR && produced == 0)) {
            return fail(Problem::Broken, "cannot undo the " + layer.name +
                                             " coding: " + (z.msg ? z.msg : "zlib error " + std::to_string(result)));
        }
        if (produced > 0 && !push(index + 1, std::string_view(buffer, produced), out)) return false;
        if (result == Z_STREAM_END) layer.ended = true;
        if (result != Z_STREAM_END && produced == 0 && z.avail_in == inBefore) break;  // wants more input
    }
    // Output zlib still holds back once the input is used up.
    while (!layer.ended) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof(buffer);
        const int result = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = sizeof(buffer) - z.avail_out;
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            return fail(Problem::Broken, "cannot undo the " + layer.name + " coding");
        if (produced > 0 && !push(index + 1, std::string_view(buffer, produced), out)) return false;
        if (result == Z_STREAM_END) layer.ended = true;
        if (produced == 0) break;
    }
    return true;
}

bool ContentDecoder::finish() {
    if (m_problem != Problem::None) return false;
    for (const auto& layer : m_layers) {
        // An empty body is no stream at all; one begun must have ended.
        if (layer->started && !layer->ended) return fail(Problem::Broken, layer->name + " stream cut short");
    }
    return true;
}

}  // namespace core
