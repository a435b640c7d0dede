#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QWindow>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <future>
#include <optional>

#include "core/FeedConfig.h"
#include "core/PopupPresenter.h"
#include "core/RefreshPass.h"
#include "core/RefreshTimer.h"
#include "core/WarmapWindowKeeper.h"
#include "feed/SavedCopy.h"
#include "notify/LazySound.h"
#include "notify/SplashFrm.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "platform/WindowSystem.h"
#include "tray/Autostart.h"
#include "tray/RecentChanges.h"
#include "tray/RecentChangesWindow.h"
#include "tray/TrayIcon.h"

namespace {

// Lets the window system show the Warmap window before the rest of start-up: the popup and the
// timer are not needed for the first frame. Waits a second at most (a window manager may keep the
// window hidden).
void WaitForFirstFrame(QWidget* window) {
    const QDeadlineTimer deadline(1000);
    while (window && !deadline.hasExpired() && !(window->windowHandle() && window->windowHandle()->isExposed())) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

// A second start hands over to the running Warmap and ends. Returns the exit status then, nothing
// when this is the only Warmap. Retries in case the running one ends meanwhile.
std::optional<int> HandOverToRunningInstance(platform::SingleInstance& instance, const std::string& folder) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (instance.Claim()) return std::nullopt;
        if (platform::SingleInstance::AskToShow(folder, std::chrono::seconds(2))) {
            std::fprintf(stderr, "Warmap l\u00e4uft schon; sein Fenster wird gezeigt.\n");
            return 0;
        }
    }
    std::fprintf(stderr, "warmap: Warmap l\u00e4uft schon, antwortet aber nicht.\n");
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Under a file-size limit a write must fail (EFBIG), so the save fails cleanly, rather than end the
    // program and leave its temporary file behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::string runtimeFolder = platform::RuntimeFolder();
    platform::SingleInstance instance(runtimeFolder);
    if (const auto status = HandOverToRunningInstance(instance, runtimeFolder)) return *status;

    platform::PreferX11WhereWaylandAlsoOffersIt();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Warmap"));
    // Closing the Warmap window leaves the popup and the refresh cycle running.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString programFolder = QString::fromStdString(platform::ProgramFolder());
    platform::ModalDialogs dialogs;

    // The second core reads the skin while this thread builds the window.
    std::future<warmap::Skin> skin =
        std::async(std::launch::async, warmap::LoadSkin, programFolder, app.devicePixelRatio());

    // The Warmap window first: its load step draws "Dartmoor" from the saved copy, if there is one.
    core::WarmapWindowKeeper warmapWindow(programFolder, dialogs);
    // Answer later starts from here on, also while a message box of the load step waits for the user.
    instance.Serve([&warmapWindow](platform::SingleInstance::Request) { warmapWindow.ShowWarmapWindow(); });
    if (!warmapWindow.Open([&skin] { return skin.get(); })) return 1;
    WaitForFirstFrame(warmapWindow.Window());
    // Saves interrupted by a kill left their temporary files; a minute old, none is still being written.
    feed::RemoveStaleTemporaryFiles(platform::TempFolder(), 60);

    // The popup lives for the whole run and carries the refresh timer.
    notify::SplashFrm popup(programFolder);
    popup.SetWaylandAnchor([&warmapWindow]() -> QWidget* { return warmapWindow.Window(); });
    notify::LazySound sound;
    core::PopupPresenter presenter(popup, sound);
    core::RefreshPass pass({core::FeedBase(), programFolder.toStdString(), {}}, dialogs, presenter);
    core::RefreshTimer timer(&popup, [&pass] { pass.RefreshKeeps(); });

    // The way back once the window is closed: tray icon, recent changes, start at login, the end.
    tray::RecentChanges recentChanges;
    QPointer<tray::RecentChangesWindow> recentWindow;
    tray::TrayIcon trayIcon(tray::TrayPicture(programFolder), tray::AutostartFilePath(),
                            QCoreApplication::applicationFilePath().toStdString(), dialogs);
    trayIcon.onShowMap = [&warmapWindow] { warmapWindow.ShowWarmapWindow(); };
    trayIcon.onShowRecent = [&] {
        if (!recentWindow) recentWindow = new tray::RecentChangesWindow(recentChanges, programFolder);
        recentWindow->show();
        recentWindow->raise();
        recentWindow->activateWindow();
    };
    trayIcon.onQuit = [&] {
        // A pass under way ends after its current server; its copies are always written whole.
        pass.RequestStop();
        instance.Release();
        warmapWindow.Close();
        delete recentWindow;
        trayIcon.Hide();
        timer.Finish([] { QCoreApplication::quit(); });
    };
    recentChanges.onChanged = [&recentWindow] {
        if (recentWindow) recentWindow->Refresh();
    };
    pass.onPassEnded = [&](const feed::MessageLines& lines) {
        recentChanges.Record(std::chrono::system_clock::now(), lines);
        trayIcon.SetLastPass(QDateTime::currentDateTime(), lines.size());
    };
    trayIcon.ShowIfTrayAvailable();

    timer.StartRefreshTimer(3);
    return app.exec();
}
