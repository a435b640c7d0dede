#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Undoes the content codings of one HTTP body as its bytes arrive: gzip (also "x-gzip", members one
// after another) and deflate (a zlib stream, or the raw stream some servers send), stacked in any
// order. Every stream must end where the body ends: one cut short is as broken as a corrupt one.
class ContentDecoder {
public:
    enum class Problem { None, UnknownCoding, Broken, TooLarge };

    // What the request offers: the codings this class undoes.
    static constexpr const char* kOffered = "gzip, deflate";

    // codings: the Content-Encoding values in the order the server applied them; "identity" is none.
    // At most limit decoded bytes are accepted.
    ContentDecoder(const std::vector<std::string>& codings, std::size_t limit);
    ~ContentDecoder();
    ContentDecoder(const ContentDecoder&) = delete;
    ContentDecoder& operator=(const ContentDecoder&) = delete;

    // Decodes the next bytes off the wire and appends what they give to out; false once it failed.
    bool feed(std::string_view bytes, std::string& out);
    // After the body's last byte: false when a stream has not ended.
    bool finish();

    Problem failure() const { return m_problem; }
    // What went wrong, for the log: "gzip stream cut short", "unknown content coding x-squeeze".
    const std::string& cause() const { return m_cause; }

    // The codings named by Content-Encoding header values, in order, lower-cased and trimmed.
    static void addCodings(std::string_view headerValue, std::vector<std::string>& codings);

private:
    struct Layer;
    bool push(std::size_t layer, std::string_view bytes, std::string& out);
    bool fail(Problem problem, std::string cause);

    std::vector<std::unique_ptr<Layer>> m_layers;  // the outermost coding first
    std::size_t m_limit;
    std::size_t m_decoded = 0;
    Problem m_problem = Problem::None;
    std::string m_cause;
};

}  // namespace core
