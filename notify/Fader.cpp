#include "notify/Fader.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include "platform/WindowSystem.h"

namespace notify {
namespace {

void processPendingEvents() {
    QCoreApplication::processEvents();
}

}  // namespace

AlphaResult setWindowAlpha(QWidget* window, int alpha) {
    if (alpha < 0 || alpha > 255) return AlphaResult::OutOfRange;
    if (!window) return AlphaResult::NoWindow;
    // Wayland ignores opacity and would say so at every step: there visibility alone stands for it.
    if (!platform::isWayland()) window->setWindowOpacity(alpha / 255.0);
    // Any alpha above 0 must be seen, even if the window was hidden while no compositor ran. Where
    // opacity is not shown at this moment, a transparent window is hidden, so it never covers the screen.
    if (alpha > 0 && !window->isVisible()) window->show();
    if (alpha == 0 && window->isVisible() && !platform::supportsWindowOpacity()) window->hide();
    if (QWindow* handle = window->windowHandle()) {
        const bool passClicks = alpha == 0;
        if (handle->flags().testFlag(Qt::WindowTransparentForInput) != passClicks) {
            handle->setFlag(Qt::WindowTransparentForInput, passClicks);
        }
    }
    // Each step must reach the compositor when it is made, or the whole fade arrives as one jump.
    platform::sendPendingWindowRequests();
    return AlphaResult::Applied;
}

void fadeIn(QWidget* window) {
    setWindowAlpha(window, 0);
    processPendingEvents();
    processPendingEvents();
    for (int alpha = 1; alpha <= 255; ++alpha) {
        setWindowAlpha(window, alpha);
        QThread::msleep(1);
    }
    processPendingEvents();
}

void fadeOut(QWidget* window) {
    int alpha = 255;
    setWindowAlpha(window, alpha);
    processPendingEvents();
    processPendingEvents();
    do {
        --alpha;
        setWindowAlpha(window, alpha);
        QThread::msleep(1);
    } while (alpha != 0);
}

}  // namespace notify
