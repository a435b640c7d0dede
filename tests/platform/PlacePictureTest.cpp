#include <gtest/gtest.h>

#include <QPainter>

#include "platform/Picture.h"
#include "platform/PlacePicture.h"

namespace {

// 16 x 16, every pixel different, so any mirror or shift shows.
QImage Asymmetric() {
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) image.setPixelColor(x, y, QColor(x * 16, y * 16, 100));
    }
    return image;
}

QImage Place(int mode) {
    QImage surface(40, 40, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    platform::PlacePicture(painter, platform::Picture(Asymmetric()), 5, 7, static_cast<std::int16_t>(mode));
    return surface;
}

QRect Covered(const QImage& surface) {
    QRect box;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            if (surface.pixelColor(x, y) != QColor(Qt::white)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

TEST(PlacePicture, ModesCoverTheDocumentedRectangles) {
    EXPECT_EQ(Covered(Place(0)), QRect(QPoint(5, 7), QPoint(20, 22)));
    EXPECT_EQ(Covered(Place(1)), QRect(QPoint(5, 7), QPoint(20, 22)));
    EXPECT_EQ(Covered(Place(2)), QRect(QPoint(5, 7), QPoint(20, 22)));
    EXPECT_EQ(Covered(Place(3)), QRect(QPoint(5, 7), QPoint(21, 23)));
    EXPECT_TRUE(Covered(Place(4)).isNull());
    EXPECT_TRUE(Covered(Place(-1)).isNull());
}

TEST(PlacePicture, ModesMirrorTheRightAxis) {
    const QImage picture = Asymmetric();
    EXPECT_EQ(Place(0).copy(5, 7, 16, 16), picture);
    EXPECT_EQ(Place(1).copy(5, 7, 16, 16), picture.mirrored(true, false));
    EXPECT_EQ(Place(2).copy(5, 7, 16, 16), picture.mirrored(false, true));
    const QImage both = Place(3);
    EXPECT_EQ(both.pixelColor(5, 7), picture.pixelColor(15, 15));
    EXPECT_EQ(both.pixelColor(21, 23), picture.pixelColor(0, 0));
}

TEST(Picture, SizesGoThroughHiMetric) {
    const platform::Picture icon(Asymmetric());
    EXPECT_EQ(icon.HiMetricWidth(), 423);
    EXPECT_NEAR(icon.Width(), 15.99, 0.005);
    EXPECT_EQ(icon.RoundedWidth(), 16);
    EXPECT_FALSE(platform::Picture::Load("/nonexistent.ico"));
}

}  // namespace
