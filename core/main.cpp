#include <QApplication>

#include "core/FeedConfig.h"
#include "core/PopupPresenter.h"
#include "core/RefreshPass.h"
#include "core/RefreshTimer.h"
#include "notify/AlertSound.h"
#include "notify/SplashFrm.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Warmap"));
    // Closing the Warmap window leaves the popup and the refresh cycle running.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString programFolder = QString::fromStdString(platform::ProgramFolder());
    platform::ModalDialogs dialogs;

    // The popup lives for the whole run and carries the refresh timer.
    notify::SplashFrm popup(programFolder);
    notify::AlertSound sound;
    core::PopupPresenter presenter(popup, sound);
    core::RefreshPass pass({core::FeedBase(), programFolder.toStdString(), {}}, dialogs, presenter);
    core::RefreshTimer timer(&popup, [&pass] { pass.RefreshKeeps(); });
    timer.StartRefreshTimer(3);
    return app.exec();
}
