#pragma once

#include <string>

namespace feed {

// Reads one value of an INI file with the private-profile rules: section and key match without regard
// to case, blanks around names and values are trimmed, one pair of enclosing quotes is removed, lines
// starting with ';' are comments, lines end at CR, LF or CR LF. A missing file, section or key gives the default. The
// result is cut to bufferSize - 1 characters, as a caller's fixed buffer would cut it. The file is read anew on every
// call.
std::string readIniString(const std::string& section, const std::string& key, const std::string& defaultValue,
                          const std::string& filePath, int bufferSize);

}  // namespace feed
