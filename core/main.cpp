#include <QApplication>

#include "core/ChangePresenter.h"
#include "core/FeedConfig.h"
#include "core/RefreshPass.h"
#include "core/RefreshTimer.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

namespace {

// Stands in for the popup until it exists: the lines are handed over and dropped.
class DiscardingPresenter final : public core::ChangePresenter {
public:
    void PresentChanges(const feed::MessageLines&) override {}
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Warmap"));
    QApplication::setQuitOnLastWindowClosed(false);

    platform::ModalDialogs dialogs;
    DiscardingPresenter presenter;
    core::RefreshPass pass({core::FeedBase(), platform::ProgramFolder(), {}}, dialogs, presenter);
    QObject timerOwner;
    core::RefreshTimer timer(&timerOwner, [&pass] { pass.RefreshKeeps(); });
    timer.StartRefreshTimer(3);
    return app.exec();
}
