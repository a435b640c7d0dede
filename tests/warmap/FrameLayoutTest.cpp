#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Picture.h"
#include "warmap/FrameLayout.h"

namespace {

using platform::Mirror;

using platform::measuredPixels;
using warmap::FramePiece;
using warmap::Placement;

warmap::FrameSizes sizesFor(int mapWidth, int mapHeight) {
    // A 30 x 20 corner, a 10 x 25 side piece, 10-pixel tiles.
    return {measuredPixels(30), measuredPixels(20), measuredPixels(10), measuredPixels(25),
            measuredPixels(10), measuredPixels(10), mapWidth,           mapHeight};
}

std::vector<Placement> of(const warmap::FrameLayout& layout, FramePiece piece) {
    std::vector<Placement> out;
    std::copy_if(layout.placements.begin(), layout.placements.end(), std::back_inserter(out),
                 [&](const Placement& p) { return p.piece == piece; });
    return out;
}

TEST(FrameLayout, SizesTheWindowAroundTheMap) {
    const auto layout = warmap::layOutFrame(sizesFor(448, 560));
    EXPECT_EQ(layout.width, 468);
    EXPECT_EQ(layout.height, 600);
    EXPECT_EQ(layout.mapLeft, 10);
    EXPECT_EQ(layout.mapTop, 20);
}

TEST(FrameLayout, BandsEndWithOneExtraTile) {
    const auto layout = warmap::layOutFrame(sizesFor(440, 560));  // drawing width 460
    std::vector<int> topXs;
    for (const Placement& p : of(layout, FramePiece::TopTile)) {
        if (p.at.y() == 0) {
            EXPECT_EQ(p.mirror, platform::Mirror::None);
            topXs.push_back(p.at.x());
        } else {
            EXPECT_EQ(p.at.y(), 20 + 560);
            EXPECT_EQ(p.mirror, platform::Mirror::TopBottom);
        }
    }
    std::vector<int> expected;
    for (int x = 30; x <= 410; x += 10) expected.push_back(x);
    EXPECT_EQ(topXs, expected);  // 30 ... 400, then 410; 420-429 stay bare before the corner at 430
    const auto corners = of(layout, FramePiece::Corner);
    ASSERT_EQ(corners.size(), 4u);
    EXPECT_EQ(corners[1], (Placement{FramePiece::Corner, QPoint(430, 0), Mirror::LeftRight}));
    EXPECT_EQ(corners[2], (Placement{FramePiece::Corner, QPoint(0, 580), Mirror::TopBottom}));
    EXPECT_EQ(corners[3], (Placement{FramePiece::Corner, QPoint(430, 580), Mirror::Both}));
}

TEST(FrameLayout, RightBandIsMirroredTopToBottomOnly) {
    const auto layout = warmap::layOutFrame(sizesFor(448, 560));
    const auto tiles = of(layout, FramePiece::LeftTile);
    ASSERT_FALSE(tiles.empty());
    EXPECT_EQ(tiles.front(),
              (Placement{FramePiece::LeftTile, QPoint(0, 45), Mirror::None}));  // below corner and side piece
    EXPECT_EQ(tiles[1], (Placement{FramePiece::LeftTile, QPoint(458, 45), Mirror::TopBottom}));
    EXPECT_EQ(tiles.back().at.y(), tiles[tiles.size() - 3].at.y() + 10);  // the extra tile
    EXPECT_LE(tiles[tiles.size() - 3].at.y(), 600 - 90);
    const auto sides = of(layout, FramePiece::SidePiece);
    EXPECT_EQ(sides, (std::vector<Placement>{{FramePiece::SidePiece, QPoint(0, 20), Mirror::None},
                                             {FramePiece::SidePiece, QPoint(458, 20), Mirror::LeftRight},
                                             {FramePiece::SidePiece, QPoint(0, 555), Mirror::TopBottom},
                                             {FramePiece::SidePiece, QPoint(458, 555), Mirror::Both}}));
    // Corners and side pieces come last, so they cover the band ends.
    EXPECT_EQ(layout.placements.back().piece, FramePiece::SidePiece);
}

// Sizes and positions are 16-bit, and so are the measures of the corner's width and of the corner's and
// side piece's heights together: anything beyond is an overflow, never a wrapped number; the largest
// that fit still lay out.
TEST(FrameLayout, SizesBeyondSixteenBitsOverflow) {
    const auto with = [](auto change) {
        warmap::FrameSizes sizes = sizesFor(448, 560);
        change(sizes);
        return warmap::layOutFrame(sizes).overflow;
    };
    EXPECT_FALSE(with([](auto&) {}));
    // A 20-pixel corner over a 1219-pixel side piece measures past 16 bits; over 1218 pixels it does not.
    EXPECT_TRUE(with([](auto& s) { s.sideHeight = measuredPixels(1219); }));
    EXPECT_FALSE(with([](auto& s) { s.sideHeight = measuredPixels(1218); }));
    EXPECT_TRUE(with([](auto& s) { s.mapWidth = 32767 - 19; }));   // 2 S + map width
    EXPECT_TRUE(with([](auto& s) { s.mapHeight = 32767 - 39; }));  // 2 T + map height
    EXPECT_TRUE(with([](auto& s) { s.cornerWidth = measuredPixels(1239); }));
    EXPECT_FALSE(with([](auto& s) { s.cornerWidth = measuredPixels(1238); }));
    EXPECT_TRUE(with([](auto& s) {  // the band's extra tile, one tile past a band end near the limit
        s.mapWidth = 32700;
        s.topTileWidth = measuredPixels(32000);
    }));
}

}  // namespace
