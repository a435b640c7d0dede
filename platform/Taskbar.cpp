#include "platform/Taskbar.h"

#include <QScreen>

namespace platform {

std::optional<TaskbarRect> taskbarStrip(const QRect& s, const QRect& a) {
    const int right = s.x() + s.width();
    const int bottom = s.y() + s.height();
    const int availRight = a.x() + a.width();
    const int availBottom = a.y() + a.height();
    if (availBottom < bottom) return TaskbarRect{s.x(), availBottom, right, bottom};
    if (a.y() > s.y()) return TaskbarRect{s.x(), s.y(), right, a.y()};
    if (a.x() > s.x()) return TaskbarRect{s.x(), s.y(), a.x(), bottom};
    if (availRight < right) return TaskbarRect{availRight, s.y(), right, bottom};
    return std::nullopt;
}

std::optional<TaskbarRect> findTaskbar(const QScreen* screen) {
    if (!screen) return std::nullopt;
    return taskbarStrip(screen->geometry(), screen->availableGeometry());
}

}  // namespace platform
