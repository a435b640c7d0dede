#pragma once

#include <QDateTime>
#include <QMenu>
#include <QObject>
#include <QStringList>
#include <QSystemTrayIcon>
#include <functional>
#include <optional>
#include <string>

namespace platform {
class Dialogs;
}

namespace tray {

// The icon theme's "warmap" icon, else the window icon form/warmap.ico of the program's folder, else a
// stock computer icon.
QIcon trayPicture(const QString& programFolder);

// What the tray tells of a pass.
struct PassSummary {
    QDateTime when;
    std::size_t changes = 0;
    QStringList failures;  // "Dartmoor: Verbindung abgelehnt (127.0.0.1:8642)", in server order
    QStringList notAsked;  // the servers after one that gave no answer
    bool hasFailed() const { return !failures.isEmpty(); }
};

// The tooltip: when the last pass ran and what it brought, or what failed in it; before the first
// pass, whether there is a feed address to poll at all.
QString trayToolTip(const std::optional<PassSummary>& last, bool hasFeedAddress = true);

// The icon with a small warning sign in its lower right corner, at every size it has.
QIcon withWarningEmblem(const QIcon& icon);

// The way back to a program without a visible window: an icon in the system tray whose menu shows
// the map, the recent changes, switches the start at login, opens the settings and ends the program.
// A left click shows the map.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    enum Item { ShowMap, ShowRecent, ShowHistory, StartAtLogin, ShowSettings, Quit, ItemCount };

    // autostartFile is switched by "Beim Anmelden starten" and points at program.
    TrayIcon(const QIcon& icon, std::string autostartFile, std::string program, platform::Dialogs& dialogs,
             QObject* parent = nullptr);

    // Shows the icon in the desktop's tray, now or (on X11) when one appears; without a tray the
    // program goes on as if there was none. True when a tray is there now.
    bool showIfTrayAvailable();
    void hide() { m_icon.hide(); }

    // The tooltip and icon after a pass: with a warning sign until a pass succeeds.
    void setLastPass(const PassSummary& pass);
    // Before the first pass: whether Warmap has a feed address to poll.
    void setHasFeedAddress(bool has);

    QMenu& menu() { return m_menu; }
    QAction* action(Item item) const { return m_actions[item]; }
    const QSystemTrayIcon& icon() const { return m_icon; }

signals:
    // The player chose an entry of the menu (a left click on the icon shows the map).
    void showMapRequested();
    void showRecentRequested();
    void showHistoryRequested();
    void showSettingsRequested();
    void quitRequested();

private:
    void switchStartAtLogin(bool wanted);

    std::string m_autostartFile;
    std::string m_program;
    platform::Dialogs& m_dialogs;
    QMenu m_menu;
    QIcon m_picture;
    QSystemTrayIcon m_icon;
    std::optional<PassSummary> m_lastPass;
    QAction* m_actions[ItemCount];
};

}  // namespace tray
