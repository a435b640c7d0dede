#include "warmap/Skin.h"

#include <QColor>
#include <QPainter>

#include "platform/Picture.h"
#include "platform/PlacePicture.h"
#include "warmap/FrameLayout.h"

namespace warmap {

Skin LoadSkin(const QString& programFolder) {
    const QString folder = programFolder + QStringLiteral("/form/");
    Skin skin;
    const char* files[] = {"sys_close.bmp",     "sys_min.bmp",     "warmap.jpg",        "top_top_left.bmp",
                           "top_left_left.bmp", "top_top_top.bmp", "left_left_left.bmp"};
    std::optional<platform::Picture> pictures[7];
    for (int i = 0; i < 7; ++i) {
        pictures[i] = platform::Picture::Load(folder + QString::fromLatin1(files[i]));
        if (!pictures[i]) {
            skin.missing = folder + QString::fromLatin1(files[i]);
            return skin;
        }
    }
    auto& [close, minimise, map, corner, side, topTile, leftTile] = pictures;
    skin.closeButton = close->Image();
    skin.minimiseButton = minimise->Image();
    skin.mapBackground =
        map->Image().convertToFormat(QImage::Format_RGB32).scaled(map->RoundedWidth(), map->RoundedHeight());

    const FrameLayout layout =
        LayOutFrame({corner->HiMetricWidth(), corner->HiMetricHeight(), side->HiMetricWidth(), side->HiMetricHeight(),
                     topTile->HiMetricWidth(), leftTile->HiMetricHeight(), map->RoundedWidth(), map->RoundedHeight()});
    skin.frame = QImage(layout.width, layout.height, QImage::Format_RGB32);
    skin.frame.fill(QColor(46, 30, 20));  // the window's own colour, wherever the skin leaves a gap
    QPainter painter(&skin.frame);
    for (const Placement& p : layout.placements) {
        const platform::Picture& piece = p.piece == FramePiece::Corner      ? *corner
                                         : p.piece == FramePiece::SidePiece ? *side
                                         : p.piece == FramePiece::TopTile   ? *topTile
                                                                            : *leftTile;
        platform::PlacePicture(painter, piece, static_cast<std::int16_t>(p.x), static_cast<std::int16_t>(p.y),
                               static_cast<std::int16_t>(p.mode));
    }
    skin.mapLeft = layout.mapLeft;
    skin.mapTop = layout.mapTop;
    if (const auto icon = platform::Picture::Load(folder + QStringLiteral("warmap.ico")))
        skin.windowIcon = icon->Image();
    return skin;
}

}  // namespace warmap
