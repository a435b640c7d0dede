#include "platform/Dialogs.h"

#include <QMessageBox>

namespace platform {

void ModalDialogs::Show(const Message& message) {
    QMessageBox box(message.icon == Message::Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(message.caption), QString::fromStdString(message.text), QMessageBox::Ok);
    box.exec();
}

}  // namespace platform
