#pragma once

#include <QPoint>
#include <QSize>
#include <optional>

#include "platform/Taskbar.h"

namespace notify {

// Which screen edge the taskbar lies on: 0 none, 1 left, 2 right, 3 top, 4 bottom. "Less than 1"
// counts as touching the screen edge, so a bar reaching a little beyond the screen still counts.
int TaskbarEdge(const platform::TaskbarRect& r);

// Where the popup's top left corner goes, in logical pixels: 6 pixels clear of the taskbar, in the
// screen corner next to it. Empty for edge 0.
std::optional<QPoint> PopupPosition(const platform::TaskbarRect& r, QSize screen, QSize popup);

}  // namespace notify
