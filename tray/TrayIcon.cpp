#include "tray/TrayIcon.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QStyle>

#include "feed/Frontier.h"
#include "platform/Dialogs.h"
#include "platform/Picture.h"
#include "platform/Theme.h"
#include "platform/WindowSystem.h"
#include "tray/Autostart.h"

namespace tray {

QIcon trayPicture(const QString& programFolder) {
    // The installed package's icons (share/icons/hicolor beside share/warmap), taken by path: asking
    // the icon theme for them would read and keep the whole hicolor index, about 1 MiB and 3 ms at
    // every start. Each size is read only when something shows it.
    QIcon installed;
    const QString hicolor = programFolder + QStringLiteral("/../icons/hicolor/");
    for (int size : {WARMAP_ICON_SIZES}) {
        const QString file = hicolor + QStringLiteral("%1x%1/apps/warmap.png").arg(size);
        if (QFileInfo(file).isFile()) installed.addFile(file, QSize(size, size));  // never a FIFO
    }
    if (!installed.isNull()) return installed;
    // Read as a picture, not handed to QIcon by name: that would open the file whatever it is.
    const auto picture = platform::Picture::load(programFolder + QStringLiteral("/form/warmap.ico"));
    return picture ? QIcon(QPixmap::fromImage(picture->image()))
                   : QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
}

QString trayToolTip(const std::optional<PassSummary>& last, bool hasFeedAddress) {
    if (!last) {
        return hasFeedAddress ? TrayIcon::tr("Warmap\nNoch kein Abgleich seit dem Start")
                              : TrayIcon::tr("Warmap\nKeine Feed-Adresse eingestellt");
    }
    const auto count = [](std::size_t changes) {
        return changes == 0   ? TrayIcon::tr("keine Änderungen")
               : changes == 1 ? TrayIcon::tr("1 Änderung")
                              : TrayIcon::tr("%1 Änderungen").arg(changes);
    };
    const QString when = last->when.toString(theme::kDateTimeSecondsFormat);
    if (!last->hasFailed()) return TrayIcon::tr("Warmap\nLetzter Abgleich %1: %2").arg(when, count(last->changes));
    // "keine Änderungen" only where every server asked was reached.
    const bool noneReached =
        static_cast<std::size_t>(last->failures.size() + last->notAsked.size()) >= feed::kServerNames.size();
    QStringList lines{QStringLiteral("Warmap"),
                      TrayIcon::tr("Letzter Abgleich %1 %2")
                          .arg(when, noneReached ? TrayIcon::tr("fehlgeschlagen") : TrayIcon::tr("mit Fehlern"))};
    lines << last->failures;
    if (!last->notAsked.isEmpty())
        lines << last->notAsked.join(QStringLiteral(", ")) + TrayIcon::tr(" nicht abgefragt");
    if (!noneReached) lines << TrayIcon::tr("Übrige Server: %1").arg(count(last->changes));
    return lines.join(QLatin1Char('\n'));
}

QIcon withWarningEmblem(const QIcon& icon) {
    // The sizes trays ask for, and whatever else the icon has.
    QList<QSize> sizes{QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    for (const QSize& size : icon.availableSizes()) {
        if (!sizes.contains(size)) sizes << size;
    }
    QIcon marked;
    for (const QSize& size : sizes) {
        QPixmap pixmap = icon.pixmap(size);
        if (pixmap.isNull()) continue;
        // A small icon is not scaled up by QIcon; the sign must not cover all of it.
        if (pixmap.deviceIndependentSize().toSize() != size)
            pixmap = pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        // A yellow triangle with an exclamation mark, a little over half the icon's size.
        const QRectF area(QPointF(0, 0), QSizeF(pixmap.deviceIndependentSize()));
        const qreal side = std::max<qreal>(9, area.width() * 0.6);
        const QRectF sign(area.right() - side, area.bottom() - side, side, side);
        const QPolygonF triangle{QPointF(sign.center().x(), sign.top()), sign.bottomRight(), sign.bottomLeft()};
        painter.setPen(QPen(QColor(60, 40, 0), std::max<qreal>(1, side / 12)));
        painter.setBrush(QColor(255, 200, 0));
        painter.drawPolygon(triangle);
        painter.setPen(QPen(QColor(40, 20, 0), std::max<qreal>(1.2, side / 7), Qt::SolidLine, Qt::RoundCap));
        const qreal x = sign.center().x();
        painter.drawLine(QPointF(x, sign.top() + side * 0.38), QPointF(x, sign.top() + side * 0.68));
        painter.drawPoint(QPointF(x, sign.top() + side * 0.84));
        painter.end();
        marked.addPixmap(pixmap);
    }
    return marked;
}

TrayIcon::TrayIcon(const QIcon& icon, std::string autostartFile, std::string program, platform::Dialogs& dialogs,
                   QObject* parent)
    : QObject(parent),
      m_autostartFile(std::move(autostartFile)),
      m_program(std::move(program)),
      m_dialogs(dialogs),
      m_picture(icon),
      m_icon(icon) {
    m_icon.setObjectName(QStringLiteral("TrayIcon"));
    m_icon.setToolTip(trayToolTip(std::nullopt, 0));

    m_actions[ShowMap] = m_menu.addAction(tr("Karte zeigen"), this, &TrayIcon::showMapRequested);
    m_actions[ShowRecent] = m_menu.addAction(tr("Letzte Meldungen"), this, &TrayIcon::showRecentRequested);
    m_actions[ShowHistory] = m_menu.addAction(tr("Verlauf …"), this, &TrayIcon::showHistoryRequested);
    m_menu.addSeparator();
    m_actions[StartAtLogin] = m_menu.addAction(tr("Beim Anmelden starten"));
    m_actions[StartAtLogin]->setCheckable(true);
    connect(m_actions[StartAtLogin], &QAction::triggered, this, &TrayIcon::switchStartAtLogin);
    m_actions[ShowSettings] = m_menu.addAction(tr("Einstellungen …"), this, &TrayIcon::showSettingsRequested);
    m_menu.addSeparator();
    m_actions[Quit] = m_menu.addAction(tr("Beenden"), this, &TrayIcon::quitRequested);
    // What a left click does, in bold.
    m_menu.setDefaultAction(m_actions[ShowMap]);

    // The file may have been added or removed by hand meanwhile.
    auto readStartAtLogin = [this] { m_actions[StartAtLogin]->setChecked(isAutostartEnabled(m_autostartFile)); };
    readStartAtLogin();
    connect(&m_menu, &QMenu::aboutToShow, this, readStartAtLogin);

    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) emit showMapRequested();
    });
}

bool TrayIcon::showIfTrayAvailable() {
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    // On X11 Qt watches for a tray that starts later, as panels at login often do, and embeds the icon
    // then; so there it is asked for in any case. Elsewhere only a tray that is there now can take it.
    if (available || platform::isX11()) m_icon.show();
    return available;
}

void TrayIcon::setLastPass(const PassSummary& pass) {
    const bool wasFailed = m_lastPass && m_lastPass->hasFailed();
    m_lastPass = pass;
    m_icon.setToolTip(trayToolTip(pass));
    if (pass.hasFailed() != wasFailed) m_icon.setIcon(pass.hasFailed() ? withWarningEmblem(m_picture) : m_picture);
}

void TrayIcon::setHasFeedAddress(bool has) {
    if (!m_lastPass) m_icon.setToolTip(trayToolTip(std::nullopt, has));
}

void TrayIcon::switchStartAtLogin(bool wanted) {
    if (const base::Status set = setAutostart(m_autostartFile, m_program, wanted); !set)
        m_dialogs.show(platform::failureMessage(set.error()));
    m_actions[StartAtLogin]->setChecked(isAutostartEnabled(m_autostartFile));
}

}  // namespace tray
