#pragma once

#include <QMenu>
#include <QPointer>
#include <QString>
#include <functional>

#include "warmap/MapWindow.h"
#include "warmap/Skin.h"

namespace platform {
class Dialogs;
}

namespace core {

// Holds the one Warmap window. Closing it destroys it; showing it again creates a new one and runs
// the load step again, as at start-up.
class MapWindowKeeper : public QObject {
    Q_OBJECT
public:
    // pictures (which must outlive the keeper) keeps the decoded skin and icons across runs.
    MapWindowKeeper(QString programFolder, platform::Dialogs& dialogs, const platform::PictureCache* pictures = nullptr,
                    QObject* parent = nullptr);

    // Creates, loads and shows the window centred on the screen. skin() is asked for the skin once the
    // window is built, so start-up can read it on another thread meanwhile. When a skin or map file is
    // missing or unreadable, a message box names it, there is no window, and false is returned.
    // tellNoSavedCopy as for MapWindow::Load.
    bool open(const std::function<warmap::SkinResult()>& skin, bool tellNoSavedCopy = true);

    // Shows the window, restored and raised; creates it first when there is none. A file missing by
    // now is reported in a message box and the program goes on without the window. While the window
    // is being loaded (its load step may wait in a message box) it does nothing.
    void showMapWindow();

    // Closes the window, if there is one.
    void close();

    // The guild whose structures this window and every later one ring; empty: none.
    void setMarkedGuild(const QString& guild);

    // The menu a right click on the window opens, this window's and every later one's.
    void setContextMenu(QMenu* menu);

    warmap::MapWindow* window() const { return m_window; }

signals:
    // The player has closed the window (not close()).
    void closed();

private:
    void offerContextMenu(warmap::MapWindow* window);

    QString m_programFolder;
    platform::Dialogs& m_dialogs;
    const platform::PictureCache* m_pictures;
    QPointer<warmap::MapWindow> m_window;
    QPointer<QMenu> m_contextMenu;
    QString m_markedGuild;
    bool m_opening = false;
    bool m_closing = false;
};

}  // namespace core
