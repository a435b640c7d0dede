#include <gtest/gtest.h>

#include "notify/PopupPlacement.h"
#include "platform/Taskbar.h"

namespace {

using notify::Edge;
using notify::popupPosition;
using notify::taskbarEdge;
using platform::TaskbarRect;

// 1920 x 1080, a 280-pixel popup of one line (53 pixels).
std::optional<std::pair<int, int>> placePixels(TaskbarRect r) {
    const auto p = popupPosition(r, QSize(1920, 1080), QSize(280, 53));
    if (!p) return std::nullopt;
    return std::pair<int, int>(p->x(), p->y());
}

TEST(PopupPlacement, BottomTaskbar) {
    const TaskbarRect r{0, 1040, 1920, 1080};
    EXPECT_EQ(taskbarEdge(r), Edge::Bottom);
    EXPECT_EQ(placePixels(r), std::make_pair(1634, 981));
}

TEST(PopupPlacement, OtherEdges) {
    EXPECT_EQ(taskbarEdge({0, 0, 60, 1080}), Edge::Left);
    EXPECT_EQ(placePixels({0, 0, 60, 1080}), std::make_pair(66, 1080 - 53 - 6));
    EXPECT_EQ(taskbarEdge({0, 0, 1920, 40}), Edge::Top);
    EXPECT_EQ(placePixels({0, 0, 1920, 40}), std::make_pair(1920 - 280 - 6, 46));
    EXPECT_EQ(taskbarEdge({1860, 0, 1920, 1080}), Edge::Right);
    EXPECT_EQ(placePixels({1860, 0, 1920, 1080}), std::make_pair(1860 - 280 - 6, 1080 - 53 - 6));
}

TEST(PopupPlacement, BarsReachingPastTheScreenAndOddShapes) {
    EXPECT_EQ(taskbarEdge({-2, 1038, 1922, 1082}), Edge::Bottom);
    EXPECT_EQ(placePixels({-2, 1038, 1922, 1082}), std::make_pair(1634, 1038 - 53 - 6));
    EXPECT_EQ(taskbarEdge({10, 10, 500, 500}), Edge::None);  // floating: no edge
    EXPECT_EQ(taskbarEdge({0, 0, 50, 50}), Edge::None);      // square in the corner
    EXPECT_FALSE(placePixels({10, 10, 500, 500}));
}

TEST(Taskbar, StripBetweenScreenAndAvailableArea) {
    const QRect screen(0, 0, 1920, 1080);
    const auto bottom = platform::taskbarStrip(screen, QRect(0, 0, 1920, 1040));
    ASSERT_TRUE(bottom);
    EXPECT_EQ(bottom->top, 1040);
    EXPECT_EQ(bottom->bottom, 1080);
    EXPECT_EQ(taskbarEdge(*platform::taskbarStrip(screen, QRect(60, 0, 1860, 1080))), Edge::Left);
    EXPECT_EQ(taskbarEdge(*platform::taskbarStrip(screen, QRect(0, 40, 1920, 1040))), Edge::Top);
    EXPECT_EQ(taskbarEdge(*platform::taskbarStrip(screen, QRect(0, 0, 1860, 1080))), Edge::Right);
    EXPECT_FALSE(platform::taskbarStrip(screen, screen));
}

}  // namespace
