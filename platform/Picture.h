#pragma once

#include <QImage>
#include <QString>
#include <optional>

class QPainter;

namespace platform {

// A picture loaded from a BMP, GIF, JPEG or icon file. It reports its natural size in HiMetric and
// draws itself into a rectangle from a HiMetric source rectangle whose y axis runs upwards from the
// picture's bottom edge; a negative source or destination extent mirrors that axis.
class Picture {
public:
    // From this device pixel ratio on, pictures are read at twice their size where the program has them.
    static constexpr double kDoubleSizeFrom = 1.5;

    // Empty when the file is missing or is not a picture. For a device of kDoubleSizeFrom or more pixels
    // per unit, "name@2x.ext" beside it is read instead when it is a picture of exactly twice the size:
    // the picture then measures and places itself as the plain one and draws with twice the detail.
    static std::optional<Picture> Load(const QString& path, double devicePixelRatio = 1.0);
    // image.devicePixelRatio() tells how many of its pixels make one pixel of the picture.
    explicit Picture(QImage image);

    int HiMetricWidth() const { return m_hiWidth; }
    int HiMetricHeight() const { return m_hiHeight; }
    // Pixel size as a real number, as converted back from HiMetric (a 16-pixel icon measures 15.99).
    double Width() const;
    double Height() const;
    // Pixel size rounded, halves to even.
    int RoundedWidth() const;
    int RoundedHeight() const;

    void Render(QPainter& painter, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                int srcHeight) const;
    // The whole picture, upright, at its rounded pixel size.
    void Draw(QPainter& painter, int x, int y) const;

    // The pixels as read, at their device pixel ratio: draw it at its device-independent size.
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
    int m_hiWidth;
    int m_hiHeight;
};

}  // namespace platform
