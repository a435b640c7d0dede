#include "feed/KeepNames.h"

#include "feed/IniReader.h"
#include "feed/TextEncoding.h"

namespace feed {

KeepNames::KeepNames(std::string programFolder) : m_path(std::move(programFolder) + "/keepnames.ini") {}

std::string KeepNames::KeepName(const std::string& id) const {
    // The catalogue's home format is a single-byte file; one saved as UTF-8 works too.
    return DecodeUndeclared(ReadIniString("keepnames", id, kUnknown, m_path, 256));
}

}  // namespace feed
