#include "warmap/FrameLayout.h"

#include <cstdint>

#include "platform/Units.h"

namespace warmap {

FrameLayout LayOutFrame(const FrameSizes& s) {
    using platform::HiMetricToPixels;
    using platform::RoundEven;
    FrameLayout layout{};
    // Every size, sum and position the window keeps is 16-bit; one beyond that ends the layout.
    const auto fits = [&layout](double value) {
        if (value < -32768.0 || value > 32767.0) layout.overflow = true;
        return !layout.overflow;
    };
    const int t = RoundEven(HiMetricToPixels(s.cornerHeight));
    const int sw = RoundEven(HiMetricToPixels(s.sideWidth));
    layout.width = 2 * sw + s.mapWidth;
    layout.height = 2 * t + s.mapHeight;
    layout.mapLeft = sw;
    layout.mapTop = t;
    // The corner's and side piece's HiMetric heights are added as 16-bit numbers.
    const double bandStart = static_cast<double>(s.cornerHeight) + s.sideHeight;
    if (!fits(t) || !fits(sw) || !fits(2.0 * sw + s.mapWidth) || !fits(2.0 * t + s.mapHeight) || !fits(bandStart) ||
        !fits(s.cornerWidth))
        return layout;
    const double w = layout.width;
    const double h = layout.height;
    auto& out = layout.placements;

    // Top and bottom bands.
    const double c = HiMetricToPixels(s.cornerWidth);
    const double v = HiMetricToPixels(bandStart);
    const double tileW = HiMetricToPixels(s.topTileWidth), tileH = HiMetricToPixels(s.leftTileHeight);
    if (!fits(c) || !fits(2 * c) || !fits(w - 2 * c) || !fits(v) || !fits(2 * v) || !fits(h - 2 * v) || !fits(tileW) ||
        !fits(tileH))
        return layout;
    const int tileWidth = RoundEven(tileW);
    if (tileWidth > 0) {
        const int end = RoundEven(w - 2 * c);
        int x = RoundEven(c);
        for (; x <= end; x += tileWidth) {
            out.push_back({FramePiece::TopTile, x, 0, platform::Mirror::None});
            out.push_back({FramePiece::TopTile, x, t + s.mapHeight, platform::Mirror::TopBottom});
        }
        out.push_back({FramePiece::TopTile, x, 0, platform::Mirror::None});
        out.push_back({FramePiece::TopTile, x, t + s.mapHeight, platform::Mirror::TopBottom});
    }

    // Left and right bands, below the corner and side piece.
    const int tileHeight = RoundEven(tileH);
    if (tileHeight > 0) {
        const int end = RoundEven(h - 2 * v);
        int y = RoundEven(v);
        for (; y <= end; y += tileHeight) {
            out.push_back({FramePiece::LeftTile, 0, y, platform::Mirror::None});
            out.push_back({FramePiece::LeftTile, sw + s.mapWidth, y, platform::Mirror::TopBottom});
        }
        out.push_back({FramePiece::LeftTile, 0, y, platform::Mirror::None});
        out.push_back({FramePiece::LeftTile, sw + s.mapWidth, y, platform::Mirror::TopBottom});
    }

    // Corners and side pieces over the band ends.
    const double cw = HiMetricToPixels(s.cornerWidth), ch = HiMetricToPixels(s.cornerHeight);
    out.push_back({FramePiece::Corner, 0, 0, platform::Mirror::None});
    out.push_back({FramePiece::Corner, RoundEven(w - cw), 0, platform::Mirror::LeftRight});
    out.push_back({FramePiece::Corner, 0, RoundEven(h - ch), platform::Mirror::TopBottom});
    out.push_back({FramePiece::Corner, RoundEven(w - cw), RoundEven(h - ch), platform::Mirror::Both});
    const double sideW = HiMetricToPixels(s.sideWidth), sideH = HiMetricToPixels(s.sideHeight);
    out.push_back({FramePiece::SidePiece, 0, t, platform::Mirror::None});
    out.push_back({FramePiece::SidePiece, RoundEven(w - sideW), t, platform::Mirror::LeftRight});
    out.push_back({FramePiece::SidePiece, 0, RoundEven(h - sideH - t), platform::Mirror::TopBottom});
    out.push_back({FramePiece::SidePiece, RoundEven(w - sideW), RoundEven(h - sideH - t), platform::Mirror::Both});
    // A band's extra tile past its end, and pieces placed from the far edges, must fit too.
    for (const Placement& p : out) {
        if (!fits(p.x) || !fits(p.y)) break;
    }
    return layout;
}

}  // namespace warmap
