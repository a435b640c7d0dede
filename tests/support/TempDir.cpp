#include "tests/support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <fstream>
#include <iterator>

namespace testing_support {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool copyDataFolder(const QString& to, const QString& subfolder,
                    const std::function<bool(const QString& file)>& wanted) {
    const QString data = QStringLiteral(WARMAP_DATA_DIR "/");
    bool copied = true;
    for (QDirIterator it(data + subfolder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next().mid(data.size());
        if (wanted && !wanted(file)) continue;
        const QString copy = to + QLatin1Char('/') + file;
        copied = QDir().mkpath(QFileInfo(copy).path()) && QFile::copy(data + file, copy) && copied;
    }
    return copied;
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
