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

std::optional<QPoint> PopupPosition(const platform::TaskbarRect& r, QSize screen, QSize popup) {
    constexpr int kMargin = 6;
    switch (TaskbarEdge(r)) {
        case 1:
            return QPoint(r.right + kMargin, screen.height() - popup.height() - kMargin);
        case 2:
            return QPoint(r.left - popup.width() - kMargin, screen.height() - popup.height() - kMargin);
        case 3:
            return QPoint(screen.width() - popup.width() - kMargin, r.bottom + kMargin);
        case 4:
            return QPoint(screen.width() - popup.width() - kMargin, r.top - popup.height() - kMargin);
        default:
            return std::nullopt;
    }
}

}  // namespace notify
