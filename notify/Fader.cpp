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

int SetWindowAlpha(QWidget* window, std::int16_t& alpha) {
    if (alpha < 0 || alpha > 255) return 1;
    if (!window) return 2;
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
    return 0;
}

void FadeIn(QWidget* window) {
    std::int16_t alpha = 0;
    SetWindowAlpha(window, alpha);
    ProcessPendingEvents();
    ProcessPendingEvents();
    for (alpha = 1; alpha <= 255; ++alpha) {
        std::int16_t step = alpha;
        SetWindowAlpha(window, step);
        QThread::msleep(1);
    }
    ProcessPendingEvents();
}

void FadeOut(QWidget* window) {
    std::int16_t alpha = 255;
    SetWindowAlpha(window, alpha);
    ProcessPendingEvents();
    ProcessPendingEvents();
    do {
        --alpha;
        std::int16_t step = alpha;
        SetWindowAlpha(window, step);
        QThread::msleep(1);
    } while (alpha != 0);
}

}  // namespace notify
