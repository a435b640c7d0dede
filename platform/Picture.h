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
    // Empty when the file is missing or is not a picture.
    static std::optional<Picture> Load(const QString& path);
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

    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
    int m_hiWidth;
    int m_hiHeight;
};

}  // namespace platform
