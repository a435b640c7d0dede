#include "platform/WindowSystem.h"

#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/UnixSocket.h"

namespace platform {
namespace {

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t internAtom(xcb_connection_t* connection, const std::string& name) {
    Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr),
        &std::free);
    return atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// A compositing manager owns the selection _NET_WM_CM_S<screen>.
bool isX11CompositorRunning() {
    xcb_connection_t* connection = x11Connection();
    if (!connection) return false;
    const xcb_atom_t selection = internAtom(connection, "_NET_WM_CM_S0");
    if (selection == XCB_ATOM_NONE) return false;
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr), &std::free);
    return owner && owner->owner != XCB_NONE;
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool isX11Reachable() {
    xcb_connection_t* probe = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(probe) == 0;
    xcb_disconnect(probe);
    return reachable;
}

// The compositor's socket: WAYLAND_DISPLAY itself when absolute, else in XDG_RUNTIME_DIR.
bool isWaylandReachable() {
    const std::string name = isSet("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "wayland-0";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string path = name.front() == '/' ? name : std::string(runtime ? runtime : "") + "/" + name;
    sockaddr_un address;
    if (!unixSocketAddress(path, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool reachable = fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0) ::close(fd);
    return reachable;
}

}  // namespace

base::Status checkDisplay(const QString& platform) {
    const QString chosen = platform.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platform;
    if (!chosen.isEmpty()) {
        // A list such as "wayland;xcb" is tried in order; each may carry options after ':'.
        bool windowSystem = false;
        for (const QString& entry : chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString name = entry.section(QLatin1Char(':'), 0, 0);
            if (name == QLatin1String("xcb")) {
                windowSystem = true;
                if (isX11Reachable()) return {};
            } else if (name.startsWith(QLatin1String("wayland"))) {
                windowSystem = true;
                if (isWaylandReachable()) return {};
            }
        }
        if (!windowSystem) return {};
        return base::Failure{"the platform " + chosen.toStdString() + " cannot open its display"};
    }
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY"))
        return base::Failure{"neither DISPLAY nor WAYLAND_DISPLAY is set"};
    if (isSet("DISPLAY") && isX11Reachable()) return {};
    if (isSet("WAYLAND_DISPLAY") && isWaylandReachable()) return {};
    std::string problem = "cannot open";
    if (isSet("DISPLAY")) problem += std::string(" the X display ") + std::getenv("DISPLAY");
    if (isSet("DISPLAY") && isSet("WAYLAND_DISPLAY")) problem += " or";
    if (isSet("WAYLAND_DISPLAY")) problem += std::string(" the Wayland display ") + std::getenv("WAYLAND_DISPLAY");
    return base::Failure{problem};
}

void preferX11WhereWaylandAlsoOffersIt() {
    if (!isSet("WAYLAND_DISPLAY") || !isSet("DISPLAY") || isSet("QT_QPA_PLATFORM")) return;
    // Qt has no way back once it chose X11 and cannot connect: it aborts. So try the connection first.
    if (isX11Reachable()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        std::fprintf(stderr,
                     "warmap: the X server of this Wayland session (DISPLAY=%s) cannot be reached; running "
                     "on Wayland\n",
                     std::getenv("DISPLAY"));
    }
}

bool isWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool isX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool supportsWindowOpacity() {
    // Under XWayland the Wayland compositor's window manager owns the compositor selection, but not
    // every one honours opacity (weston does not): only an unmapped window is sure to be invisible.
    if (isX11()) return !isSet("WAYLAND_DISPLAY") && isX11CompositorRunning();
    if (isWayland()) return false;
    return true;
}

void sendPendingWindowRequests() {
    if (xcb_connection_t* connection = x11Connection()) xcb_flush(connection);
}

void keepOffTaskbar(QWidget* window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    std::vector<xcb_atom_t> atoms;
    Reply<xcb_get_property_reply_t> current(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 64), nullptr),
        &std::free);
    if (current && current->format == 32) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(current.get()));
        atoms.assign(data, data + xcb_get_property_value_length(current.get()) / 4);
    }
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t atom = internAtom(connection, name);
        if (std::find(atoms.begin(), atoms.end(), atom) == atoms.end()) atoms.push_back(atom);
    }
    // Before mapping the property itself is what the window manager reads (after that it takes requests).
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(connection);
}

void offerNoMaximise(QWidget* window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window) return;
    // The Motif hints every X11 window manager reads: flags, functions, decorations, input mode, status.
    enum : uint32_t { KFunctions = 1, KDecorations = 2 };
    enum : uint32_t { KMove = 4, KClose = 32 };
    enum : uint32_t { KBorder = 2, KTitle = 8, KMenu = 16 };
    const uint32_t hints[5] = {KFunctions | KDecorations, KMove | KClose, KBorder | KTitle | KMenu, 0, 0};
    const xcb_atom_t atom = internAtom(connection, "_MOTIF_WM_HINTS");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), atom, atom, 32,
                        5, hints);
    xcb_flush(connection);
}

CompositorWatch::CompositorWatch(std::function<void()> onCompositorGone, QObject* parent)
    : QObject(parent), m_onGone(std::move(onCompositorGone)) {
    xcb_connection_t* connection = x11Connection();
    if (!connection) return;
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present) return;
    Reply<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(connection, xcb_xfixes_query_version(connection, 1, 0), nullptr), &std::free);
    if (!version) return;
    m_selection = internAtom(connection, "_NET_WM_CM_S0");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_xfixes_select_selection_input(connection, root, m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(connection);
    m_selectionNotify = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

CompositorWatch::~CompositorWatch() {
    if (m_selectionNotify && QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CompositorWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (m_selectionNotify == 0 || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != m_selectionNotify) return false;
    const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
    if (notify->selection == m_selection && notify->owner == XCB_NONE && m_onGone) m_onGone();
    return false;  // Qt watches selections too
}

}  // namespace platform
