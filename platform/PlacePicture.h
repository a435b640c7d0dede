#pragma once

#include <QPoint>

class QPainter;

namespace platform {

class Picture;

// How a placed picture is turned: as drawn, mirrored left to right, top to bottom, or both ways. The
// frame's corners and sides use one each.
enum class Mirror { None, LeftRight, TopBottom, Both };

// Draws a picture at its natural size with its top-left corner at the point, in logical pixels.
// LeftRight and TopBottom cover the same pixels as None; Both covers one pixel more each way.
void PlacePicture(QPainter& painter, const Picture& picture, QPoint at, Mirror mirror);

}  // namespace platform
