#include "tools/assetgen/Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "tools/assetgen/Noise.h"

namespace assetgen {
namespace {

const QColor kGold(214, 178, 92);
const QColor kGoldDark(138, 104, 44);
const QColor kWoodDark(46, 30, 20);
const QColor kWood(84, 56, 34);
const QColor kInk(28, 20, 14);

struct RealmColours {
    QColor fill, light, dark;
};

RealmColours coloursOf(Realm realm) {
    switch (realm) {
        case Realm::Albion:
            return {QColor(200, 34, 34), QColor(244, 124, 112), QColor(86, 8, 8)};
        case Realm::Midgard:
            return {QColor(38, 78, 220), QColor(136, 166, 255), QColor(10, 22, 96)};
        case Realm::Hibernia:
            return {QColor(26, 142, 50), QColor(124, 214, 132), QColor(6, 62, 18)};
    }
    return {};
}

QImage transparent(int w, int h, int s = 1) {
    QImage image(w * s, h * s, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage opaque(int w, int h, int s) {
    return QImage(w * s, h * s, QImage::Format_RGB32);
}

// One pixel of the picture's own grid: a block of s x s pixels of the image.
void block(QImage& image, int x, int y, const QColor& colour, int s) {
    for (int dy = 0; dy < s; ++dy)
        for (int dx = 0; dx < s; ++dx) image.setPixelColor(x * s + dx, y * s + dy, colour);
}

// Calls colour(u, v) for every pixel of the image, with (u, v) the pixel's centre in the picture's own
// grid, where pixel centres lie on whole numbers: at scale 1 exactly the pixel's coordinates.
void sample(QImage& image, int s, const std::function<QColor(double, double)>& colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixelColor(x, y, colour((x + 0.5) / s - 0.5, (y + 0.5) / s - 0.5));
        }
    }
}

// Wood grain: dark brown with long, slightly wavy streaks; periodic so tiles join.
QColor woodAt(const Noise& noise, double x, double y, int periodX, int periodY) {
    const double grain = noise.tiled(x / 3.0, y / 9.0, std::max(1, periodX / 3)) * 0.6 +
                         noise.tiled(x / 1.0, y / 3.0, std::max(1, periodX)) * 0.4;
    (void)periodY;
    const double t = 0.55 + 0.45 * grain;
    return QColor(static_cast<int>(kWood.red() * t), static_cast<int>(kWood.green() * t),
                  static_cast<int>(kWood.blue() * t));
}

void fillWood(QImage& image, std::uint32_t seed, bool streaksVertical, int s) {
    const Noise noise(seed);
    const int w = image.width() / s, h = image.height() / s;
    sample(image, s,
           [&](double x, double y) { return streaksVertical ? woodAt(noise, y, x, h, w) : woodAt(noise, x, y, w, h); });
}

// Lines in the picture's own grid, clipped to it.
void hLine(QImage& image, int y, int x0, int x1, const QColor& colour, int s = 1) {
    for (int x = std::max(0, x0); x <= std::min(image.width() / s - 1, x1); ++x) block(image, x, y, colour, s);
}
void vLine(QImage& image, int x, int y0, int y1, const QColor& colour, int s = 1) {
    for (int y = std::max(0, y0); y <= std::min(image.height() / s - 1, y1); ++y) block(image, x, y, colour, s);
}

// A gold trim line with a dark shadow below or to the right.
void trimH(QImage& image, int y, int x0, int x1, int s) {
    hLine(image, y, x0, x1, kGold, s);
    hLine(image, y + 1, x0, x1, kGoldDark, s);
}
// The two gold lines of a side band, shaded towards each other. Symmetric, because the right band is
// the left one unmirrored while the right corners and side pieces are mirrored.
void trimSides(QImage& image, int y0, int y1, int s) {
    vLine(image, 2, y0, y1, kGold, s);
    vLine(image, 3, y0, y1, kGoldDark, s);
    vLine(image, 6, y0, y1, kGoldDark, s);
    vLine(image, 7, y0, y1, kGold, s);
}

// Fills a silhouette with a dark outline one pixel of the icon's grid wide and a left-lit body. At a
// larger scale the shape is sampled finer, so its curves and slopes come out smoother.
void paintSilhouette(QImage& icon, const std::function<bool(double, double)>& inside, const RealmColours& c, int s) {
    for (int py = 0; py < icon.height(); ++py) {
        for (int px = 0; px < icon.width(); ++px) {
            const double x = (px + 0.5) / s - 0.5, y = (py + 0.5) / s - 0.5;
            if (!inside(x, y)) continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            const bool lit = inside(x - 1, y) && !inside(x - 2, y);
            icon.setPixelColor(px, py, edge ? c.dark : lit ? c.light : c.fill);
        }
    }
}

void pixels(QImage& icon, const std::initializer_list<std::pair<int, int>>& points, const QColor& colour, int s) {
    for (auto [x, y] : points) block(icon, x, y, colour, s);
}

// Each realm has its own roof and emblem, so the icons read without colour too:
// Albion a crenellated top and a cross, Midgard a pointed roof and a triangle, Hibernia a dome and a ring.
void paintEmblem(QImage& icon, Realm realm, int cx, int cy, int s) {
    const QColor white(255, 255, 255);
    switch (realm) {
        case Realm::Albion:
            pixels(icon, {{cx, cy - 1}, {cx - 1, cy}, {cx, cy}, {cx + 1, cy}, {cx, cy + 1}}, white, s);
            break;
        case Realm::Midgard:
            pixels(
                icon,
                {{cx, cy - 1}, {cx - 1, cy}, {cx, cy}, {cx + 1, cy}, {cx - 1, cy + 1}, {cx, cy + 1}, {cx + 1, cy + 1}},
                white, s);
            break;
        case Realm::Hibernia:
            pixels(icon, {{cx, cy - 1}, {cx - 1, cy}, {cx + 1, cy}, {cx, cy + 1}}, white, s);
            break;
    }
}

}  // namespace

QImage structureIcon(Realm realm, bool keep, int s) {
    QImage icon = transparent(16, 16, s);
    const int left = keep ? 2 : 5, right = keep ? 13 : 10;  // body columns
    const int bodyTop = keep ? 7 : 6;
    // (x, y) in the icon's grid; pixel (i, j) covers i - 0.5 .. i + 0.5, so at scale 1 the straight
    // edges below are exactly the whole-pixel tests.
    const auto inside = [=](double x, double y) -> bool {
        if (x < -0.5 || y < -0.5 || x > 15.5 || y > 15.5) return false;
        if (x >= left - 0.5 && x <= right + 0.5 && y >= bodyTop - 0.5 && y <= 15.5) return true;
        const double mid = (left + right) / 2.0;
        switch (realm) {
            case Realm::Albion: {  // merlons
                if (y < bodyTop - 3.5 || y >= bodyTop - 0.5) return false;
                if (x < left - 0.5 || x > right + 0.5) return false;
                const int col = static_cast<int>(std::floor(x + 0.5)) - left;
                return keep ? (col % 4 < 2 || col == right - left) : (col < 2 || col > right - left - 2);
            }
            case Realm::Midgard: {  // pointed roof, one pixel of eaves each side
                const double half = (right - left) / 2.0 + 1.5;
                const double height = keep ? 5.5 : 6.0;
                const double dy = bodyTop - y;
                return dy > 0 && dy <= height && std::abs(x - mid) <= half * (1.0 - (dy - 0.5) / height) + 0.3;
            }
            case Realm::Hibernia: {  // dome
                const double rx = (right - left) / 2.0 + 0.5, ry = keep ? 4.5 : 4.0;
                const double dx = (x - mid) / rx, dy = (y - bodyTop + 0.5) / ry;
                return y < bodyTop && dx * dx + dy * dy <= 1.0;
            }
        }
        return false;
    };
    const RealmColours colours = coloursOf(realm);
    paintSilhouette(icon, inside, colours, s);
    // Door: a dark arch at the foot of the body.
    const int doorX = (left + right) / 2;
    pixels(icon, {{doorX, 14}, {doorX, 13}, {doorX + (keep ? 1 : 0), 14}, {doorX + (keep ? 1 : 0), 13}}, colours.dark,
           s);
    paintEmblem(icon, realm, doorX + (keep ? 0 : 0), keep ? 10 : 9, s);
    return icon;
}

QImage unclaimedOverlay(bool keep, int s) {
    // "No guild holds this": a white pennant on a black pole, outlined in black, so it reads on the
    // pale Midgard ground, on the parchment and on every icon colour alike.
    QImage icon = transparent(16, 16, s);
    const QColor black(16, 16, 16), white(255, 255, 255);
    const int pole = keep ? 8 : 7;
    for (int y = 0; y <= 10; ++y) block(icon, pole, y, black, s);
    // Rows of the pennant, from the pole to its tip halfway down.
    constexpr int kLength[7] = {2, 4, 6, 7, 6, 4, 2};
    for (int row = 0; row < 7; ++row) {
        const int y = 1 + row;
        for (int k = 1; k <= kLength[row]; ++k) {
            const bool edge = row == 0 || row == 6 || k == kLength[row] || (row > 0 && k > kLength[row - 1]) ||
                              (row < 6 && k > kLength[row + 1]);
            block(icon, pole + k, y, edge ? black : white, s);
        }
    }
    return icon;
}

QImage frameCorner(int s) {
    QImage image = opaque(32, 24, s);
    fillWood(image, 11, false, s);
    trimH(image, 2, 2, 31, s);
    trimH(image, 20, 6, 31, s);
    vLine(image, 2, 2, 23, kGold, s);
    vLine(image, 3, 3, 23, kGoldDark, s);
    vLine(image, 6, 21, 23, kGoldDark, s);
    vLine(image, 7, 20, 23, kGold, s);
    // A round medallion of the three realms: it reads the same in every mirrored corner.
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s, s);
    const QRectF disc(11.5, 4.5, 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(coloursOf(Realm::Albion).fill);
    p.drawPie(disc, 90 * 16, 120 * 16);
    p.setBrush(coloursOf(Realm::Hibernia).fill);
    p.drawPie(disc, 210 * 16, 120 * 16);
    p.setBrush(coloursOf(Realm::Midgard).fill);
    p.drawPie(disc, 330 * 16, 120 * 16);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGold, 1.3));
    p.drawEllipse(disc);
    return image;
}

