#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWindow>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <future>
#include <optional>

#include "core/FeedCheck.h"
#include "core/FeedConfig.h"
#include "core/HandOver.h"
#include "core/PopupPresenter.h"
#include "core/RefreshPass.h"
#include "core/RefreshTimer.h"
#include "core/MapWindowKeeper.h"
#include "feed/Frontier.h"
#include "feed/SavedCopy.h"
#include "history/HistoryRecorder.h"
#include "history/StoreOpener.h"
#include "history/WindowFactory.h"
#include "notify/LazySound.h"
#include "notify/ChangePopup.h"
#include "platform/Dialogs.h"
#include "platform/NameText.h"
#include "platform/Paths.h"
#include "platform/Plugin.h"
#include "platform/SingleInstance.h"
#include "platform/WindowSystem.h"
#include "settings/CommandLine.h"
#include "settings/FeedAddress.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsFile.h"
#include "tray/Autostart.h"
#include "tray/NoTrayNote.h"
#include "tray/RecentChanges.h"
#include "tray/RecentChangesWindow.h"
#include "tray/TrayIcon.h"

namespace {

// Lets the window system show the Warmap window before the rest of start-up: the popup and the
// timer are not needed for the first frame. Waits a second at most (a window manager may keep the
// window hidden).
void waitForFirstFrame(QWidget* window) {
    const QDeadlineTimer deadline(1000);
    while (window && !deadline.hasExpired() && !(window->windowHandle() && window->windowHandle()->isExposed())) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

// What the command line asks before anything else happens: help, the version, or a refusal, each
// printed and ended here, without a display, a lock or a socket.
std::optional<int> answered(const settings::CommandLine& command) {
    using Action = settings::CommandLine::Action;
    if (command.action == Action::Run) return std::nullopt;
    const QByteArray text = command.output.toLocal8Bit();
    std::fputs(text.constData(), command.action == Action::Refuse ? stderr : stdout);
    return command.action == Action::Refuse ? settings::kUsageExitStatus : 0;
}

core::NoticeFilter noticesOf(const settings::Settings& chosen) {
    return {chosen.notifyServer, chosen.onlyRealm};
}

// A window asked for again comes to the front, wherever it was.
void bringForward(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// The history, from the store's plugin; nothing, with why set, when there is none this run.
std::unique_ptr<history::HistoryLog> openHistoryLog(std::string& why) {
    const auto* opener = platform::loadPlugin<history::StoreOpener>(QStringLiteral("warmap-store"));
    if (!opener) {
        why = "the library warmap-store is missing";
        return nullptr;
    }
    auto opened = opener->open(history::historyFilePath());
    if (!opened) {
        why = opened.error();
        return nullptr;
    }
    return std::move(*opened);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Under a file-size limit a write must fail (EFBIG), so the save fails cleanly, rather than end the
    // program and leave its temporary file behind.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const settings::CommandLine command = settings::parseCommandLine(arguments);
    if (const auto status = answered(command)) return *status;

    using Request = platform::SingleInstance::Request;
    const std::string runtimeFolder = platform::runtimeFolder();
    if (command.request == Request::Quit) return core::quitRunningInstance(runtimeFolder);
    platform::preferX11WhereWaylandAlsoOffersIt();
    // Qt would abort without a display, and leave the socket behind.
    if (const base::Status display = platform::checkDisplay(command.platform); !display)
        return core::startWithoutDisplay(runtimeFolder, command.request, display.error());
    platform::SingleInstance instance(runtimeFolder);
    if (const auto status = core::handOverToRunningInstance(instance, runtimeFolder, command.request)) {
        if (*status == 0 && !command.feedBase.isEmpty())
            std::fputs("warmap: --feed-base applies to a new run only; the running Warmap keeps its feed address.\n",
                       stderr);
        return *status;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Warmap"));
    // Closing the Warmap window leaves the popup and the refresh cycle running.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString dataFolder = QString::fromStdString(platform::dataFolder());
    platform::ModalDialogs dialogs;

    // The second core reads the skin while this thread builds the window.
    std::future<warmap::SkinResult> skin =
        std::async(std::launch::async, warmap::loadSkin, dataFolder, app.devicePixelRatio());

    // The player's settings; without a file they are the defaults, today's behaviour. Without a feed
    // address Warmap polls nothing and asks for one.
    const QString settingsFile = settings::settingsFilePath();
    const settings::Settings stored = settings::loadSettings(settingsFile);
    const settings::FeedBaseChoice feedBase = settings::chooseFeedBase(command.feedBase, stored.feedBase, true);

    // The Warmap window first: its load step draws "Dartmoor" from the saved copy, if there is one.
    core::MapWindowKeeper warmapWindow(dataFolder, dialogs);
    // Answer later starts from here on, also while a message box of the load step waits for the user;
    // what needs more than the window waits until that is there.
    std::function<void(Request)> answer;
    std::vector<Request> waiting;
    instance.serve([&](Request request) {
        if (answer)
            answer(request);
        else if (request == Request::ShowWindow)
            warmapWindow.showMapWindow();
        else
            waiting.push_back(request);
    });
    if (!warmapWindow.open([&skin] { return skin.get(); }, feedBase.isUsable())) return 1;
    waitForFirstFrame(warmapWindow.window());
    // Saves interrupted by a kill left their temporary files; a minute old, none is still being written.
    feed::removeStaleTemporaryFiles(platform::tempFolder(), 60);

    // The popup lives for the whole run and carries the refresh timer.
    notify::ChangePopup popup(dataFolder);
    popup.setWaylandAnchor([&warmapWindow]() -> QWidget* { return warmapWindow.window(); });
    notify::LazySound sound;
    core::PopupPresenter presenter(popup, sound);
    presenter.setSoundOn(stored.sound);
    core::PassSettings passSettings{feedBase.base.toStdString(), dataFolder.toStdString()};
    passSettings.notices = noticesOf(stored);
    core::RefreshPass pass(std::move(passSettings), dialogs, presenter);
    core::RefreshTimer timer(&popup, [&pass] { pass.refreshKeeps(); });

    // The history opens after the first frame.
    std::string noHistory;
    history::HistoryRecorder recorder(openHistoryLog(noHistory));

    // The way back once the window is closed: tray icon, recent changes, start at login, the end.
    tray::RecentChanges recentChanges;
    QPointer<tray::RecentChangesWindow> recentWindow;
    QPointer<settings::SettingsDialog> settingsWindow;
    tray::TrayIcon trayIcon(tray::trayPicture(dataFolder), tray::autostartFilePath(),
                            QCoreApplication::applicationFilePath().toStdString(), dialogs);
    trayIcon.onShowMap = [&warmapWindow] { warmapWindow.showMapWindow(); };
    QPointer<QWidget> historyWindow;
    trayIcon.onShowHistory = [&] {
        if (!historyWindow) {
            const auto* factory = platform::loadPlugin<history::WindowFactory>(QStringLiteral("warmap-history"));
            if (!factory) return;
            historyWindow = factory->createWindow(recorder.store(), QString::fromStdString(noHistory), dataFolder);
            historyWindow->setAttribute(Qt::WA_DeleteOnClose);
            historyWindow->setWindowIcon(tray::trayPicture(dataFolder));
        }
        bringForward(historyWindow);
    };
    trayIcon.onShowRecent = [&] {
        if (!recentWindow) recentWindow = new tray::RecentChangesWindow(recentChanges, dataFolder);
        bringForward(recentWindow);
    };
    trayIcon.onQuit = [&] {
        // A pass under way ends after its current server; its copies are always written whole.
        pass.requestStop();
        instance.release();
        warmapWindow.close();
        delete recentWindow;
        delete settingsWindow;
        delete historyWindow;
        trayIcon.hide();
        timer.finish([] { QCoreApplication::quit(); });
    };
    // The first pass runs 3 s after start, or, without a feed address, 3 s after one is saved.
    bool polling = feedBase.isUsable();
    const auto showSettings = [&] {
        if (!settingsWindow) {
            const auto check = [](const QString& feedBase) -> base::Result<QString, QString> {
                const core::FeedCheckResult result = core::checkFeed(feedBase.toStdString());
                const QString verdict = QString::fromStdString(result.verdict);
                if (!result.isFeed) return base::Failure{verdict};
                return verdict;
            };
            settingsWindow = new settings::SettingsDialog(settings::loadSettings(settingsFile),
                                                          settings::chooseFeedBase(command.feedBase, {}), check);
            settingsWindow->setAttribute(Qt::WA_DeleteOnClose);
            settingsWindow->setWindowIcon(tray::trayPicture(dataFolder));
            if (!polling) settingsWindow->askForFeedBase();
            settingsWindow->onSave = [&](const settings::Settings& chosen) -> base::Result<void, QString> {
                if (auto saved = settings::saveSettings(settingsFile, chosen); !saved) return saved;
                // What was refused at the start is passed over: the player has just given an address.
                const QString feedBase = settings::chooseFeedBase(command.feedBase, chosen.feedBase).base;
                pass.reconfigure(feedBase.toStdString(), noticesOf(chosen));
                presenter.setSoundOn(chosen.sound);
                if (!polling && !feedBase.isEmpty()) {
                    polling = true;
                    trayIcon.setHasFeedAddress(true);
                    timer.startRefreshTimer(core::RefreshTimer::kFirstDelay);
                }
                return {};
            };
        }
        bringForward(settingsWindow);
    };
    trayIcon.onShowSettings = showSettings;
    recentChanges.onChanged = [&recentWindow] {
        if (recentWindow) recentWindow->refresh();
    };
    // What earlier runs announced comes back from the history.
    if (const history::HistoryLog* store = recorder.store()) {
        std::vector<tray::PassChanges> earlier;
        for (history::RecordedLines& recorded : store->recentLines(history::HistoryLog::kPassesWithLinesKept))
            earlier.push_back({std::chrono::system_clock::from_time_t(recorded.time), std::move(recorded.lines)});
        recentChanges.restore(std::move(earlier));
    }
    pass.onFeedArrived = [&recorder](std::size_t server, const feed::FeedDocument& document) {
        recorder.feedArrived(static_cast<int>(server), document);
    };
    pass.onPassEnded = [&](const feed::MessageLines& lines) {
        const auto now = std::chrono::system_clock::now();
        recorder.passEnded(std::chrono::system_clock::to_time_t(now), lines);
        recentChanges.record(now, lines);
        if (historyWindow) QMetaObject::invokeMethod(historyWindow, "Refresh");
        tray::PassSummary summary{QDateTime::currentDateTime(), lines.size(), {}, {}};
        for (const core::ServerFailure& failure : pass.failures())
            summary.failures << platform::nameText(feed::kServerNames[failure.server]) + QStringLiteral(": ") +
                                    QString::fromStdString(failure.problem);
        for (std::size_t server = pass.serversAsked(); server < feed::kServerNames.size(); ++server)
            summary.notAsked << platform::nameText(feed::kServerNames[server]);
        trayIcon.setLastPass(summary);
    };
    trayIcon.setHasFeedAddress(polling);
    trayIcon.showIfTrayAvailable();
    // The tray menu's entries are a right click away on the Warmap window too; without a tray, the
    // first close tells how to come back.
    warmapWindow.setContextMenu(&trayIcon.menu());
    bool toldNoTray = false;
    warmapWindow.onClosed = [&toldNoTray] {
        if (toldNoTray || QSystemTrayIcon::isSystemTrayAvailable()) return;
        toldNoTray = true;
        tray::showNoTrayNote();
    };

    answer = [&](Request request) {
        switch (request) {
            case Request::ShowWindow:
                return warmapWindow.showMapWindow();
            case Request::ShowSettings:
                return showSettings();
            case Request::ShowHistory:
                return trayIcon.onShowHistory();
            case Request::ShowRecent:
                return trayIcon.onShowRecent();
            case Request::Quit:
                return trayIcon.onQuit();
        }
    };
    if (command.request != Request::ShowWindow) waiting.insert(waiting.begin(), command.request);
    if (!polling) waiting.push_back(Request::ShowSettings);
    for (const Request request : waiting) answer(request);

    if (polling) timer.startRefreshTimer(core::RefreshTimer::kFirstDelay);
    return app.exec();
}
