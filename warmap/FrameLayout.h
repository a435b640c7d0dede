#pragma once

#include <QPoint>
#include <vector>

#include "platform/Picture.h"

namespace warmap {

// The pieces of the window's skin frame.
enum class FramePiece { Corner, SidePiece, TopTile, LeftTile };

struct Placement {
    FramePiece piece;
    QPoint at;  // the picture's top-left corner in the window, in logical pixels
    platform::Mirror mirror;
    bool operator==(const Placement&) const = default;
};

// Sizes of the frame pictures as measured (see measuredPixels), and of the map in pixels.
struct FrameSizes {
    double cornerWidth, cornerHeight;
    double sideWidth, sideHeight;
    double topTileWidth;
    double leftTileHeight;
    int mapWidth, mapHeight;
};

struct FrameLayout {
    // A size, sum or position the window keeps does not fit in 16 bits: nothing else is usable then.
    bool overflow = false;
    int width, height;                  // the window's drawing area: 2S + map width by 2T + map height
    int mapLeft, mapTop;                // (S, T)
    std::vector<Placement> placements;  // in drawing order: bands, corners, side pieces
};

// Lays the frame out around the map: top and bottom bands of tiles from the corner's width on, each
// ending with one extra tile; left and right bands below the side pieces (the right one mirrored top to
// bottom); then the four corners and four side pieces over the band ends.
FrameLayout layOutFrame(const FrameSizes& sizes);

}  // namespace warmap
