#pragma once

#include <cstdint>

class QPainter;

namespace platform {

class Picture;

// Draws a picture at its natural size with its top-left corner at (x, y): mode 0 upright, 1 mirrored
// left to right, 2 mirrored top to bottom, 3 mirrored both ways and one pixel wider and taller. Modes
// 1 and 2 cover the same pixels as mode 0. Any other mode draws nothing.
void PlacePicture(QPainter& painter, const Picture& picture, std::int16_t x, std::int16_t y, std::int16_t mode);

}  // namespace platform
