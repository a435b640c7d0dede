#pragma once

#include <QByteArray>
#include <QImage>

namespace assetgen {

enum class Realm { Albion, Midgard, Hibernia };

// Every picture is drawn in its own pixel grid; scale 2 draws the same picture at twice the size for
// screens scaled to 150 % and more, with the detail that size allows (noise, curves and text are
// sampled or painted finer, one-pixel lines become two pixels wide). Scale 1 is the picture itself.

// Frame and chrome of the Warmap window.
QImage frameCorner(int scale = 1);        // top_top_left.bmp
QImage frameSidePiece(int scale = 1);     // top_left_left.bmp
QImage frameTopTile(int scale = 1);       // top_top_top.bmp
QImage frameLeftTile(int scale = 1);      // left_left_left.bmp
QImage closeButton(int scale = 1);        // sys_close.bmp
QImage minimiseButton(int scale = 1);     // sys_min.bmp
QImage mapCornerOrnament(int scale = 1);  // corner_topleft.ico
QImage windowIcon(int size);
QByteArray windowIconSvg();

// Keep and tower icons, 16 x 16 with transparency.
QImage structureIcon(Realm realm, bool keep, int scale = 1);
QImage unclaimedOverlay(bool keep, int scale = 1);

// The popup skin and its arrow.
// The popup's header carries its caption: one picture per language ("top.gif", "top_en.gif").
QImage splashTop(int scale, const QString& caption);
QImage splashMid(int scale = 1);
QImage splashBottom(int scale = 1);
QImage rightArrow(int scale = 1);

}  // namespace assetgen
