#pragma once

#include <string>
#include <string_view>

namespace feed {

// True when the bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);

// windows-1252 text as UTF-8 (the five unassigned bytes keep their own code points, as Windows maps them).
std::string windows1252ToUtf8(std::string_view bytes);

// Text from a file whose encoding is not declared: UTF-8 when it is valid UTF-8, else windows-1252, the
// single-byte encoding such files are written in. Only a value that filled its reader's buffer can have
// been cut inside a UTF-8 sequence: then an unfinished sequence at its very end is dropped. (In any
// other value such a last byte is a single-byte letter: "Caf\xE9" is "Café".) Always valid UTF-8.
std::string decodeUndeclared(std::string_view bytes, bool filledBuffer = false);

}  // namespace feed
