#include "core/WarmapApplication.h"

#include <malloc.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QSystemTrayIcon>
#include <QWindow>
#include <chrono>

#include "core/FeedCheck.h"
#include "core/FetchHelper.h"
#include "core/MapWindowKeeper.h"
#include "core/PopupPresenter.h"
#include "core/RefreshPass.h"
#include "core/RefreshTimer.h"
#include "feed/FeedDocument.h"
#include "feed/FeedPaths.h"
#include "feed/Frontier.h"
#include "feed/SavedCopy.h"
#include "history/HistoryRecorder.h"
#include "history/Holdings.h"
#include "history/StoreOpener.h"
#include "history/WindowFactory.h"
#include "notify/ChangePopup.h"
#include "notify/LazySound.h"
#include "platform/NameText.h"
#include "platform/Paths.h"
#include "platform/Plugin.h"
#include "settings/SettingsFile.h"
#include "tray/Autostart.h"
#include "tray/NoTrayNote.h"
#include "tray/RecentChanges.h"
#include "tray/RecentChangesWindow.h"
#include "tray/TrayIcon.h"

namespace core {

namespace {

using Request = platform::SingleInstance::Request;

// Lets the window system show the Warmap window before the rest of start-up: the popup and the
// timer are not needed for the first frame. Waits a second at most (a window manager may keep the
// window hidden).
void waitForFirstFrame(QWidget* window) {
    const QDeadlineTimer deadline(1000);
    while (window && !deadline.hasExpired() && !(window->windowHandle() && window->windowHandle()->isExposed())) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

NoticeFilter noticesOf(const settings::Settings& chosen) {
    std::optional<std::string> guild;
    if (chosen.onlyGuild && !chosen.guild.isEmpty()) guild = chosen.guild.toStdString();
    return {chosen.notifyServer, chosen.onlyRealm, std::move(guild)};
}

// The guilds that hold anything in the servers' last saved feeds.
QStringList lastFeedGuilds() {
    QStringList guilds;
    for (std::string_view server : feed::kServerNames) {
        const feed::FeedDocument copy = feed::loadSavedCopy(feed::savedCopyPath(platform::tempFolder(), server));
        for (const history::Holding& holding : history::holdingsOf(copy)) {
            if (!holding.guild.empty()) guilds << QString::fromStdString(holding.guild);
        }
    }
    guilds.removeDuplicates();
    return guilds;
}

// A window asked for again comes to the front, wherever it was.
void bringForward(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// The history, from the store's plugin; nothing, with why set, when there is none this run.
std::unique_ptr<history::HistoryLog> openHistoryLog(QString& why) {
    const auto* opener = platform::loadPlugin<history::StoreOpener>(QStringLiteral("warmap-store"));
    if (!opener) {
        why = QStringLiteral("the library warmap-store is missing");
        return nullptr;
    }
    auto opened = opener->open(history::historyFilePath());
    if (!opened) {
        why = QString::fromStdString(opened.error());
        return nullptr;
    }
    return std::move(*opened);
}

}  // namespace

WarmapApplication::WarmapApplication(settings::CommandLine command, settings::Settings stored,
                                     platform::SingleInstance& instance, platform::Translations& translations,
                                     QObject* parent)
    : QObject(parent),
      m_command(std::move(command)),
      m_instance(instance),
      m_translations(translations),
      m_dataFolder(QString::fromStdString(platform::dataFolder())),
      // The second core reads the skin while this thread builds the window.
      m_pictures(platform::pictureCacheFolder()),
      m_skin(std::async(std::launch::async, warmap::loadSkin, m_dataFolder, qApp->devicePixelRatio(), &m_pictures)),
      // The player's settings; without a file they are the defaults. Without a feed address Warmap
      // polls nothing and asks for one.
      m_settingsFile(settings::settingsFilePath()),
      m_stored(std::move(stored)),
      m_feedBase(settings::chooseFeedBase(m_command.feedBase, m_stored.feedBase, true)),
      m_mapWindow(new MapWindowKeeper(m_dataFolder, m_dialogs, &m_pictures, this)),
      m_markedGuild(m_stored.guild),
      m_polling(m_feedBase.isUsable()) {
    m_mapWindow->setMarkedGuild(m_stored.guild);
}

WarmapApplication::~WarmapApplication() = default;

bool WarmapApplication::start() {
    // Later starts are answered from here on, also while a message box of the load step waits for the
    // user; what needs more than the window waits until that is there.
    connect(&m_instance, &platform::SingleInstance::requested, this, &WarmapApplication::answer);
    m_instance.serve();
    // The load step draws "Dartmoor" from the saved copy, if there is one.
    if (!m_mapWindow->open([this] { return m_skin.get(); }, m_feedBase.isUsable())) return false;
    waitForFirstFrame(m_mapWindow->window());
    // Saves interrupted by a kill left their temporary files; a minute old, none is still being written.
    feed::removeStaleTemporaryFiles(platform::tempFolder(), 60);

    startCycle();
    startTray();

    m_started = true;
    if (m_command.request != Request::ShowWindow) m_waiting.insert(m_waiting.begin(), m_command.request);
    if (!m_polling) m_waiting.push_back(Request::ShowSettings);
    for (const Request request : std::exchange(m_waiting, {})) answer(request);
    if (m_polling) m_timer->startRefreshTimer(RefreshTimer::kFirstDelay);
    return true;
}

// The popup lives for the whole run and carries the refresh timer.
void WarmapApplication::startCycle() {
    m_popup = std::make_unique<notify::ChangePopup>(m_dataFolder);
    m_popup->setWaylandAnchor([this]() -> QWidget* { return m_mapWindow->window(); });
    m_sound = std::make_unique<notify::LazySound>();
    m_presenter = std::make_unique<PopupPresenter>(*m_popup, *m_sound);
    m_presenter->setSoundOn(m_stored.sound);
    PassSettings passSettings{m_feedBase.base.toStdString(), m_dataFolder.toStdString()};
    passSettings.download = [this](const std::string& url, const DownloadLimits& limits) {
        return downloadThroughHelper(url, limits, m_translations.ownBytes());
    };
    passSettings.notices = noticesOf(m_stored);
    passSettings.snapshotFolder = platform::snapshotFolder();
    m_pass = new RefreshPass(std::move(passSettings), m_dialogs, *m_presenter, this);
    m_timer = new RefreshTimer(m_popup.get(), [this] { m_pass->refreshKeeps(); });
}

// The way back once the window is closed: tray icon, recent changes, start at login, the end.
void WarmapApplication::startTray() {
    m_recentChanges = new tray::RecentChanges(this);
    m_trayIcon = new tray::TrayIcon(tray::trayPicture(m_dataFolder), tray::autostartFilePath(),
                                    QCoreApplication::applicationFilePath().toStdString(), m_dialogs, this);
    connect(m_trayIcon, &tray::TrayIcon::showMapRequested, this, &WarmapApplication::showMapWindow);
    connect(m_trayIcon, &tray::TrayIcon::showHistoryRequested, this, &WarmapApplication::showHistoryWindow);
    connect(m_trayIcon, &tray::TrayIcon::showRecentRequested, this, &WarmapApplication::showRecentChangesWindow);
    connect(m_trayIcon, &tray::TrayIcon::showSettingsRequested, this, &WarmapApplication::showSettingsWindow);
    connect(m_trayIcon, &tray::TrayIcon::quitRequested, this, &WarmapApplication::quit);
    connect(m_recentChanges, &tray::RecentChanges::changed, this, [this] {
        if (m_recentWindow) m_recentWindow->refresh();
    });
    connect(m_pass, &RefreshPass::feedArrived, this, [this](std::size_t server, const feed::FeedDocument& document) {
        recorder().feedArrived(static_cast<int>(server), document);
    });
    connect(m_pass, &RefreshPass::passEnded, this, &WarmapApplication::passEnded);
    m_trayIcon->setHasFeedAddress(m_polling);
    m_trayIcon->showIfTrayAvailable();
    // The tray menu's entries are a right click away on the Warmap window too; without a tray, the
    // first close tells how to come back.
    m_mapWindow->setContextMenu(&m_trayIcon->menu());
    connect(m_mapWindow, &MapWindowKeeper::closed, this, &WarmapApplication::tellNoTrayOnce);
}

// Not in the moments around the first frame: SQLite and the store's plugin wait until the history is
// asked for, by the first pass (3 s after start) or a window. What earlier runs announced then comes
// back into "Letzte Meldungen", before anything this run records there.
history::HistoryRecorder& WarmapApplication::recorder() {
    if (m_recorder) return *m_recorder;
    m_recorder = std::make_unique<history::HistoryRecorder>(openHistoryLog(m_noHistory));
    if (const history::HistoryLog* store = m_recorder->store()) {
        std::vector<tray::PassChanges> earlier;
        for (history::RecordedLines& recorded : store->recentLines(history::HistoryLog::kPassesWithLinesKept))
            earlier.push_back({std::chrono::system_clock::from_time_t(recorded.time), std::move(recorded.lines)});
        m_recentChanges->restore(std::move(earlier));
    }
    return *m_recorder;
}

// The history first, then "Letzte Meldungen", the history window and the tray, all with one moment.
void WarmapApplication::passEnded(const std::vector<std::string>& lines) {
    const auto now = std::chrono::system_clock::now();
    recorder().passEnded(std::chrono::system_clock::to_time_t(now), lines);
    m_recentChanges->record(now, lines);
    if (m_historyWindow) QMetaObject::invokeMethod(m_historyWindow, "refresh");
    tray::PassSummary summary{QDateTime::currentDateTime(), lines.size(), {}, {}};
    for (const ServerFailure& failure : m_pass->failures())
        summary.failures << platform::nameText(feed::kServerNames[failure.server]) + QStringLiteral(": ") +
                                QString::fromStdString(failure.problem);
    for (std::size_t server = m_pass->serversAsked(); server < feed::kServerNames.size(); ++server)
        summary.notAsked << platform::nameText(feed::kServerNames[server]);
    m_trayIcon->setLastPass(summary);
    // What the pass parsed, compared and recorded is freed by now; the heap gives it back to the system
    // rather than holding it through the minutes until the next pass.
    ::malloc_trim(0);
}

void WarmapApplication::tellNoTrayOnce() {
    if (m_toldNoTray || QSystemTrayIcon::isSystemTrayAvailable()) return;
    m_toldNoTray = true;
    tray::showNoTrayNote();
}

void WarmapApplication::answer(Request request) {
    if (!m_started) {
        if (request == Request::ShowWindow)
            m_mapWindow->showMapWindow();
        else
            m_waiting.push_back(request);
        return;
    }
    switch (request) {
        case Request::ShowWindow:
            return showMapWindow();
        case Request::ShowSettings:
            return showSettingsWindow();
        case Request::ShowHistory:
            return showHistoryWindow();
        case Request::ShowRecent:
            return showRecentChangesWindow();
        case Request::Quit:
            return quit();
    }
}

void WarmapApplication::showMapWindow() {
    m_mapWindow->showMapWindow();
}

void WarmapApplication::showHistoryWindow() {
    if (!m_historyWindow) {
        const auto* factory = platform::loadPlugin<history::WindowFactory>(QStringLiteral("warmap-history"));
        if (!factory) return;
        const history::HistoryLog* store = recorder().store();
        m_historyWindow = factory->createWindow(store, m_noHistory, m_dataFolder);
        QMetaObject::invokeMethod(m_historyWindow, "setMarkedGuild", Q_ARG(QString, m_markedGuild));
        m_historyWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_historyWindow->setWindowIcon(tray::trayPicture(m_dataFolder));
    }
    bringForward(m_historyWindow);
}

void WarmapApplication::showRecentChangesWindow() {
    recorder();  // brings back what earlier runs announced
    if (!m_recentWindow) m_recentWindow = new tray::RecentChangesWindow(*m_recentChanges, m_dataFolder);
    bringForward(m_recentWindow);
}

void WarmapApplication::showSettingsWindow() {
    if (!m_settingsWindow) {
        const auto check = [this](const QString& feedBase) -> base::Result<QString, QString> {
            const FeedCheckResult result =
                checkFeed(feedBase.toStdString(), helperDownloader(m_translations.ownBytes()));
            const QString verdict = QString::fromStdString(result.verdict);
            if (!result.isFeed) return base::Failure{verdict};
            return verdict;
        };
        m_settingsWindow = new settings::SettingsDialog(settings::loadSettings(m_settingsFile),
                                                        settings::chooseFeedBase(m_command.feedBase, {}), check);
        m_settingsWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_settingsWindow->setWindowIcon(tray::trayPicture(m_dataFolder));
        if (!m_polling) m_settingsWindow->askForFeedBase();
        m_settingsWindow->setSaver(this);
        QStringList remembered;
        if (const history::HistoryLog* store = recorder().store()) {
            for (const std::string& guild : store->guildNames()) remembered << QString::fromStdString(guild);
        }
        m_settingsWindow->setGuildNames(lastFeedGuilds(), remembered);
    }
    bringForward(m_settingsWindow);
}

base::Result<void, QString> WarmapApplication::save(const settings::Settings& chosen) {
    if (auto saved = settings::saveSettings(m_settingsFile, chosen); !saved) return saved;
    // What was refused at the start is passed over: the player has just given an address.
    const QString feedBase = settings::chooseFeedBase(m_command.feedBase, chosen.feedBase).base;
    m_pass->reconfigure(feedBase.toStdString(), noticesOf(chosen));
    m_presenter->setSoundOn(chosen.sound);
    m_markedGuild = chosen.guild;
    m_mapWindow->setMarkedGuild(chosen.guild);
    if (m_historyWindow) QMetaObject::invokeMethod(m_historyWindow, "setMarkedGuild", Q_ARG(QString, chosen.guild));
    // Windows opened from now on speak the new language; those already open, after a restart.
    m_translations.use(platform::languageOf(chosen.language));
    if (!m_polling && !feedBase.isEmpty()) {
        m_polling = true;
        m_trayIcon->setHasFeedAddress(true);
        m_timer->startRefreshTimer(RefreshTimer::kFirstDelay);
    }
    return {};
}

void WarmapApplication::quit() {
    m_pass->requestStop();
    m_instance.release();
    m_mapWindow->close();
    // Each deletes itself on closing.
    if (m_recentWindow) m_recentWindow->close();
    if (m_settingsWindow) m_settingsWindow->close();
    if (m_historyWindow) m_historyWindow->close();
    m_trayIcon->hide();
    m_timer->finish([] { QCoreApplication::quit(); });
}

}  // namespace core
