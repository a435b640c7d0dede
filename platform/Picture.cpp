#include "platform/Picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <algorithm>

#include "base/SafeFile.h"
#include "platform/PictureCache.h"
#include "platform/Units.h"

namespace platform {

namespace {

// Pictures are measured in HiMetric (0.01 mm) at 96 dots per inch: the one place that unit lives.
// The products are written out as they always were, so every rounding stays the same.
constexpr double kDotsPerInch = 96.0;
int pixelsToHiMetric(double pixels) {
    return roundEven(pixels * 2540.0 / kDotsPerInch);
}
double hiMetricToPixels(int hiMetric) {
    return hiMetric * kDotsPerInch / 2540.0;
}

// Reads a picture only from a regular file, and opening never waits: a FIFO in a picture's place must
// not hang the program, a device or folder is no picture. With sizeOnly, reads just the size where the
// format tells it without decoding (a null image of that size comes back as QImage() with *sizeOnly set).
// With encoded, the file is read whole into it and decoded from there. With a cache, the file is read
// whole too, and what the cache holds for those bytes is taken instead of decoding them; what is
// decoded is kept there (a size asked for is then decoded whole, once).
QImage read(const QString& path, QSize* sizeOnly = nullptr, QByteArray* encoded = nullptr,
            const PictureCache* cache = nullptr) {
    base::Result<base::FileDescriptor, base::Refusal> fd =
        base::openForReading(QFile::encodeName(path).toStdString(), {});
    QFile file;
    if (!fd || !file.open(fd->get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return {};
    fd->release();
    QByteArray bytes;
    if (cache && !encoded) encoded = &bytes;
    QBuffer buffer;
    if (encoded) {
        *encoded = file.readAll();
        if (std::optional<QImage> found = cache ? cache->find(path, *encoded) : std::nullopt) {
            if (sizeOnly) *sizeOnly = found->size();
            return sizeOnly ? QImage() : std::move(*found);
        }
        buffer.setBuffer(encoded);
        buffer.open(QIODevice::ReadOnly);
    }
    QImageReader reader(encoded ? static_cast<QIODevice*>(&buffer) : &file);
    reader.setDecideFormatFromContent(true);  // whatever the name says
    if (sizeOnly && !cache) {
        *sizeOnly = reader.size();
        if (sizeOnly->isValid()) return {};
    }
    QImage image = reader.read();
    if (cache) cache->keep(path, *encoded, image);
    if (sizeOnly) *sizeOnly = image.size();
    return image;
}

QString atTwiceTheSize(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (dot <= slash) return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

}  // namespace

std::optional<Picture> Picture::load(const QString& path, double devicePixelRatio, QByteArray* encoded,
                                     const PictureCache* cache) {
    if (devicePixelRatio >= kDoubleSizeFrom) {
        QByteArray sharpBytes;
        QImage sharp = read(atTwiceTheSize(path), nullptr, encoded ? &sharpBytes : nullptr, cache);
        QSize plain;
        // The plain picture must be there too, and the sharp one exactly twice its size: anything else
        // would move what is placed by it.
        if (!sharp.isNull() && (read(path, &plain, nullptr, cache), plain.isValid()) && sharp.size() == plain * 2) {
            sharp.setDevicePixelRatio(2.0);
            if (encoded) *encoded = std::move(sharpBytes);
            return Picture(std::move(sharp));
        }
    }
    QImage image = read(path, nullptr, encoded, cache);
    if (image.isNull()) return std::nullopt;
    return Picture(std::move(image));
}

double measuredPixels(int pixels) {
    return hiMetricToPixels(pixelsToHiMetric(pixels));
}

bool measureFits(double pixels) {
    const double hiMetric = std::nearbyint(pixels * 2540.0 / kDotsPerInch);
    return hiMetric >= -32768.0 && hiMetric <= 32767.0;
}

Picture::Picture(QImage image)
    : m_image(std::move(image)),
      m_unitsWide(pixelsToHiMetric(qRound(m_image.deviceIndependentSize().width()))),
      m_unitsHigh(pixelsToHiMetric(qRound(m_image.deviceIndependentSize().height()))),
      m_width(hiMetricToPixels(m_unitsWide)),
      m_height(hiMetricToPixels(m_unitsHigh)) {}

int Picture::roundedWidth() const {
    return roundEven(width());
}
int Picture::roundedHeight() const {
    return roundEven(height());
}

void Picture::render(QPainter& painter, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                     int srcHeight) const {
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0 || m_image.isNull()) return;
    // Source edges in image pixels, y measured downwards from the top.
    const double sx = static_cast<double>(m_image.width()) / m_unitsWide;
    const double sy = static_cast<double>(m_image.height()) / m_unitsHigh;
    const double x0 = srcX * sx;
    const double x1 = (srcX + srcWidth) * sx;
    const double y0 = (m_unitsHigh - srcY) * sy;
    const double y1 = (m_unitsHigh - (srcY + srcHeight)) * sy;

    // Each axis is mirrored when source and destination run in opposite directions.
    const bool mirrorX = (x1 < x0) != (width < 0);
    const bool mirrorY = (y1 < y0) != (height < 0);

    // Snap to whole image pixels; a source shifted by a fraction of a pixel still shows the whole picture.
    const auto span = [](double a, double b, int limit) {
        const int length = std::min(limit, roundEven(std::abs(b - a)));
        const int start = std::clamp(roundEven(std::min(a, b)), 0, limit - length);
        return std::pair<int, int>(start, length);
    };
    const auto [left, sourceWidth] = span(x0, x1, m_image.width());
    const auto [top, sourceHeight] = span(y0, y1, m_image.height());
    QRect source(left, top, sourceWidth, sourceHeight);
    if (mirrorX) source.moveLeft(m_image.width() - source.right() - 1);
    if (mirrorY) source.moveTop(m_image.height() - source.bottom() - 1);

    // A negative extent runs from the given edge backwards: x + width + 1 .. x.
    const QRect target = width > 0 ? QRect(x, 0, width, 1) : QRect(x + width + 1, 0, -width, 1);
    const QRect targetY = height > 0 ? QRect(0, y, 1, height) : QRect(0, y + height + 1, 1, -height);
    const QRect destination(target.left(), targetY.top(), target.width(), targetY.height());

    painter.drawImage(destination, m_image.mirrored(mirrorX, mirrorY), source);
}

void Picture::draw(QPainter& painter, QPoint at) const {
    draw(painter, QRect(at, QSize(roundedWidth(), roundedHeight())));
}

void Picture::draw(QPainter& painter, const QRect& target) const {
    render(painter, target.x(), target.y(), target.width(), target.height(), 0, m_unitsHigh, m_unitsWide, -m_unitsHigh);
}

void Picture::place(QPainter& painter, QPoint at, Mirror mirror) const {
    const int x = at.x(), y = at.y();
    const int wh = m_unitsWide;
    const int hh = m_unitsHigh;
    const double w = width();
    const double h = height();
    // The mirrored modes start their source 15 HiMetric units in, each way: the skin was drawn and
    // checked with that offset, which is less than a pixel's 26.
    constexpr double kTx = 15;
    constexpr double kTy = 15;
    switch (mirror) {
        case Mirror::None:
            render(painter, x, y, roundEven(w), roundEven(h), 0, hh, wh, -hh);
            break;
        case Mirror::LeftRight:
            render(painter, x, roundEven(y + h - 1), roundEven(w), roundEven(-h), roundEven(wh - kTx), roundEven(kTy),
                   -wh, hh);
            break;
        case Mirror::TopBottom:
            render(painter, roundEven(x + w - 1), y, roundEven(-w), roundEven(h), roundEven(wh - kTx), roundEven(kTy),
                   -wh, hh);
            break;
        case Mirror::Both:
            render(painter, x, y, roundEven(w + 1), roundEven(h + 1), wh, 0, -wh, hh);
            break;
    }
}

}  // namespace platform
