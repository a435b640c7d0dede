#include "notify/PopupPlacement.h"

namespace notify {

Edge taskbarEdge(const platform::TaskbarRect& r) {
    Edge edge = Edge::None;
    if (r.top < 1 && r.left < 1) {
        if (r.right < r.bottom) edge = Edge::Left;
        if (r.right > r.bottom) edge = Edge::Top;
    }
    if (r.top < 1 && r.left > 0) edge = Edge::Right;
    if (r.left < 1 && r.top > 0) edge = Edge::Bottom;
    return edge;
}

std::optional<QPoint> popupPosition(const platform::TaskbarRect& r, QSize screen, QSize popup) {
    constexpr int kMargin = 6;
    switch (taskbarEdge(r)) {
        case Edge::Left:
            return QPoint(r.right + kMargin, screen.height() - popup.height() - kMargin);
        case Edge::Right:
            return QPoint(r.left - popup.width() - kMargin, screen.height() - popup.height() - kMargin);
        case Edge::Top:
            return QPoint(screen.width() - popup.width() - kMargin, r.bottom + kMargin);
        case Edge::Bottom:
            return QPoint(screen.width() - popup.width() - kMargin, r.top - popup.height() - kMargin);
        case Edge::None:
            break;
    }
    return std::nullopt;
}

}  // namespace notify
