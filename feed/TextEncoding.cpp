#include "feed/TextEncoding.h"

#include <cstdint>

namespace feed {
namespace {

// Length of the well-formed UTF-8 sequence starting at bytes[i], or 0.
std::size_t sequenceLength(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
    const std::uint8_t lead = at(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    if (at(i + 1) < low || at(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
    }
    return length;
}

// Where a valid prefix ends; bytes.size() when all of it is valid.
std::size_t validPrefix(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = sequenceLength(bytes, i);
        if (n == 0) return i;
        i += n;
    }
    return i;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr char16_t kHighHalf[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

bool isUtf8(std::string_view bytes) {
    return validPrefix(bytes) == bytes.size();
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char byte : bytes) {
        const auto b = static_cast<std::uint8_t>(byte);
        appendUtf8(out, b >= 0x80 && b <= 0x9F ? kHighHalf[b - 0x80] : b);
    }
    return out;
}

std::string decodeUndeclared(std::string_view bytes, bool filledBuffer) {
    const std::size_t valid = validPrefix(bytes);
    if (valid == bytes.size()) return std::string(bytes);
    if (!filledBuffer) return windows1252ToUtf8(bytes);
    // Only an unfinished sequence at the very end (at most three bytes, starting with a lead byte)?
    const std::string_view tail = bytes.substr(valid);
    const auto lead = static_cast<std::uint8_t>(tail.front());
    const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    bool continuation = true;
    for (std::size_t k = 1; k < tail.size(); ++k) {
        const auto b = static_cast<std::uint8_t>(tail[k]);
        continuation = continuation && b >= 0x80 && b <= 0xBF;
    }
    if (valid > 0 && expected > tail.size() && continuation && lead <= 0xF4) return std::string(bytes.substr(0, valid));
    return windows1252ToUtf8(bytes);
}

}  // namespace feed
