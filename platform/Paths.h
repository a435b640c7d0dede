#pragma once

#include <string>

namespace platform {

// The user's temporary folder (honours TMPDIR), always ending with a separator.
std::string TempFolder();

// The folder of the running program; its data files lie beside it.
std::string ProgramFolder();

// True when something (a file or a folder) exists at the path.
bool FileExists(const std::string& path);

}  // namespace platform
