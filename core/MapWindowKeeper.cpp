#include "core/MapWindowKeeper.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/Dialogs.h"

namespace core {

MapWindowKeeper::MapWindowKeeper(QString programFolder, platform::Dialogs& dialogs)
    : m_programFolder(std::move(programFolder)), m_dialogs(dialogs) {}

bool MapWindowKeeper::Open(const std::function<warmap::SkinResult()>& skin, bool tellNoSavedCopy) {
    auto* window = new warmap::MapWindow(m_programFolder, m_dialogs);
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_opening = true;
    const auto loaded = window->Load(skin(), tellNoSavedCopy);
    m_opening = false;
    if (!loaded) {
        delete window;
        m_dialogs.Show({loaded.error().toStdString(), platform::kApplicationTitle, platform::Message::Icon::Critical});
        return false;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window->move(screen->geometry().center() - window->rect().center());
    }
    m_window = window;
    OfferContextMenu(window);
    QObject::connect(window, &warmap::MapWindow::closed, [this] {
        if (!m_closing && onClosed) onClosed();
    });
    window->show();
    return true;
}

void MapWindowKeeper::SetContextMenu(QMenu* menu) {
    m_contextMenu = menu;
    if (m_window) OfferContextMenu(m_window);
}

void MapWindowKeeper::OfferContextMenu(warmap::MapWindow* window) {
    if (!m_contextMenu) return;
    window->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(window, &QWidget::customContextMenuRequested, window, [menu = m_contextMenu, window](QPoint at) {
        if (menu) menu->popup(window->mapToGlobal(at));
    });
}

void MapWindowKeeper::showMapWindow() {
    // Asked again while the load step waits in a message box: the window comes when that is answered.
    if (m_opening) return;
    if (!m_window && !Open([this] { return warmap::LoadSkin(m_programFolder, qGuiApp->devicePixelRatio()); })) return;
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void MapWindowKeeper::Close() {
    m_closing = true;
    if (m_window) m_window->close();
    m_closing = false;
}

}  // namespace core
