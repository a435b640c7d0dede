#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <functional>
#include <set>

#include <sys/stat.h>

#include "platform/Picture.h"
#include "platform/PictureCache.h"
#include "tests/support/TempDir.h"

namespace {

// 16 x 16, every pixel different, so any mirror or shift shows.
QImage asymmetric() {
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) image.setPixelColor(x, y, QColor(x * 16, y * 16, 100));
    }
    return image;
}

QImage place(int mode) {
    QImage surface(40, 40, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    platform::Picture(asymmetric()).place(painter, QPoint(5, 7), static_cast<platform::Mirror>(mode));
    return surface;
}

QRect covered(const QImage& surface) {
    QRect box;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            if (surface.pixelColor(x, y) != QColor(Qt::white)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

TEST(PlacePicture, ModesCoverTheDocumentedRectangles) {
    EXPECT_EQ(covered(place(0)), QRect(QPoint(5, 7), QPoint(20, 22)));
    EXPECT_EQ(covered(place(1)), QRect(QPoint(5, 7), QPoint(20, 22)));
    EXPECT_EQ(covered(place(2)), QRect(QPoint(5, 7), QPoint(20, 22)));
    EXPECT_EQ(covered(place(3)), QRect(QPoint(5, 7), QPoint(21, 23)));
}

TEST(PlacePicture, ModesMirrorTheRightAxis) {
    const QImage picture = asymmetric();
    EXPECT_EQ(place(0).copy(5, 7, 16, 16), picture);
    EXPECT_EQ(place(1).copy(5, 7, 16, 16), picture.mirrored(true, false));
    EXPECT_EQ(place(2).copy(5, 7, 16, 16), picture.mirrored(false, true));
    const QImage both = place(3);
    EXPECT_EQ(both.pixelColor(5, 7), picture.pixelColor(15, 15));
    EXPECT_EQ(both.pixelColor(21, 23), picture.pixelColor(0, 0));
}

// What the map's icon positions stand on: a picture measures a little more or less than its pixels,
// which leaves every rounded size as it is but makes the half of these even widths one less (a 16-pixel
// icon's centre is 7 pixels in, not 8). Pinned for the widths around the program's 16-, 40- and
// 64-pixel pictures.
TEST(Picture, MeasuresAsThePositionsOnTheMapExpect) {
    const std::set<int> halfIsOneLess = {14, 16, 18, 20, 22, 36, 38, 40, 42, 44, 46, 62, 64};
    for (const auto& [from, to] : {std::pair(12, 23), std::pair(34, 47), std::pair(60, 65)}) {
        for (int pixels = from; pixels <= to; ++pixels) {
            const double measure = platform::measuredPixels(pixels);
            EXPECT_EQ(std::lround(measure), pixels) << pixels;
            EXPECT_EQ(static_cast<int>(std::floor(measure / 2)), pixels / 2 - (halfIsOneLess.count(pixels) ? 1 : 0))
                << pixels;
        }
    }
    const platform::Picture icon(asymmetric());
    EXPECT_EQ(icon.width(), platform::measuredPixels(16));
    EXPECT_NEAR(icon.width(), 15.987, 0.0005);
    EXPECT_EQ(icon.roundedWidth(), 16);
    EXPECT_FALSE(platform::Picture::load("/nonexistent.ico"));
}

TEST(Picture, TheContentDecidesAndOnlyRegularFilesAreRead) {
    const QString form = QStringLiteral(WARMAP_DATA_DIR "/form/");
    EXPECT_EQ(platform::Picture::load(form + "warmap.jpg")->image().size(), QSize(448, 560));
    EXPECT_EQ(platform::Picture::load(form + "warmap.ico")->image().size(), QSize(16, 16));
    EXPECT_TRUE(platform::Picture::load(form + "splash/top.gif"));

    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    // A bitmap under a JPEG's name is still a bitmap; a link to a picture is that picture.
    ASSERT_TRUE(QFile::copy(form + "sys_close.bmp", folder + "button.jpg"));
    EXPECT_EQ(platform::Picture::load(folder + "button.jpg")->image().size(), QSize(17, 17));
    ASSERT_TRUE(QFile::link(form + "warmap.jpg", folder + "link.jpg"));
    EXPECT_EQ(platform::Picture::load(folder + "link.jpg")->image().size(), QSize(448, 560));

    // Unknown bytes, a folder, a FIFO nobody writes to (opening it must not wait) and a device are none.
    QFile garbage(folder + "garbage.bmp");
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is no bitmap");
    garbage.close();
    EXPECT_FALSE(platform::Picture::load(folder + "garbage.bmp"));
    ASSERT_TRUE(QDir(folder).mkdir("folder.bmp"));
    EXPECT_FALSE(platform::Picture::load(folder + "folder.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "fifo.jpg").constData(), 0600), 0);
    EXPECT_FALSE(platform::Picture::load(folder + "fifo.jpg"));
    EXPECT_FALSE(platform::Picture::load("/dev/zero"));
}

// Decoded once, a picture comes from the cache while its file holds the same bytes: the same pixels at
// either size. Another picture in the file's place, or anything wrong with the entry, is a miss, at once.
TEST(Picture, TheCacheAnswersOnlyForTheBytesItDecoded) {
    QTemporaryDir dir;
    const QString form = QStringLiteral(WARMAP_DATA_DIR "/form/");
    ASSERT_TRUE(QDir(dir.path()).mkdir("all"));
    const platform::PictureCache all((dir.path() + "/all").toStdString());
    for (const char* name : {"warmap.jpg", "warmap.ico", "sys_close.bmp", "corner_topleft.ico"}) {
        for (double ratio : {1.0, 2.0}) {
            const QImage decoded = platform::Picture::load(form + name, ratio)->image();
            for (int round = 0; round < 2; ++round) {
                const auto picture = platform::Picture::load(form + name, ratio, nullptr, &all);
                ASSERT_TRUE(picture) << name;
                EXPECT_EQ(picture->image(), decoded) << name << " at " << ratio << ", round " << round;
                EXPECT_EQ(picture->image().devicePixelRatio(), decoded.devicePixelRatio()) << name;
            }
        }
    }

    // One picture, one entry; an entry whose pixels say otherwise is believed: it is the cache that answers.
    const QString icon = dir.path() + "/icon.ico";
    ASSERT_TRUE(QFile::copy(form + "warmap.ico", icon));
    ASSERT_TRUE(QDir(dir.path()).mkdir("one"));
    const std::string folder = (dir.path() + "/one").toStdString();
    const platform::PictureCache cache(folder);
    const QImage original = platform::Picture::load(icon, 1.0, nullptr, &cache)->image();
    const std::string entry = std::filesystem::directory_iterator(folder)->path().string();
    const std::string kept = testing_support::readFile(entry);
    const auto rewrite = [&entry](const std::string& bytes) {
        std::filesystem::remove(entry);
        testing_support::writeFile(entry, bytes);
    };
    std::string told = kept;
    told[told.size() - 2] = static_cast<char>(~told[told.size() - 2]);
    rewrite(told);
    EXPECT_NE(platform::Picture::load(icon, 1.0, nullptr, &cache)->image(), original);

    const std::pair<const char*, std::function<void()>> misses[] = {
        {"cut short", [&] { rewrite(kept.substr(0, kept.size() - 1)); }},
        {"bytes after it", [&] { rewrite(kept + "x"); }},
        {"a FIFO in its place",
         [&] {
             std::filesystem::remove(entry);
             ASSERT_EQ(::mkfifo(entry.c_str(), 0600), 0);
         }},
        {"another picture in the file's place",
         [&] {
             rewrite(kept);
             ASSERT_TRUE(QFile::remove(icon) && QFile::copy(form + "corner_topleft.ico", icon));
         }},
    };
    for (const auto& [what, make] : misses) {
        make();
        const QImage expected = platform::Picture::load(icon)->image();
        EXPECT_EQ(platform::Picture::load(icon, 1.0, nullptr, &cache)->image(), expected) << what;
    }
}

// On a screen scaled to 150 % and more, "name@2x.ext" is read instead, measuring as the plain picture;
// at 100 %, or when it is not exactly twice the size, or without the plain picture, it is not.
TEST(Picture, ReadsTheDoubleSizeOnlyWhereItFitsTheScreenAndThePlainPicture) {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    const auto solid = [](int w, int h, Qt::GlobalColor colour) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    };
    ASSERT_TRUE(solid(16, 12, Qt::red).save(folder + "plain.bmp", "bmp"));
    ASSERT_TRUE(solid(32, 24, Qt::blue).save(folder + "plain@2x.bmp", "bmp"));
    ASSERT_TRUE(solid(16, 12, Qt::red).save(folder + "odd.bmp", "bmp"));
    ASSERT_TRUE(solid(33, 24, Qt::blue).save(folder + "odd@2x.bmp", "bmp"));
    ASSERT_TRUE(solid(32, 24, Qt::blue).save(folder + "alone@2x.bmp", "bmp"));
    const struct {
        const char* file;
        double ratio;
        bool loaded;
        QColor colour;
        qreal pictureRatio;
    } cases[] = {
        {"plain.bmp", 1.0, true, Qt::red, 1.0},  {"plain.bmp", 1.49, true, Qt::red, 1.0},
        {"plain.bmp", 1.5, true, Qt::blue, 2.0}, {"plain.bmp", 3.0, true, Qt::blue, 2.0},
        {"odd.bmp", 2.0, true, Qt::red, 1.0},    {"alone.bmp", 2.0, false, {}, 0},
    };
    for (const auto& c : cases) {
        const auto picture = platform::Picture::load(folder + c.file, c.ratio);
        ASSERT_EQ(picture.has_value(), c.loaded) << c.file << " at " << c.ratio;
        if (!picture) continue;
        EXPECT_EQ(picture->image().pixelColor(0, 0), c.colour) << c.file << " at " << c.ratio;
        EXPECT_EQ(picture->image().devicePixelRatio(), c.pictureRatio);
        EXPECT_EQ(picture->width(), platform::measuredPixels(16)) << "measures as the plain picture";
        EXPECT_EQ(picture->roundedHeight(), 12);
    }
}

// Drawn onto a surface with twice the pixels, the double-size picture lands pixel for pixel where the
// plain one lands at its own size, in every placement mode.
TEST(PlacePicture, TheDoubleSizePictureFillsTheSameRectangleAtTwiceTheDetail) {
    QImage big(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) big.setPixelColor(x, y, QColor(x * 8, y * 8, 100));
    }
    big.setDevicePixelRatio(2.0);
    for (int mode = 0; mode < 4; ++mode) {
        QImage surface(80, 80, QImage::Format_RGB32);
        surface.setDevicePixelRatio(2.0);
        surface.fill(Qt::white);
        {
            QPainter painter(&surface);
            platform::Picture(big).place(painter, QPoint(5, 7), static_cast<platform::Mirror>(mode));
        }
        surface.setDevicePixelRatio(1.0);
        const QRect plain = covered(place(mode));
        EXPECT_EQ(covered(surface), QRect(plain.topLeft() * 2, plain.size() * 2)) << "mode " << mode;
    }
    QImage surface(80, 80, QImage::Format_RGB32);
    surface.setDevicePixelRatio(2.0);
    {
        QPainter painter(&surface);
        platform::Picture(big).draw(painter, QPoint(5, 7));
    }
    EXPECT_EQ(surface.copy(10, 14, 32, 32).convertToFormat(QImage::Format_RGB32),
              big.copy().convertToFormat(QImage::Format_RGB32))
        << "upright, one image pixel to one screen pixel";
}

}  // namespace
