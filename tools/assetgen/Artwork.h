#pragma once

#include <QByteArray>
#include <QImage>

namespace assetgen {

enum class Realm { Albion, Midgard, Hibernia };

// Every picture is drawn in its own pixel grid; scale 2 draws the same picture at twice the size for
// screens scaled to 150 % and more, with the detail that size allows (noise, curves and text are
// sampled or painted finer, one-pixel lines become two pixels wide). Scale 1 is the picture itself.

// Frame and chrome of the Warmap window.
QImage FrameCorner(int scale = 1);        // top_top_left.bmp
QImage FrameSidePiece(int scale = 1);     // top_left_left.bmp
QImage FrameTopTile(int scale = 1);       // top_top_top.bmp
QImage FrameLeftTile(int scale = 1);      // left_left_left.bmp
QImage CloseButton(int scale = 1);        // sys_close.bmp
QImage MinimiseButton(int scale = 1);     // sys_min.bmp
QImage MapCornerOrnament(int scale = 1);  // corner_topleft.ico
QImage WindowIcon(int size);
QByteArray WindowIconSvg();

// Keep and tower icons, 16 x 16 with transparency.
QImage StructureIcon(Realm realm, bool keep, int scale = 1);
QImage UnclaimedOverlay(bool keep, int scale = 1);

// The popup skin and its arrow.
QImage SplashTop(int scale = 1);
QImage SplashMid(int scale = 1);
QImage SplashBottom(int scale = 1);
QImage RightArrow(int scale = 1);

}  // namespace assetgen
