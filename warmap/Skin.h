#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace warmap {

// The Warmap window's pictures, read and composed: button faces, the map background, the frame with
// its pieces laid out around the map, and the window icon. Only files and image arithmetic, no widget,
// so start-up can do it on another thread while the window is being built.
struct Skin {
    std::optional<QString> missing;  // the picture that is missing or unreadable; nothing else is set then
    QImage closeButton, minimiseButton;
    QImage mapBackground;  // the map picture at its natural size
    QImage frame;          // the whole drawing area, map area left for the map view
    int mapLeft = 0, mapTop = 0;
    std::optional<QImage> windowIcon;
};

// Reads form/ of the program's folder.
Skin LoadSkin(const QString& programFolder);

}  // namespace warmap
