#pragma once

#include <QImage>

namespace assetgen {

enum class Realm { Albion, Midgard, Hibernia };

// Frame and chrome of the Warmap window.
QImage FrameCorner();        // top_top_left.bmp
QImage FrameSidePiece();     // top_left_left.bmp
QImage FrameTopTile();       // top_top_top.bmp
QImage FrameLeftTile();      // left_left_left.bmp
QImage CloseButton();        // sys_close.bmp
QImage MinimiseButton();     // sys_min.bmp
QImage MapCornerOrnament();  // corner_topleft.ico
QImage WindowIcon(int size);

// Keep and tower icons, 16 x 16 with transparency.
QImage StructureIcon(Realm realm, bool keep);
QImage UnclaimedOverlay(bool keep);

// The popup skin and its arrow.
QImage SplashTop();
QImage SplashMid();
QImage SplashBottom();
QImage RightArrow();

}  // namespace assetgen
