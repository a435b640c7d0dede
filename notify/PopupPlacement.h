#pragma once

#include <QPoint>
#include <QSize>
#include <optional>

#include "platform/Taskbar.h"

namespace notify {

// The screen edge a taskbar lies on; None for one that touches no edge as a bar does.
enum class Edge { None, Left, Right, Top, Bottom };

// Which screen edge the taskbar lies on. "Less than 1" counts as touching the screen edge, so a bar
// reaching a little beyond the screen still counts.
Edge taskbarEdge(const platform::TaskbarRect& r);

// Where the popup's top left corner goes, in logical pixels: 6 pixels clear of the taskbar, in the
// screen corner next to it. Empty for Edge::None.
std::optional<QPoint> popupPosition(const platform::TaskbarRect& r, QSize screen, QSize popup);

}  // namespace notify
