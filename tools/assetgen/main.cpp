// assetgen: draws all of Warmap's artwork and writes its keep-name catalogue.
//   assetgen DATA_DIR PACKAGING_DIR
// The popup's top picture is written as PNG; tools/generate-assets.sh turns it into the GIF the
// program loads (Qt cannot write GIF).
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "tools/assetgen/Artwork.h"
#include "tools/assetgen/MapPainter.h"

namespace {

bool saveIco(const QImage& picture, const QString& path);

bool save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    if (QByteArray(format) == "ico") return saveIco(image, path);
    QDir().mkpath(QFileInfo(path).path());
    QImageWriter writer(path, format);
    if (quality >= 0) writer.setQuality(quality);
    if (!writer.write(image)) {
        std::fprintf(stderr, "assetgen: cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

// A 32-bit icon file written byte by byte, so the same picture always gives the same file (Qt's
// writer leaves the mask's padding uninitialised).
bool saveIco(const QImage& picture, const QString& path) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    auto put16 = [&](int v) { out.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); };
    auto put32 = [&](quint32 v) { put16(int(v & 0xffff)), put16(int(v >> 16)); };
    const quint32 imageBytes = 40 + quint32(w * h * 4 + maskStride * h);
    put16(0), put16(1), put16(1);  // icon directory, one image
    out.append(char(w & 0xff)).append(char(h & 0xff)).append(char(0)).append(char(0));
    put16(1), put16(32), put32(imageBytes), put32(6 + 16);                     // planes, depth, size, offset
    put32(40), put32(quint32(w)), put32(quint32(h * 2)), put16(1), put16(32);  // bitmap header
    put32(0), put32(quint32(w * h * 4)), put32(0), put32(0), put32(0), put32(0);
    for (int y = h - 1; y >= 0; --y) {  // colours, bottom row first
        for (int x = 0; x < w; ++x) put32(image.pixel(x, y));
    }
    for (int y = h - 1; y >= 0; --y) {  // the mask: set where fully transparent
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(out) == out.size();
}

// A 256-colour icon (8 bits a pixel, a palette, and the 1-bit mask for transparency), as a window
// icon of the classic kind. A 16 x 16 picture has at most 256 colours, so the palette holds them
// exactly, in the order they first appear; pixels less than half opaque become transparent.
bool saveIco256(const QImage& picture, const QString& path) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    QList<QRgb> palette;
    QByteArray indices;
    for (int y = h - 1; y >= 0; --y) {  // bottom row first
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const QRgb colour = qAlpha(pixel) < 128 ? qRgb(0, 0, 0) : qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
            qsizetype index = palette.indexOf(colour);
            if (index < 0) {
                if (palette.size() == 256) return false;
                index = palette.size();
                palette.append(colour);
            }
            indices.append(char(index));
        }
        while (indices.size() % 4) indices.append('\0');  // rows end on four bytes
    }
    while (palette.size() < 256) palette.append(qRgb(0, 0, 0));
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    auto put16 = [&](int v) { out.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); };
    auto put32 = [&](quint32 v) { put16(int(v & 0xffff)), put16(int(v >> 16)); };
    const quint32 imageBytes = 40 + 256 * 4 + quint32(indices.size() + maskStride * h);
    put16(0), put16(1), put16(1);
    out.append(char(w & 0xff)).append(char(h & 0xff)).append(char(0)).append(char(0));  // 0: 256 colours
    put16(1), put16(8), put32(imageBytes), put32(6 + 16);
    put32(40), put32(quint32(w)), put32(quint32(h * 2)), put16(1), put16(8);
    put32(0), put32(quint32(indices.size() + maskStride * h)), put32(0), put32(0), put32(256), put32(0);
    for (QRgb colour : palette)
        out.append(char(qBlue(colour))).append(char(qGreen(colour))).append(char(qRed(colour))).append('\0');
    out.append(indices);
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(image.pixel(x, y)) < 128) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(out) == out.size();
}

// Invented places of the frontier; the keep of each area, then its four towers.
struct Area {
    const char* keep;
    const char* place;
};
constexpr Area kAreas[21] = {
    {"Caer Hrimvald", "Hrimvald"},     {"Ravensmoor Hold", "Ravensmoor"}, {"Fort Kestrelfen", "Kestrelfen"},
    {"Dunmarrow Keep", "Dunmarrow"},   {"Skarnholt", "Skarnholt"},        {"Brackenfold Keep", "Brackenfold"},
    {"Thornhallow", "Thornhallow"},    {"Dun Glaswen", "Glaswen"},        {"Caer Mirewood", "Mirewood"},
    {"Eldenford Keep", "Eldenford"},   {"Ashcombe Castle", "Ashcombe"},   {"Greywater Hold", "Greywater"},
    {"Wyrmgate", "Wyrmgate"},          {"Carrowdale Keep", "Carrowdale"}, {"Dun Saltmarsh", "Saltmarsh"},
    {"Oldbarrow Castle", "Oldbarrow"}, {"Duskwold Keep", "Duskwold"},     {"Frosthelm", "Frosthelm"},
    {"Isenmere Hall", "Isenmere"},     {"Hawksreach", "Hawksreach"},      {"Stormcrag Keep", "Stormcrag"},
};
constexpr const char* kTowerKinds[4] = {"Watch", "Spire", "Lookout", "Beacon"};

