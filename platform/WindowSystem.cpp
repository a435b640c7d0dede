#include "platform/WindowSystem.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <string>

namespace platform {
namespace {

bool X11CompositorRunning() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return false;
    // A compositing manager owns the selection _NET_WM_CM_S<screen>.
    const std::string name = "_NET_WM_CM_S0";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr),
        &std::free);
    if (!atom) return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE;
}

}  // namespace

bool SupportsWindowOpacity() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) return X11CompositorRunning();
    if (platform.startsWith(QLatin1String("wayland"))) return false;
    return true;
}

}  // namespace platform
