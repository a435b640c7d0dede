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
    for (std::int16_t alpha : {std::int16_t(256), std::int16_t(-1)}) {
        EXPECT_EQ(notify::SetWindowAlpha(&window, alpha), 1);
        EXPECT_DOUBLE_EQ(window.windowOpacity(), before);
    }
    std::int16_t zero = 0;
    EXPECT_EQ(notify::SetWindowAlpha(&window, zero), 0);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(notify::SetWindowAlpha(nullptr, zero), 2);
}

// A popup hidden while no compositor ran must still be seen once a compositor shows opacity (the
// offscreen platform does): every alpha above 0 maps it.
TEST(Fader, AnyVisibleAlphaShowsAHiddenWindow) {
    QWidget window;
    window.show();
    window.hide();
    std::int16_t alpha = 1;
    notify::SetWindowAlpha(&window, alpha);
    EXPECT_TRUE(window.isVisible());
    alpha = 0;
    notify::SetWindowAlpha(&window, alpha);
    EXPECT_TRUE(window.isVisible());  // opacity is shown here: transparent, but mapped
}

TEST(Fader, TransparentWindowsLetClicksThrough) {
    QWidget window;
    window.show();
    std::int16_t alpha = 0;
    notify::SetWindowAlpha(&window, alpha);
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    alpha = 1;
    notify::SetWindowAlpha(&window, alpha);
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
}

TEST(Fader, FadesEndOpaqueAndTransparent) {
    QWidget window;
    window.show();
    double seenDuringFade = -1;
    QTimer::singleShot(0, &window, [&] { seenDuringFade = window.windowOpacity(); });
    notify::FadeIn(&window);
    EXPECT_DOUBLE_EQ(seenDuringFade, 0.0);  // events ran before the steps, at alpha 0
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);

    std::int16_t alpha = 0;
    notify::SetWindowAlpha(&window, alpha);
    QTimer::singleShot(0, &window, [&] { seenDuringFade = window.windowOpacity(); });
    notify::FadeOut(&window);
    EXPECT_DOUBLE_EQ(seenDuringFade, 1.0);  // a fade-out always starts from opaque
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
}

}  // namespace
