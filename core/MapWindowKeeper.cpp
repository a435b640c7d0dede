#include "core/MapWindowKeeper.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/Dialogs.h"

namespace core {

MapWindowKeeper::MapWindowKeeper(QString programFolder, platform::Dialogs& dialogs,
                                 const platform::PictureCache* pictures, QObject* parent)
    : QObject(parent), m_programFolder(std::move(programFolder)), m_dialogs(dialogs), m_pictures(pictures) {}

bool MapWindowKeeper::open(const std::function<warmap::SkinResult()>& skin, bool tellNoSavedCopy) {
    auto* window = new warmap::MapWindow(m_programFolder, m_dialogs, m_pictures);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setMarkedGuild(m_markedGuild);
    m_opening = true;
    const auto loaded = window->load(skin(), tellNoSavedCopy);
    m_opening = false;
    if (!loaded) {
        delete window;
        m_dialogs.show({loaded.error().toStdString(), platform::kApplicationTitle, platform::Message::Icon::Critical});
        return false;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window->move(screen->geometry().center() - window->rect().center());
    }
    m_window = window;
    offerContextMenu(window);
    QObject::connect(window, &warmap::MapWindow::closed, [this] {
        if (!m_closing) emit closed();
    });
    window->show();
    return true;
}

void MapWindowKeeper::setMarkedGuild(const QString& guild) {
    m_markedGuild = guild;
    if (m_window) m_window->setMarkedGuild(guild);
}

void MapWindowKeeper::setContextMenu(QMenu* menu) {
    m_contextMenu = menu;
    if (m_window) offerContextMenu(m_window);
}

void MapWindowKeeper::offerContextMenu(warmap::MapWindow* window) {
    if (!m_contextMenu) return;
    window->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(window, &QWidget::customContextMenuRequested, window, [menu = m_contextMenu, window](QPoint at) {
        if (menu) menu->popup(window->mapToGlobal(at));
    });
}

void MapWindowKeeper::showMapWindow() {
    // Asked again while the load step waits in a message box: the window comes when that is answered.
    if (m_opening) return;
    if (!m_window &&
        !open([this] { return warmap::loadSkin(m_programFolder, qGuiApp->devicePixelRatio(), m_pictures); }))
        return;
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void MapWindowKeeper::close() {
    m_closing = true;
    if (m_window) m_window->close();
    m_closing = false;
}

}  // namespace core
