#include "warmap/Skin.h"

#include <QColor>
#include <QPainter>

#include "platform/Theme.h"

namespace warmap {

SkinResult LoadSkin(const QString& programFolder, double devicePixelRatio) {
    const QString folder = programFolder + QStringLiteral("/form/");
    Skin skin;
    const char* files[] = {"sys_close.bmp",     "sys_min.bmp",     "warmap.jpg",        "top_top_left.bmp",
                           "top_left_left.bmp", "top_top_top.bmp", "left_left_left.bmp"};
    std::optional<platform::Picture> pictures[7];
    for (int i = 0; i < 7; ++i) {
        pictures[i] = platform::Picture::Load(folder + QString::fromLatin1(files[i]), devicePixelRatio);
        if (!pictures[i])
            return base::Failure{QStringLiteral("Datei fehlt oder ist nicht lesbar: ") + folder +
                                 QString::fromLatin1(files[i])};
    }
    auto& [close, minimise, map, corner, side, topTile, leftTile] = pictures;
    skin.closeButton = close->Image();
    skin.minimiseButton = minimise->Image();
    const qreal mapRatio = map->Image().devicePixelRatio();
    skin.mapBackground = map->Image()
                             .convertToFormat(QImage::Format_RGB32)
                             .scaled(qRound(map->RoundedWidth() * mapRatio), qRound(map->RoundedHeight() * mapRatio));
    skin.mapBackground.setDevicePixelRatio(mapRatio);

    FrameLayout layout =
        LayOutFrame({corner->Width(), corner->Height(), side->Width(), side->Height(), topTile->Width(),
                     leftTile->Height(), map->RoundedWidth(), map->RoundedHeight()});
    if (layout.overflow)
        return base::Failure{QStringLiteral("\u00dcberlauf: die Bilder des Fensterrahmens in ") + folder +
                             QStringLiteral(" sind zu gro\u00df")};
    skin.frame.size = QSize(layout.width, layout.height);
    skin.frame.placements = std::move(layout.placements);
    // In FramePiece order.
    skin.frame.pieces = {std::move(*corner), std::move(*side), std::move(*topTile), std::move(*leftTile)};
    skin.mapLeft = layout.mapLeft;
    skin.mapTop = layout.mapTop;
    if (const auto icon = platform::Picture::Load(folder + QStringLiteral("warmap.ico"), devicePixelRatio))
        skin.windowIcon = icon->Image();
    return skin;
}

void DrawFrame(QPainter& painter, const SkinFrame& frame) {
    painter.fillRect(QRect(QPoint(0, 0), frame.size), QColor(theme::kWood));
    for (const Placement& p : frame.placements) {
        frame.pieces[static_cast<std::size_t>(p.piece)].Place(painter, p.at, p.mirror);
    }
}

}  // namespace warmap
