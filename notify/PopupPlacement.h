#pragma once

#include <optional>

#include "platform/Taskbar.h"

namespace notify {

// Which screen edge the taskbar lies on: 0 none, 1 left, 2 right, 3 top, 4 bottom. "Less than 1"
// counts as touching the screen edge, so a bar reaching a little beyond the screen still counts.
int TaskbarEdge(const platform::TaskbarRect& r);

struct PointTwips {
    float left;
    float top;
};

// Where the popup goes, in twips, 6 pixels clear of the taskbar in the screen corner next to it.
// screenWidth/Height are the whole screen in twips; width/height the popup's. Empty for edge 0.
std::optional<PointTwips> PopupPosition(const platform::TaskbarRect& r, float screenWidth, float screenHeight,
                                        float width, float height, float twipsX, float twipsY);

}  // namespace notify
