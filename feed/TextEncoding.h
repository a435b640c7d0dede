#pragma once

#include <string>
#include <string_view>

namespace feed {

// True when the bytes are well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

// windows-1252 text as UTF-8 (the five unassigned bytes keep their own code points, as Windows maps them).
std::string Windows1252ToUtf8(std::string_view bytes);

// Text from a file whose encoding is not declared: UTF-8 when it is valid UTF-8 (a sequence cut off at
// the end, as a full buffer cuts it, is dropped), else windows-1252, the single-byte encoding such files
// are written in. Always returns valid UTF-8.
std::string DecodeUndeclared(std::string_view bytes);

}  // namespace feed
