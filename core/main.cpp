#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <future>

#include "core/FeedConfig.h"
#include "core/PopupPresenter.h"
#include "core/RefreshPass.h"
#include "core/RefreshTimer.h"
#include "notify/LazySound.h"
#include "notify/SplashFrm.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/WindowSystem.h"
#include "warmap/WarmapFRM.h"

namespace {

// Lets the window system show the Warmap window before the rest of start-up: the popup and the
// timer are not needed for the first frame. Waits a second at most (a window manager may keep the
// window hidden).
void WaitForFirstFrame(QWidget& window) {
    const QDeadlineTimer deadline(1000);
    while (!deadline.hasExpired() && !(window.windowHandle() && window.windowHandle()->isExposed())) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    platform::PreferX11WhereWaylandAlsoOffersIt();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Warmap"));
    // Closing the Warmap window leaves the popup and the refresh cycle running.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString programFolder = QString::fromStdString(platform::ProgramFolder());
    platform::ModalDialogs dialogs;

    // The second core reads the skin while this thread builds the window.
    std::future<warmap::Skin> skin = std::async(std::launch::async, warmap::LoadSkin, programFolder);

    // The Warmap window first: its load step draws "Dartmoor" from the saved copy, if there is one.
    QPointer<warmap::WarmapFRM> warmapWindow = new warmap::WarmapFRM(programFolder, dialogs);
    warmapWindow->setAttribute(Qt::WA_DeleteOnClose);
    if (const auto missing = warmapWindow->Load(skin.get())) {
        dialogs.Show({"Datei fehlt oder ist nicht lesbar: " + missing->toStdString(), platform::kApplicationTitle,
                      platform::Message::Icon::Critical});
        delete warmapWindow;
        return 1;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        warmapWindow->move(screen->geometry().center() - warmapWindow->rect().center());
    }
    warmapWindow->show();
    WaitForFirstFrame(*warmapWindow);

    // The popup lives for the whole run and carries the refresh timer.
    notify::SplashFrm popup(programFolder);
    notify::LazySound sound;
    core::PopupPresenter presenter(popup, sound);
    core::RefreshPass pass({core::FeedBase(), programFolder.toStdString(), {}}, dialogs, presenter);
    core::RefreshTimer timer(&popup, [&pass] { pass.RefreshKeeps(); });
    timer.StartRefreshTimer(3);
    return app.exec();
}
