#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <optional>
#include <string>

namespace platform {

// Decoded pictures kept across runs: one file per picture file in a private folder, each checked
// against the length and a hash of the bytes it was decoded from. A start that finds its pictures there
// decodes no JPEG or icon and loads no image plugin. A cache only: a missing, damaged or older entry
// is a miss, and the picture is decoded as before. Safe to use from several threads at once.
class PictureCache {
public:
    // An empty folder keeps nothing.
    explicit PictureCache(std::string folder = {}) : m_folder(std::move(folder)) {}

    // The picture decoded before from the file at path while it held these bytes.
    std::optional<QImage> find(const QString& path, QByteArrayView encoded) const;
    // Keeps what the file at path, holding these bytes, decoded to. Only 32-bit pictures are kept
    // (every picture of the program's); failures to write are a miss next time, nothing more.
    void keep(const QString& path, QByteArrayView encoded, const QImage& image) const;

private:
    std::string entryPath(const QString& path) const;
    std::string m_folder;
};

}  // namespace platform