QImage frameSidePiece(int s) {
    QImage image = opaque(10, 16, s);
    fillWood(image, 12, true, s);
    trimSides(image, 0, 15, s);
    // A gold stud between the two lines.
    pixels(image, {{5, 7}, {4, 8}, {5, 8}, {6, 8}, {5, 9}}, kGold, s);
    return image;
}

QImage frameTopTile(int s) {
    // A tile at least as wide as the corner, less one pixel: the band's last tile then always reaches it.
    QImage image = opaque(32, 24, s);
    fillWood(image, 13, false, s);
    trimH(image, 2, 0, 31, s);
    trimH(image, 20, 0, 31, s);
    return image;
}

QImage frameLeftTile(int s) {
    // As tall as the corner and side piece together, for the same reason.
    QImage image = opaque(10, 40, s);
    fillWood(image, 14, true, s);
    trimSides(image, 0, 39, s);
    return image;
}

namespace {

QImage buttonBase(int s) {
    QImage image = opaque(17, 17, s);
    image.fill(kWoodDark);
    hLine(image, 0, 0, 16, kGold, s);
    vLine(image, 0, 0, 16, kGold, s);
    hLine(image, 16, 0, 16, kGoldDark, s);
    vLine(image, 16, 0, 16, kGoldDark, s);
    block(image, 0, 16, kGold, s);  // the light edges win at the two corners they share, as they always did
    block(image, 16, 0, kGold, s);
    return image;
}

}  // namespace

