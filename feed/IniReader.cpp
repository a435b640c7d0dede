#include "feed/IniReader.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>

namespace feed {
namespace {

std::string Trim(const std::string& s) {
    const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && isBlank(static_cast<unsigned char>(s[begin]))) ++begin;
    while (end > begin && isBlank(static_cast<unsigned char>(s[end - 1]))) --end;
    return s.substr(begin, end - begin);
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<std::string> FindValue(const std::string& section, const std::string& key, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string wantedSection = Trim(section);
    const std::string wantedKey = Trim(key);
    bool inSection = false;
    std::string line;
    while (std::getline(in, line)) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == ';') continue;
        if (trimmed.front() == '[') {
            const auto close = trimmed.find(']');
            const std::string name =
                Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = EqualsIgnoringCase(name, wantedSection);
            continue;
        }
        if (!inSection) continue;
        const auto eq = trimmed.find('=');
        if (eq == std::string::npos) continue;
        if (EqualsIgnoringCase(Trim(trimmed.substr(0, eq)), wantedKey)) {
            return Unquote(Trim(trimmed.substr(eq + 1)));
        }
    }
    return std::nullopt;
}

}  // namespace

std::string ReadIniString(const std::string& section, const std::string& key, const std::string& defaultValue,
                          const std::string& filePath, std::int16_t bufferSize) {
    if (bufferSize <= 0) return {};
    std::string value = FindValue(section, key, filePath).value_or(Trim(defaultValue));
    const auto room = static_cast<size_t>(bufferSize - 1);
    if (value.size() > room) value.resize(room);
    return value;
}

}  // namespace feed
