#include "platform/PictureCache.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <charconv>

#include "base/CacheFile.h"
#include "base/SafeFile.h"

namespace platform {
namespace {

constexpr std::string_view kHeader = "warmap picture 1\n";
// Four times the largest picture of the program (the map at twice its size), and some.
constexpr std::size_t kMostBytes = 32u << 20;

bool kept(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

// The entry's first two lines: what it is, and the bytes it was decoded from.
std::string keyLines(QByteArrayView encoded) {
    return std::string(kHeader) + base::contentKey({encoded.data(), static_cast<std::size_t>(encoded.size())});
}

std::string shapeLine(const QImage& image) {
    return std::to_string(image.width()) + ' ' + std::to_string(image.height()) + ' ' +
           std::to_string(static_cast<int>(image.format())) + '\n';
}

}  // namespace

std::string PictureCache::entryPath(const QString& path) const {
    // One entry per picture file, whatever it held: a changed file replaces its entry.
    const QByteArray name = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex();
    return m_folder + '/' + name.toStdString();
}

std::optional<QImage> PictureCache::find(const QString& path, QByteArrayView encoded) const {
    if (m_folder.empty()) return std::nullopt;
    const auto fd =
        base::openForReading(entryPath(path), {.followLinks = false, .ownedByUs = true, .maxBytes = kMostBytes});
    if (!fd) return std::nullopt;
    // The two lines before the pixels are short; the pixels go straight into the picture.
    const std::string key = keyLines(encoded);
    char head[160];
    const ssize_t got = ::pread(fd->get(), head, sizeof head, 0);
    if (got <= 0) return std::nullopt;
    std::string_view in(head, static_cast<std::size_t>(got));
    if (in.substr(0, key.size()) != key) return std::nullopt;
    in.remove_prefix(key.size());
    const std::size_t lineEnd = in.find('\n');
    if (lineEnd == std::string_view::npos) return std::nullopt;
    int shape[3] = {0, 0, 0};
    const char* at = in.data();
    for (int& value : shape) {
        const auto [end, error] = std::from_chars(at, in.data() + lineEnd, value);
        if (error != std::errc()) return std::nullopt;
        at = end + (end < in.data() + lineEnd ? 1 : 0);
    }
    const auto [width, height, format] = shape;
    if (at != in.data() + lineEnd || width <= 0 || height <= 0 || width > 8192 || height > 8192 ||
        !kept(static_cast<QImage::Format>(format)))
        return std::nullopt;
    QImage image(width, height, static_cast<QImage::Format>(format));
    if (image.isNull()) return std::nullopt;
    const auto pixelsAt = static_cast<off_t>(key.size() + lineEnd + 1);
    const auto length = static_cast<std::size_t>(image.sizeInBytes());
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd->get(), image.bits() + done, length - done, pixelsAt + static_cast<off_t>(done));
        if (n <= 0) return std::nullopt;
        done += static_cast<std::size_t>(n);
    }
    char more;
    if (::pread(fd->get(), &more, 1, pixelsAt + static_cast<off_t>(length)) != 0) return std::nullopt;
    return image;
}

void PictureCache::keep(const QString& path, QByteArrayView encoded, const QImage& image) const {
    if (m_folder.empty() || image.isNull() || !kept(image.format())) return;
    std::string bytes = keyLines(encoded) + shapeLine(image);
    bytes.append(reinterpret_cast<const char*>(image.constBits()), static_cast<std::size_t>(image.sizeInBytes()));
    (void)base::writeCacheFile(entryPath(path), bytes);
}

}  // namespace platform
