#include "tests/support/TempDir.h"

#include <fstream>
#include <iterator>

namespace testing_support {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempFolderScope::TempFolderScope() : m_previous(qgetenv("TMPDIR")), m_hadPrevious(qEnvironmentVariableIsSet("TMPDIR")) {
    qputenv("TMPDIR", m_dir.path().toLocal8Bit());
}

TempFolderScope::~TempFolderScope() {
    if (m_hadPrevious)
        qputenv("TMPDIR", m_previous);
    else
        qunsetenv("TMPDIR");
}

}  // namespace testing_support
