#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/PictureCache.h"
#include "platform/SingleInstance.h"
#include "platform/Translations.h"
#include "settings/CommandLine.h"
#include "settings/FeedAddress.h"
#include "settings/Settings.h"
#include "settings/SettingsDialog.h"
#include "warmap/Skin.h"

class QWidget;

namespace history {
class HistoryRecorder;
}
namespace notify {
class ChangePopup;
class LazySound;
}  // namespace notify
namespace tray {
class RecentChanges;
class RecentChangesWindow;
class TrayIcon;
}  // namespace tray

namespace core {

class MapWindowKeeper;
class PopupPresenter;
class RefreshPass;
class RefreshTimer;

// The running program: owns the Warmap window, the popup, the refresh cycle, the history, the tray icon
// and the windows the tray opens, and wires them together. Built once the command line has been read
// and the lock taken; start() brings up the first frame and everything after it.
class WarmapApplication final : public QObject, private settings::SettingsSaver {
    Q_OBJECT
public:
    // stored: the settings file as read at start; translations: in force, switched when a new
    // language is saved.
    WarmapApplication(settings::CommandLine command, settings::Settings stored, platform::SingleInstance& instance,
                      platform::Translations& translations, QObject* parent = nullptr);
    ~WarmapApplication() override;

    // The Warmap window first, then the popup, the cycle, the history and the tray; the requests of
    // later starts are answered from the moment the window is being built. False when the window could
    // not be loaded (a box has said why): the program ends.
    bool start();

public slots:
    void answer(platform::SingleInstance::Request request);
    void showMapWindow();
    void showSettingsWindow();
    void showHistoryWindow();
    void showRecentChangesWindow();
    // A pass under way ends after its current server; its copies are always written whole.
    void quit();

private:
    void startCycle();
    void startTray();
    // The history, opened on first use: the first pass, or a window that shows what it holds.
    history::HistoryRecorder& recorder();
    void passEnded(const std::vector<std::string>& lines);
    void tellNoTrayOnce();
    base::Result<void, QString> save(const settings::Settings& chosen) override;

    const settings::CommandLine m_command;
    platform::SingleInstance& m_instance;
    platform::Translations& m_translations;
    const QString m_dataFolder;
    platform::ModalDialogs m_dialogs;
    const platform::PictureCache m_pictures;  // before the skin, which the second core reads through it
    std::future<warmap::SkinResult> m_skin;
    const QString m_settingsFile;
    const settings::Settings m_stored;
    const settings::FeedBaseChoice m_feedBase;

    MapWindowKeeper* m_mapWindow;
    QString m_markedGuild;  // the player's guild as last saved
    std::unique_ptr<notify::ChangePopup> m_popup;
    std::unique_ptr<notify::LazySound> m_sound;
    std::unique_ptr<PopupPresenter> m_presenter;
    RefreshPass* m_pass = nullptr;
    RefreshTimer* m_timer = nullptr;
    QString m_noHistory;
    std::unique_ptr<history::HistoryRecorder> m_recorder;  // see recorder()
    tray::RecentChanges* m_recentChanges = nullptr;
    tray::TrayIcon* m_trayIcon = nullptr;
    QPointer<tray::RecentChangesWindow> m_recentWindow;
    QPointer<settings::SettingsDialog> m_settingsWindow;
    QPointer<QWidget> m_historyWindow;

    // Requests of later starts that need more than the window, until start() has built the rest.
    bool m_started = false;
    std::vector<platform::SingleInstance::Request> m_waiting;
    // Whether a feed address is there to poll: the first pass runs 3 s after start or after one is saved.
    bool m_polling;
    bool m_toldNoTray = false;
};

}  // namespace core
