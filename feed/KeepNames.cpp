#include "feed/KeepNames.h"

#include "feed/IniReader.h"

namespace feed {

KeepNames::KeepNames(std::string programFolder) : m_path(std::move(programFolder) + "/keepnames.ini") {}

std::string KeepNames::KeepName(const std::string& id) const {
    return ReadIniString("keepnames", id, kUnknown, m_path, 256);
}

}  // namespace feed
