#include "feed/IniReader.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#include "base/SafeFile.h"

namespace feed {
namespace {

std::string_view trim(std::string_view s) {
    const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && isBlank(static_cast<unsigned char>(s[begin]))) ++begin;
    while (end > begin && isBlank(static_cast<unsigned char>(s[end - 1]))) --end;
    return s.substr(begin, end - begin);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::optional<std::string> findValue(const std::string& section, const std::string& key, const std::string& path) {
    // Any regular file, links followed; a FIFO or a device in its place reads as no file.
    const base::Result<std::string, base::Refusal> bytes = base::readWholeFile(path, {});
    if (!bytes) return std::nullopt;
    const std::string_view wantedSection = trim(section);
    const std::string_view wantedKey = trim(key);
    const std::string_view text = *bytes;
    bool inSection = false;
    // A line ends at CR, LF or CR LF alike; the empty line between CR and LF is skipped.
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
        end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view trimmed = trim(text.substr(start, end - start));
        if (trimmed.empty() || trimmed.front() == ';') continue;
        if (trimmed.front() == '[') {
            const auto close = trimmed.find(']');
            const std::string_view name =
                trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            inSection = equalsIgnoringCase(name, wantedSection);
            continue;
        }
        if (!inSection) continue;
        const auto eq = trimmed.find('=');
        if (eq == std::string::npos) continue;
        if (equalsIgnoringCase(trim(trimmed.substr(0, eq)), wantedKey)) {
            return unquote(trim(trimmed.substr(eq + 1)));
        }
    }
    return std::nullopt;
}

}  // namespace

std::string readIniString(const std::string& section, const std::string& key, const std::string& defaultValue,
                          const std::string& filePath, int bufferSize) {
    if (bufferSize <= 0) return {};
    std::string value = findValue(section, key, filePath).value_or(std::string(trim(defaultValue)));
    const auto room = static_cast<size_t>(bufferSize - 1);
    if (value.size() > room) value.resize(room);
    return value;
}

}  // namespace feed
