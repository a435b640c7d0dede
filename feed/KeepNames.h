#pragma once

#include <string>

namespace feed {

// The keep-name catalogue "keepnames.ini" in the program's folder, section "keepnames", keyed by the
// structure id. Looked up anew on every call, so an edited catalogue takes effect at once.
class KeepNames {
public:
    static constexpr const char* kUnknown = "UNKNOWN";

    explicit KeepNames(std::string programFolder);

    // Display name of a structure id (decimal text), at most 255 bytes of the file; "UNKNOWN" when
    // unlisted. Always UTF-8: a value that is not valid UTF-8 is read as windows-1252.
    std::string keepName(const std::string& id) const;

    const std::string& cataloguePath() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace feed
