#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "notify/Fader.h"

namespace {

TEST(Fader, AlphaOutsideTheRangeChangesNothing) {
    QWidget window;
    window.show();
    window.setWindowOpacity(0.5);
    const double before = window.windowOpacity();
    for (int alpha : {256, -1}) {
        EXPECT_EQ(notify::setWindowAlpha(&window, alpha), notify::AlphaResult::OutOfRange);
        EXPECT_DOUBLE_EQ(window.windowOpacity(), before);
    }
    EXPECT_EQ(notify::setWindowAlpha(&window, 0), notify::AlphaResult::Applied);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(notify::setWindowAlpha(nullptr, 0), notify::AlphaResult::NoWindow);
}

// A popup hidden while no compositor ran must still be seen once a compositor shows opacity (the
// offscreen platform does): every alpha above 0 maps it.
TEST(Fader, AnyVisibleAlphaShowsAHiddenWindow) {
    QWidget window;
    window.show();
    window.hide();
    int alpha = 1;
    notify::setWindowAlpha(&window, alpha);
    EXPECT_TRUE(window.isVisible());
    alpha = 0;
    notify::setWindowAlpha(&window, alpha);
    EXPECT_TRUE(window.isVisible());  // opacity is shown here: transparent, but mapped
}

TEST(Fader, TransparentWindowsLetClicksThrough) {
    QWidget window;
    window.show();
    int alpha = 0;
    notify::setWindowAlpha(&window, alpha);
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    alpha = 1;
    notify::setWindowAlpha(&window, alpha);
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
}

TEST(Fader, FadesEndOpaqueAndTransparent) {
    QWidget window;
    window.show();
    double seenDuringFade = -1;
    QTimer::singleShot(0, &window, [&] { seenDuringFade = window.windowOpacity(); });
    notify::fadeIn(&window);
    EXPECT_DOUBLE_EQ(seenDuringFade, 0.0);  // events ran before the steps, at alpha 0
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);

    int alpha = 0;
    notify::setWindowAlpha(&window, alpha);
    QTimer::singleShot(0, &window, [&] { seenDuringFade = window.windowOpacity(); });
    notify::fadeOut(&window);
    EXPECT_DOUBLE_EQ(seenDuringFade, 1.0);  // a fade-out always starts from opaque
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
}

}  // namespace
