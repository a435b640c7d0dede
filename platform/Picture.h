#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QPainter;

namespace platform {

class PictureCache;

// What a picture of this many pixels measures, in pixels: the program measures pictures in a finer
// unit than the pixel and back, so a 16-pixel icon measures 15.987 and half of it is 7, not 8. Every
// size and position taken from a picture goes through this.
double measuredPixels(int pixels);

// Whether a measure, or a sum of measures, is small enough to be kept: measures are kept in 16 bits
// of their own unit, which holds up to about 1238 pixels.
bool measureFits(double pixels);

// How a placed picture is turned: as drawn, mirrored left to right, top to bottom, or both ways. The
// frame's corners and sides use one each.
enum class Mirror { None, LeftRight, TopBottom, Both };

// A picture loaded from a BMP, GIF, JPEG or icon file, measured as measuredPixels says, drawn in
// logical pixels.
class Picture {
public:
    // From this device pixel ratio on, pictures are read at twice their size where the program has them.
    static constexpr double kDoubleSizeFrom = 1.5;

    // Empty when the file is missing or is not a picture. For a device of kDoubleSizeFrom or more pixels
    // per unit, "name@2x.ext" beside it is read instead when it is a picture of exactly twice the size:
    // the picture then measures and places itself as the plain one and draws with twice the detail.
    // With encoded, the bytes of the file whose pixels it holds come back there too. With a cache,
    // what it decoded before from the same bytes is taken from there (see PictureCache).
    static std::optional<Picture> load(const QString& path, double devicePixelRatio = 1.0,
                                       QByteArray* encoded = nullptr, const PictureCache* cache = nullptr);
    // image.devicePixelRatio() tells how many of its pixels make one pixel of the picture.
    explicit Picture(QImage image);

    // The measured size (a 16-pixel icon measures 15.987).
    double width() const { return m_width; }
    double height() const { return m_height; }
    // The measured size rounded, halves to even.
    int roundedWidth() const;
    int roundedHeight() const;

    // The whole picture, upright, at its rounded size with its top-left corner at the point.
    void draw(QPainter& painter, QPoint at) const;
    // The whole picture, upright, stretched into the rectangle.
    void draw(QPainter& painter, const QRect& target) const;
    // The picture at its natural size with its top-left corner at the point, turned as mirror says.
    // LeftRight and TopBottom cover the same pixels as None; Both covers one pixel more each way.
    void place(QPainter& painter, QPoint at, Mirror mirror) const;

    // The pixels as read, at their device pixel ratio: draw it at its device-independent size.
    const QImage& image() const { return m_image; }

private:
    // Draws into a rectangle from a source rectangle in the measure's own unit whose y axis runs upwards
    // from the picture's bottom edge; a negative source or destination extent mirrors that axis.
    void render(QPainter& painter, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                int srcHeight) const;

    QImage m_image;
    int m_unitsWide, m_unitsHigh;  // the size in the measure's own unit
    double m_width, m_height;
};

}  // namespace platform