QImage closeButton(int s) {
    QImage image = buttonBase(s);
    for (int i = 4; i <= 12; ++i) {
        block(image, i, i, kGold, s);
        block(image, i + 1 <= 12 ? i + 1 : i, i, kGold, s);
        block(image, 16 - i, i, kGold, s);
        block(image, 16 - i - 1 >= 4 ? 16 - i - 1 : 16 - i, i, kGold, s);
    }
    return image;
}

QImage minimiseButton(int s) {
    QImage image = buttonBase(s);
    hLine(image, 11, 4, 12, kGold, s);
    hLine(image, 12, 4, 12, kGold, s);
    return image;
}

QImage mapCornerOrnament(int s) {
    QImage image = transparent(32, 32, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s, s);
    p.setPen(QPen(kGoldDark, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 2), QPointF(29, 2));
    p.drawLine(QPointF(2, 2), QPointF(2, 29));
    p.setPen(QPen(kGold, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 2), QPointF(29, 2));
    p.drawLine(QPointF(2, 2), QPointF(2, 29));
    // A curl tucked into the corner.
    QPainterPath curl;
    curl.moveTo(6, 16);
    curl.cubicTo(6, 8, 8, 6, 16, 6);
    curl.moveTo(9, 13);
    curl.cubicTo(9, 10, 10, 9, 13, 9);
    p.setPen(QPen(kGold, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curl);
    p.setBrush(kGold);
    p.setPen(QPen(kGoldDark, 0.8));
    p.drawEllipse(QPointF(4.5, 4.5), 2.6, 2.6);
    return image;
}

QImage windowIcon(int size) {
    QImage image = transparent(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    QPainterPath shield;
    shield.moveTo(2, 1.2);
    shield.lineTo(14, 1.2);
    shield.lineTo(14, 7.5);
    shield.quadTo(14, 12.5, 8, 15);
    shield.quadTo(2, 12.5, 2, 7.5);
    shield.closeSubpath();
    p.setClipPath(shield);
    p.fillRect(QRectF(0, 0, 8, 8), coloursOf(Realm::Albion).fill);
    p.fillRect(QRectF(8, 0, 8, 8), coloursOf(Realm::Midgard).fill);
    p.fillRect(QRectF(0, 8, 16, 8), coloursOf(Realm::Hibernia).fill);
    p.setClipping(false);
    p.setPen(QPen(kGold, size >= 32 ? 1.0 : 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shield);
    return image;
}

// The same shield as windowIcon, as an SVG document for the icon theme's scalable size.
QByteArray windowIconSvg() {
    const auto fill = [](Realm realm) { return coloursOf(realm).fill.name().toLatin1(); };
    const QByteArray shield = "M2 1.2H14V7.5Q14 12.5 8 15Q2 12.5 2 7.5Z";
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 16\">\n"
           "  <clipPath id=\"shield\"><path d=\"" +
           shield +
           "\"/></clipPath>\n"
           "  <g clip-path=\"url(#shield)\">\n"
           "    <rect x=\"0\" y=\"0\" width=\"8\" height=\"8\" fill=\"" +
           fill(Realm::Albion) +
           "\"/>\n"
           "    <rect x=\"8\" y=\"0\" width=\"8\" height=\"8\" fill=\"" +
           fill(Realm::Midgard) +
           "\"/>\n"
           "    <rect x=\"0\" y=\"8\" width=\"16\" height=\"8\" fill=\"" +
           fill(Realm::Hibernia) +
           "\"/>\n"
           "  </g>\n"
           "  <path d=\"" +
           shield + "\" fill=\"none\" stroke=\"" + kGold.name().toLatin1() +
           "\" stroke-width=\"1\"/>\n"
           "</svg>\n";
}

QImage splashTop(int s, const QString& caption) {
    QImage image = opaque(280, 16, s);
    fillWood(image, 21, false, s);
    trimH(image, 13, 0, 279, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(s, s);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(10);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(font);
    p.setPen(kGold);
    p.drawText(QRect(0, 0, 280, 13), Qt::AlignCenter, caption);
    return image;
}

QImage splashMid(int s) {
    // Parchment, seamless from one tile to the next, framed by the wood edges of the top and bottom.
    QImage image = opaque(280, 32, s);
    const Noise noise(22);
    sample(image, s, [&](double x, double y) {
        const double n = noise.tiled(x / 7.0, y / 4.0, 40) * 0.6 + noise.tiled(x / 2.0, y / 2.0, 140) * 0.4;
        const double fromEdge = std::max(0.0, std::min(x, 279 - x));
        const double edge = fromEdge < 14 ? (14 - fromEdge) / 14.0 : 0.0;
        const double t = 0.93 + 0.07 * n - 0.10 * edge * edge;
        return QColor(static_cast<int>(240 * t), static_cast<int>(226 * t), static_cast<int>(188 * t));
    });
    vLine(image, 0, 0, 31, kWoodDark, s);
    vLine(image, 1, 0, 31, kGold, s);
    vLine(image, 2, 0, 31, kGoldDark, s);
    vLine(image, 277, 0, 31, kGoldDark, s);
    vLine(image, 278, 0, 31, kGold, s);
    vLine(image, 279, 0, 31, kWoodDark, s);
    return image;
}

QImage splashBottom(int s) {
    QImage image = opaque(280, 10, s);
    fillWood(image, 23, false, s);
    hLine(image, 0, 0, 279, kGoldDark, s);
    hLine(image, 1, 0, 279, kGold, s);
    return image;
}

QImage rightArrow(int s) {
    QImage image = transparent(16, 16, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s, s);
    QPainterPath arrow;
    arrow.moveTo(1.5, 6);
    arrow.lineTo(8.5, 6);
    arrow.lineTo(8.5, 2.5);
    arrow.lineTo(14.8, 8);
    arrow.lineTo(8.5, 13.5);
    arrow.lineTo(8.5, 10);
    arrow.lineTo(1.5, 10);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(70, 48, 18), 1.0));
    p.setBrush(QColor(196, 150, 52));
    p.drawPath(arrow);
    return image;
}

}  // namespace assetgen
