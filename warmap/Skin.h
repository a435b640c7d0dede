#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "base/Result.h"
#include "platform/Picture.h"
#include "warmap/FrameLayout.h"

class QPainter;

namespace warmap {

// The frame around the map: its pieces and where they go. It is drawn straight onto the window when
// that paints, so no window-sized picture of it is composed or kept.
struct SkinFrame {
    QSize size;                             // the whole drawing area, map area included
    std::vector<Placement> placements;      // in drawing order
    std::vector<platform::Picture> pieces;  // indexed by FramePiece
};

// The map picture as its file holds it, and how it becomes the map background again: the window keeps
// these few dozen KiB between drawings rather than a decoded megabyte (four at twice the size).
struct MapPicture {
    QByteArray encoded;
    QSize pixels;  // of the background loadSkin made
    qreal ratio = 1.0;
    // That background again, pixel for pixel; null when nothing was kept.
    QImage decode() const;
};

// The Warmap window's pictures, read and laid out: button faces, the map background, the frame and the
// window icon. Only files and image arithmetic, no widget, so start-up can do it on another thread
// while the window is being built.
struct Skin {
    QImage closeButton, minimiseButton;  // draw at their device-independent size
    QImage mapBackground;                // the map picture at its natural size (device-independent)
    MapPicture mapPicture;               // the same, to decode again
    SkinFrame frame;
    int mapLeft = 0, mapTop = 0;
    std::optional<QImage> windowIcon;
};

// The skin, or why it cannot be used, as the user is told (a picture missing or unreadable, or sizes
// beyond 16 bits).
using SkinResult = base::Result<Skin, QString>;

// Reads form/ of the program's folder, at twice the size for a device pixel ratio of 1.5 or more.
SkinResult loadSkin(const QString& programFolder, double devicePixelRatio = 1.0,
                    const platform::PictureCache* cache = nullptr);

// Paints the frame: the window's own colour wherever the skin leaves a gap, then every piece.
void drawFrame(QPainter& painter, const SkinFrame& frame);

}  // namespace warmap