bool writeKeepNames(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray text = "; Names of the frontier's keeps and towers, by structure id.\r\n[keepnames]\r\n";
    for (int g = 0; g < 21; ++g) {
        text += QByteArray::number(5 * g) + "=" + kAreas[g].keep + "\r\n";
        for (int t = 0; t < 4; ++t) {
            text += QByteArray::number(5 * g + t + 1) + "=" + kAreas[g].place + " " + kTowerKinds[t] + "\r\n";
        }
    }
    return file.write(text) == text.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetgen DATA_DIR PACKAGING_DIR\n");
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    const QString packaging = QString::fromLocal8Bit(argv[2]);
    using namespace assetgen;
    bool ok = true;
    // Every picture also at twice its size, "name@2x.ext", for screens scaled to 150 % and more.
    for (int scale : {1, 2}) {
        const auto name = [&](const char* path) {
            QString file = data + QString::fromLatin1(path);
            if (scale > 1) file.insert(file.lastIndexOf('.'), QStringLiteral("@%1x").arg(scale));
            return file;
        };
        ok &= save(frontierMap(scale), name("/form/warmap.jpg"), "jpg", 92);
        ok &= save(frameCorner(scale), name("/form/top_top_left.bmp"), "bmp");
        ok &= save(frameSidePiece(scale), name("/form/top_left_left.bmp"), "bmp");
        ok &= save(frameTopTile(scale), name("/form/top_top_top.bmp"), "bmp");
        ok &= save(frameLeftTile(scale), name("/form/left_left_left.bmp"), "bmp");
        ok &= save(closeButton(scale), name("/form/sys_close.bmp"), "bmp");
        ok &= save(minimiseButton(scale), name("/form/sys_min.bmp"), "bmp");
        ok &= save(mapCornerOrnament(scale), name("/form/corner_topleft.ico"), "ico");
        // The window icon of the classic kind has 256 colours; twice the size needs more.
        ok &= scale == 1 ? saveIco256(windowIcon(16), name("/form/warmap.ico"))
                         : save(windowIcon(16 * scale), name("/form/warmap.ico"), "ico");
        ok &= save(splashTop(scale, QStringLiteral("WARMAP \u00b7 FRONTBERICHT")), name("/form/splash/top.png"), "png");
        ok &= save(splashTop(scale, QStringLiteral("WARMAP \u00b7 FRONTIER REPORT")), name("/form/splash/top_en.png"),
                   "png");
        ok &= save(splashMid(scale), name("/form/splash/mid.jpg"), "jpg", 92);
        ok &= save(splashBottom(scale), name("/form/splash/bottom.jpg"), "jpg", 92);
        ok &= save(rightArrow(scale), name("/symbols/rechts.ico"), "ico");
        const struct {
            Realm realm;
            const char* keep;
            const char* tower;
        } realms[] = {{Realm::Albion, "/symbols/keep_alb.ico", "/symbols/tower_alb.ico"},
                      {Realm::Midgard, "/symbols/keep_mid.ico", "/symbols/tower_mid.ico"},
                      {Realm::Hibernia, "/symbols/keep_hib.ico", "/symbols/tower_hib.ico"}};
        for (const auto& r : realms) {
            ok &= save(structureIcon(r.realm, true, scale), name(r.keep), "ico");
            ok &= save(structureIcon(r.realm, false, scale), name(r.tower), "ico");
        }
        ok &= save(unclaimedOverlay(true, scale), name("/symbols/keep_unclaimed.ico"), "ico");
        ok &= save(unclaimedOverlay(false, scale), name("/symbols/tower_unclaimed.ico"), "ico");
    }
    ok &= writeKeepNames(data + "/keepnames.ini");
    for (int size : {16, 32, 48, 64, 128}) {
        ok &= save(windowIcon(size), packaging + QString("/icons/%1x%1/warmap.png").arg(size), "png");
    }
    QDir().mkpath(packaging + "/icons/scalable");
    QFile svg(packaging + "/icons/scalable/warmap.svg");
    ok &= svg.open(QIODevice::WriteOnly) && svg.write(windowIconSvg()) > 0;
    return ok ? 0 : 1;
}
