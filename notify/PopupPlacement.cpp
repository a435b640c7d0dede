#include "notify/PopupPlacement.h"

namespace notify {

int TaskbarEdge(const platform::TaskbarRect& r) {
    int edge = 0;
    if (r.top < 1 && r.left < 1) {
        if (r.right < r.bottom) edge = 1;
        if (r.right > r.bottom) edge = 3;
    }
    if (r.top < 1 && r.left > 0) edge = 2;
    if (r.left < 1 && r.top > 0) edge = 4;
    return edge;
}

std::optional<PointTwips> PopupPosition(const platform::TaskbarRect& r, float screenWidth, float screenHeight,
                                        float width, float height, float twipsX, float twipsY) {
    const float margin = 6.0f * twipsX;
    switch (TaskbarEdge(r)) {
        case 1:
            return PointTwips{r.right * twipsY + margin, screenHeight - height - margin};
        case 2:
            return PointTwips{r.left * twipsY - width - margin, screenHeight - height - margin};
        case 3:
            return PointTwips{screenWidth - width - margin, r.bottom * twipsY + margin};
        case 4:
            return PointTwips{screenWidth - width - margin, r.top * twipsY - height - margin};
        default:
            return std::nullopt;
    }
}

}  // namespace notify
