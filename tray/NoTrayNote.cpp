// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/NoTrayNote.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace tray {

QString noTrayNoteText() {
    return QCoreApplication::translate(
        "tray::NoTrayNote",
        "Warmap wacht weiter im Hintergrund und meldet jede Änderung.\n\n"
        "Diese Arbeitsumgebung zeigt kein Symbol von Warmap in einer Leiste. Zurück geht es über den "
        "Starter: Warmap erneut starten zeigt die Karte, seine Aktionen „Verlauf“, „Letzte "
        "Meldungen“, „Einstellungen“ und „Beenden“ tun, was sie sagen. Im Terminal "
        "geht dasselbe mit „warmap --show“, „--history“, „--recent“, "
        "„--settings“ und „warmap --quit“.");
}

QWidget* showNoTrayNote() {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Warmap"), noTrayNoteText(), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("NoTrayNote"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    return box;
}

}  // namespace tray
