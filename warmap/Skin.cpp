#include "warmap/Skin.h"

#include <QColor>
#include <QCoreApplication>
#include <QPainter>

#include "platform/Theme.h"

namespace warmap {

SkinResult loadSkin(const QString& programFolder, double devicePixelRatio, const platform::PictureCache* cache) {
    const QString folder = programFolder + QStringLiteral("/form/");
    Skin skin;
    const char* files[] = {"sys_close.bmp",     "sys_min.bmp",     "warmap.jpg",        "top_top_left.bmp",
                           "top_left_left.bmp", "top_top_top.bmp", "left_left_left.bmp"};
    std::optional<platform::Picture> pictures[7];
    for (int i = 0; i < 7; ++i) {
        pictures[i] = platform::Picture::load(folder + QString::fromLatin1(files[i]), devicePixelRatio,
                                              i == 2 ? &skin.mapPicture.encoded : nullptr, cache);
        if (!pictures[i])
            return base::Failure{QCoreApplication::translate("warmap::Skin", "Datei fehlt oder ist nicht lesbar: %1")
                                     .arg(folder + QString::fromLatin1(files[i]))};
    }
    auto& [close, minimise, map, corner, side, topTile, leftTile] = pictures;
    skin.closeButton = close->image();
    skin.minimiseButton = minimise->image();
    const qreal mapRatio = map->image().devicePixelRatio();
    skin.mapBackground = map->image()
                             .convertToFormat(QImage::Format_RGB32)
                             .scaled(qRound(map->roundedWidth() * mapRatio), qRound(map->roundedHeight() * mapRatio));
    skin.mapBackground.setDevicePixelRatio(mapRatio);
    skin.mapPicture.pixels = skin.mapBackground.size();
    skin.mapPicture.ratio = mapRatio;

    FrameLayout layout = layOutFrame({corner->width(), corner->height(), side->width(), side->height(),
                                      topTile->width(), leftTile->height(), map->roundedWidth(), map->roundedHeight()});
    if (layout.overflow)
        return base::Failure{
            QCoreApplication::translate("warmap::Skin", "Überlauf: die Bilder des Fensterrahmens in %1 sind zu groß")
                .arg(folder)};
    skin.frame.size = QSize(layout.width, layout.height);
    skin.frame.placements = std::move(layout.placements);
    // In FramePiece order.
    skin.frame.pieces = {std::move(*corner), std::move(*side), std::move(*topTile), std::move(*leftTile)};
    skin.mapLeft = layout.mapLeft;
    skin.mapTop = layout.mapTop;
    if (const auto icon =
            platform::Picture::load(folder + QStringLiteral("warmap.ico"), devicePixelRatio, nullptr, cache))
        skin.windowIcon = icon->image();
    return skin;
}

QImage MapPicture::decode() const {
    // As loadSkin: read by content, then the same conversion and size.
    QImage image = QImage::fromData(encoded);
    if (image.isNull()) return image;
    image = image.convertToFormat(QImage::Format_RGB32).scaled(pixels);
    image.setDevicePixelRatio(ratio);
    return image;
}

void drawFrame(QPainter& painter, const SkinFrame& frame) {
    painter.fillRect(QRect(QPoint(0, 0), frame.size), QColor(theme::kWood));
    for (const Placement& p : frame.placements) {
        frame.pieces[static_cast<std::size_t>(p.piece)].place(painter, p.at, p.mirror);
    }
}

}  // namespace warmap
