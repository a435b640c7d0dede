#include "notify/Fader.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include "platform/WindowSystem.h"

namespace notify {
namespace {

void ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

}  // namespace

AlphaResult SetWindowAlpha(QWidget* window, int alpha) {
    if (alpha < 0 || alpha > 255) return AlphaResult::OutOfRange;
    if (!window) return AlphaResult::NoWindow;
    // Wayland ignores opacity and would say so at every step: there visibility alone stands for it.
    if (!platform::OnWayland()) window->setWindowOpacity(alpha / 255.0);
    // Any alpha above 0 must be seen, even if the window was hidden while no compositor ran. Where
    // opacity is not shown at this moment, a transparent window is hidden, so it never covers the screen.
    if (alpha > 0 && !window->isVisible()) window->show();
    if (alpha == 0 && window->isVisible() && !platform::SupportsWindowOpacity()) window->hide();
    if (QWindow* handle = window->windowHandle()) {
        const bool passClicks = alpha == 0;
        if (handle->flags().testFlag(Qt::WindowTransparentForInput) != passClicks) {
            handle->setFlag(Qt::WindowTransparentForInput, passClicks);
        }
    }
    // Each step must reach the compositor when it is made, or the whole fade arrives as one jump.
    platform::SendPendingWindowRequests();
    return AlphaResult::Applied;
}

void FadeIn(QWidget* window) {
    SetWindowAlpha(window, 0);
    ProcessPendingEvents();
    ProcessPendingEvents();
    for (int alpha = 1; alpha <= 255; ++alpha) {
        SetWindowAlpha(window, alpha);
        QThread::msleep(1);
    }
    ProcessPendingEvents();
}

void FadeOut(QWidget* window) {
    int alpha = 255;
    SetWindowAlpha(window, alpha);
    ProcessPendingEvents();
    ProcessPendingEvents();
    do {
        --alpha;
        SetWindowAlpha(window, alpha);
        QThread::msleep(1);
    } while (alpha != 0);
}

}  // namespace notify
