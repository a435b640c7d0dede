#pragma once

#include <QTemporaryDir>
#include <functional>
#include <string>

namespace testing_support {

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Copies the program's data files under subfolder (all of them for none) into the same place under
// to, those that wanted takes (every one without it; it sees the path below the data folder, such as
// "form/warmap.jpg"). False when a copy failed.
bool copyDataFolder(const QString& to, const QString& subfolder = {},
                    const std::function<bool(const QString& file)>& wanted = {});

// A fresh temporary folder that the program sees as its TMPDIR while the object lives.
class TempFolderScope {
public:
    TempFolderScope();
    ~TempFolderScope();
    // With a trailing separator, as the program's tempFolder() gives it.
    std::string path() const { return m_dir.path().toStdString() + "/"; }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

}  // namespace testing_support
