#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "platform/WindowSystem.h"

namespace platform {

Message failureMessage(const std::string& cause) {
    return {
        QCoreApplication::translate("platform::Dialogs", "Fehler: %1").arg(QString::fromStdString(cause)).toStdString(),
        QCoreApplication::translate("platform::Dialogs", "Fehler").toStdString(), Message::Icon::Critical};
}

void ModalDialogs::show(const Message& message) {
    QMessageBox box(message.icon == Message::Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(message.caption), QString::fromStdString(message.text), QMessageBox::Ok);
    // A box of fixed size: a title and a close button, nothing to maximise.
    offerNoMaximise(&box);
    box.exec();
}

}  // namespace platform
