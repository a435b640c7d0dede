#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/Result.h"

class QWidget;

namespace platform {

// In a Wayland session that also offers X11 (XWayland), and unless the user chose a platform with
// QT_QPA_PLATFORM, runs the program through X11: Wayland lets no client place its own windows or set
// their opacity, which the popup needs. Where that X server cannot be reached, says so once on stderr
// and leaves the choice to Qt (Wayland). Call before the application object exists.
void preferX11WhereWaylandAlsoOffersIt();

// Whether a window can be shown here, or why not: neither DISPLAY nor WAYLAND_DISPLAY set,
// or the display they name cannot be opened. platform is Qt's -platform argument, if one was given;
// it, or QT_QPA_PLATFORM, naming neither X11 nor Wayland (offscreen, say) is left to Qt. Call before
// the application object exists: Qt aborts when it cannot open its platform.
base::Status checkDisplay(const QString& platform = {});

// True on a Wayland platform, where the popup cannot be placed by the program.
bool isWayland();
// True on X11 (XWayland included).
bool isX11();

// Whether the window system shows a window's opacity at this moment, so that a window at alpha 0 is
// invisible while mapped. An X11 desktop without a compositing manager, and Wayland, ignore opacity:
// there a "transparent" window would still cover the screen. Under XWayland it depends on the
// compositor, so the answer there is no.
bool supportsWindowOpacity();

// Sends what the program has asked of the X server so far, without waiting for an answer. A fade's
// steps are made while no events run, and Xlib-style buffering would hold them all until the fade ends.
void sendPendingWindowRequests();

// Wayland lets no client decline the keyboard focus a compositor gives its new window. Where the
// compositor takes rules (sway, through its IPC socket), asks it never to focus this program's windows
// with this title. Returns whether it agreed; elsewhere false, and nothing is done.
bool askCompositorNeverToFocus(const QString& title);

// Keeps a window that is about to be shown off the taskbar and the pager (X11; elsewhere nothing).
void keepOffTaskbar(QWidget* window);

// Asks the window manager for no maximise or resize function on a window of fixed size that is about
// to be shown: Qt always offers resizing, and a window manager may take a box without a parent for a
// normal window and give it a maximise button (X11; elsewhere nothing).
void offerNoMaximise(QWidget* window);

// Tells when a compositing manager goes away, from the X server's selection-owner events (XFixes),
// without polling. Does nothing where there is no X11.
class CompositorWatch final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit CompositorWatch(std::function<void()> onCompositorGone, QObject* parent = nullptr);
    ~CompositorWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> m_onGone;
    std::uint8_t m_selectionNotify = 0;  // the XFixes event code; 0 when not watching
    std::uint32_t m_selection = 0;
};

}  // namespace platform
