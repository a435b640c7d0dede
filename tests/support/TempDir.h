#pragma once

#include <QTemporaryDir>
#include <string>

namespace testing_support {

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// A fresh temporary folder that the program sees as its TMPDIR while the object lives.
class TempFolderScope {
public:
    TempFolderScope();
    ~TempFolderScope();
    // With a trailing separator, as the program's TempFolder() gives it.
    std::string Path() const { return m_dir.path().toStdString() + "/"; }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

}  // namespace testing_support
