#pragma once

#include <QImage>

namespace assetgen {

// The 448 x 560 frontier map: terrain, rivers, roads between neighbouring keeps, the three realms
// faintly tinted, and a quiet panel at the top left where the window puts its controls. Scale 2 draws
// it at twice the size.
QImage frontierMap(int scale = 1);

}  // namespace assetgen
