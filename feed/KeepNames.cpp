#include "feed/KeepNames.h"

#include "feed/IniReader.h"
#include "feed/TextEncoding.h"

namespace feed {

KeepNames::KeepNames(std::string programFolder) : m_path(std::move(programFolder) + "/keepnames.ini") {}

std::string KeepNames::keepName(const std::string& id) const {
    // The catalogue's home format is a single-byte file; one saved as UTF-8 works too.
    constexpr int kBuffer = 256;
    const std::string value = readIniString("keepnames", id, kUnknown, m_path, kBuffer);
    return decodeUndeclared(value, value.size() == static_cast<std::size_t>(kBuffer - 1));
}

}  // namespace feed
