#include "warmap/FrameLayout.h"

#include <cstdint>

#include "platform/Picture.h"
#include "platform/Units.h"

namespace warmap {

FrameLayout layOutFrame(const FrameSizes& s) {
    using platform::roundEven;
    FrameLayout layout{};
    // Every size, sum and position the window keeps is 16-bit; one beyond that ends the layout.
    const auto fits = [&layout](double value) {
        if (value < -32768.0 || value > 32767.0) layout.overflow = true;
        return !layout.overflow;
    };
    const int t = roundEven(s.cornerHeight);
    const int sw = roundEven(s.sideWidth);
    layout.width = 2 * sw + s.mapWidth;
    layout.height = 2 * t + s.mapHeight;
    layout.mapLeft = sw;
    layout.mapTop = t;
    // The corner's and side piece's heights are added as measures, and the corner's width kept as one.
    const double bandStart = s.cornerHeight + s.sideHeight;
    if (!platform::measureFits(bandStart) || !platform::measureFits(s.cornerWidth)) layout.overflow = true;
    if (!fits(t) || !fits(sw) || !fits(2.0 * sw + s.mapWidth) || !fits(2.0 * t + s.mapHeight)) return layout;
    const double w = layout.width;
    const double h = layout.height;
    auto& out = layout.placements;

    // Top and bottom bands.
    const double c = s.cornerWidth;
    const double v = bandStart;
    const double tileW = s.topTileWidth, tileH = s.leftTileHeight;
    if (!fits(c) || !fits(2 * c) || !fits(w - 2 * c) || !fits(v) || !fits(2 * v) || !fits(h - 2 * v) || !fits(tileW) ||
        !fits(tileH))
        return layout;
    const int tileWidth = roundEven(tileW);
    if (tileWidth > 0) {
        const int end = roundEven(w - 2 * c);
        int x = roundEven(c);
        for (; x <= end; x += tileWidth) {
            out.push_back({FramePiece::TopTile, QPoint(x, 0), platform::Mirror::None});
            out.push_back({FramePiece::TopTile, QPoint(x, t + s.mapHeight), platform::Mirror::TopBottom});
        }
        out.push_back({FramePiece::TopTile, QPoint(x, 0), platform::Mirror::None});
        out.push_back({FramePiece::TopTile, QPoint(x, t + s.mapHeight), platform::Mirror::TopBottom});
    }

    // Left and right bands, below the corner and side piece.
    const int tileHeight = roundEven(tileH);
    if (tileHeight > 0) {
        const int end = roundEven(h - 2 * v);
        int y = roundEven(v);
        for (; y <= end; y += tileHeight) {
            out.push_back({FramePiece::LeftTile, QPoint(0, y), platform::Mirror::None});
            out.push_back({FramePiece::LeftTile, QPoint(sw + s.mapWidth, y), platform::Mirror::TopBottom});
        }
        out.push_back({FramePiece::LeftTile, QPoint(0, y), platform::Mirror::None});
        out.push_back({FramePiece::LeftTile, QPoint(sw + s.mapWidth, y), platform::Mirror::TopBottom});
    }

    // Corners and side pieces over the band ends.
    const double cw = s.cornerWidth, ch = s.cornerHeight;
    out.push_back({FramePiece::Corner, QPoint(0, 0), platform::Mirror::None});
    out.push_back({FramePiece::Corner, QPoint(roundEven(w - cw), 0), platform::Mirror::LeftRight});
    out.push_back({FramePiece::Corner, QPoint(0, roundEven(h - ch)), platform::Mirror::TopBottom});
    out.push_back({FramePiece::Corner, QPoint(roundEven(w - cw), roundEven(h - ch)), platform::Mirror::Both});
    const double sideW = s.sideWidth, sideH = s.sideHeight;
    out.push_back({FramePiece::SidePiece, QPoint(0, t), platform::Mirror::None});
    out.push_back({FramePiece::SidePiece, QPoint(roundEven(w - sideW), t), platform::Mirror::LeftRight});
    out.push_back({FramePiece::SidePiece, QPoint(0, roundEven(h - sideH - t)), platform::Mirror::TopBottom});
    out.push_back(
        {FramePiece::SidePiece, QPoint(roundEven(w - sideW), roundEven(h - sideH - t)), platform::Mirror::Both});
    // A band's extra tile past its end, and pieces placed from the far edges, must fit too.
    for (const Placement& p : out) {
        if (!fits(p.at.x()) || !fits(p.at.y())) break;
    }
    return layout;
}

}  // namespace warmap
