#include "tray/TrayIcon.h"

#include <QApplication>
#include <QStyle>

#include "platform/Dialogs.h"
#include "platform/Picture.h"
#include "platform/WindowSystem.h"
#include "tray/Autostart.h"

namespace tray {

QIcon TrayPicture(const QString& programFolder) {
    // Read as a picture, not handed to QIcon by name: that would open the file whatever it is.
    const auto picture = platform::Picture::Load(programFolder + QStringLiteral("/form/warmap.ico"));
    const QIcon fallback = picture ? QIcon(QPixmap::fromImage(picture->Image()))
                                   : QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    return QIcon::fromTheme(QStringLiteral("warmap"), fallback);
}

QString TrayToolTip(const std::optional<QDateTime>& lastPass, std::size_t changes) {
    if (!lastPass) return QStringLiteral("Warmap\nNoch kein Abgleich seit dem Start");
    const QString count = changes == 0   ? QStringLiteral("keine \u00c4nderungen")
                          : changes == 1 ? QStringLiteral("1 \u00c4nderung")
                                         : QStringLiteral("%1 \u00c4nderungen").arg(changes);
    return QStringLiteral("Warmap\nLetzter Abgleich %1: %2")
        .arg(lastPass->toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")), count);
}

TrayIcon::TrayIcon(const QIcon& icon, std::string autostartFile, std::string program, platform::Dialogs& dialogs,
                   QObject* parent)
    : QObject(parent),
      m_autostartFile(std::move(autostartFile)),
      m_program(std::move(program)),
      m_dialogs(dialogs),
      m_icon(icon) {
    m_icon.setObjectName(QStringLiteral("TrayIcon"));
    m_icon.setToolTip(TrayToolTip(std::nullopt, 0));

    m_actions[ShowMap] = m_menu.addAction(QStringLiteral("Karte zeigen"), this, [this] {
        if (onShowMap) onShowMap();
    });
    m_actions[ShowRecent] = m_menu.addAction(QStringLiteral("Letzte Meldungen"), this, [this] {
        if (onShowRecent) onShowRecent();
    });
    m_actions[ShowHistory] = m_menu.addAction(QStringLiteral("Verlauf …"), this, [this] {
        if (onShowHistory) onShowHistory();
    });
    m_menu.addSeparator();
    m_actions[StartAtLogin] = m_menu.addAction(QStringLiteral("Beim Anmelden starten"));
    m_actions[StartAtLogin]->setCheckable(true);
    connect(m_actions[StartAtLogin], &QAction::triggered, this, &TrayIcon::SwitchStartAtLogin);
    m_actions[ShowSettings] = m_menu.addAction(QStringLiteral("Einstellungen …"), this, [this] {
        if (onShowSettings) onShowSettings();
    });
    m_menu.addSeparator();
    m_actions[Quit] = m_menu.addAction(QStringLiteral("Beenden"), this, [this] {
        if (onQuit) onQuit();
    });
    // What a left click does, in bold.
    m_menu.setDefaultAction(m_actions[ShowMap]);

    // The file may have been added or removed by hand meanwhile.
    auto readStartAtLogin = [this] { m_actions[StartAtLogin]->setChecked(AutostartEnabled(m_autostartFile)); };
    readStartAtLogin();
    connect(&m_menu, &QMenu::aboutToShow, this, readStartAtLogin);

    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && onShowMap) onShowMap();
    });
}

bool TrayIcon::ShowIfTrayAvailable() {
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    // On X11 Qt watches for a tray that starts later, as panels at login often do, and embeds the icon
    // then; so there it is asked for in any case. Elsewhere only a tray that is there now can take it.
    if (available || platform::OnX11()) m_icon.show();
    return available;
}

void TrayIcon::SetLastPass(const QDateTime& when, std::size_t changes) {
    m_icon.setToolTip(TrayToolTip(when, changes));
}

void TrayIcon::SwitchStartAtLogin(bool wanted) {
    if (const auto problem = SetAutostart(m_autostartFile, m_program, wanted)) {
        m_dialogs.Show({"Fehler: " + *problem, "Fehler", platform::Message::Icon::Critical});
    }
    m_actions[StartAtLogin]->setChecked(AutostartEnabled(m_autostartFile));
}

}  // namespace tray
