// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/NoTrayNote.h"

#include <QMessageBox>

namespace tray {

QString noTrayNoteText() {
    return QStringLiteral(
        "Warmap wacht weiter im Hintergrund und meldet jede \u00c4nderung.\n\n"
        "Diese Arbeitsumgebung zeigt kein Symbol von Warmap in einer Leiste. Zur\u00fcck geht es \u00fcber den "
        "Starter: Warmap erneut starten zeigt die Karte, seine Aktionen \u201eVerlauf\u201c, \u201eLetzte "
        "Meldungen\u201c, \u201eEinstellungen\u201c und \u201eBeenden\u201c tun, was sie sagen. Im Terminal "
        "geht dasselbe mit \u201ewarmap --show\u201c, \u201e--history\u201c, \u201e--recent\u201c, "
        "\u201e--settings\u201c und \u201ewarmap --quit\u201c.");
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
