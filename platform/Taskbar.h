#pragma once

#include <QRect>
#include <optional>

class QScreen;

namespace platform {

// The taskbar's rectangle in screen pixels as the window system reserves it: the strip of the screen
// outside its available area. Right and bottom are exclusive, as a window rectangle is. Empty when
// nothing is reserved.
struct TaskbarRect {
    int left, top, right, bottom;
};
std::optional<TaskbarRect> findTaskbar(const QScreen* screen);

// The strip itself, from the two rectangles; exposed for tests.
std::optional<TaskbarRect> taskbarStrip(const QRect& screen, const QRect& available);

}  // namespace platform
