#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"
#include "tray/Autostart.h"
#include "tray/TrayIcon.h"

#include <sys/stat.h>

namespace {

using tray::TrayIcon;

class TrayIconTest : public ::testing::Test {
protected:
    std::string autostartFile() const { return m_config.filePath("autostart/warmap.desktop").toStdString(); }

    QTemporaryDir m_config;
    std::string m_program = "/opt/warmap/warmap";
    testing_support::RecordingDialogs m_dialogs;
};

TEST_F(TrayIconTest, TheMenuSpeaksThePlayersLanguage) {
    TrayIcon icon(QIcon(WARMAP_DATA_DIR "/form/warmap.ico"), autostartFile(), m_program, m_dialogs);
    QStringList items;
    for (QAction* action : icon.menu().actions()) {
        if (!action->isSeparator()) items << action->text();
    }
    EXPECT_EQ(items, (QStringList{"Karte zeigen", "Letzte Meldungen", "Verlauf \u2026", "Beim Anmelden starten",
                                  "Einstellungen \u2026", "Beenden"}));
    EXPECT_TRUE(icon.action(TrayIcon::StartAtLogin)->isCheckable());
    EXPECT_EQ(icon.menu().defaultAction(), icon.action(TrayIcon::ShowMap));
    EXPECT_FALSE(icon.icon().icon().isNull());
    EXPECT_EQ(icon.icon().contextMenu(), &icon.menu());
}

TEST_F(TrayIconTest, ItemsAndALeftClickReachTheProgram) {
    TrayIcon icon(QIcon(WARMAP_DATA_DIR "/form/warmap.ico"), autostartFile(), m_program, m_dialogs);
    std::vector<std::string> calls;
    QObject::connect(&icon, &TrayIcon::showMapRequested, [&] { calls.push_back("map"); });
    QObject::connect(&icon, &TrayIcon::showRecentRequested, [&] { calls.push_back("recent"); });
    QObject::connect(&icon, &TrayIcon::showHistoryRequested, [&] { calls.push_back("history"); });
    QObject::connect(&icon, &TrayIcon::showSettingsRequested, [&] { calls.push_back("settings"); });
    QObject::connect(&icon, &TrayIcon::quitRequested, [&] { calls.push_back("quit"); });
    icon.action(TrayIcon::ShowRecent)->trigger();
    icon.action(TrayIcon::ShowMap)->trigger();
    emit const_cast<QSystemTrayIcon&>(icon.icon()).activated(QSystemTrayIcon::Trigger);  // left click
    emit const_cast<QSystemTrayIcon&>(icon.icon()).activated(QSystemTrayIcon::Context);  // right click: the menu only
    icon.action(TrayIcon::ShowHistory)->trigger();
    icon.action(TrayIcon::ShowSettings)->trigger();
    icon.action(TrayIcon::Quit)->trigger();
    EXPECT_EQ(calls, (std::vector<std::string>{"recent", "map", "map", "history", "settings", "quit"}));
}

TEST_F(TrayIconTest, StartAtLoginFollowsTheFile) {
    TrayIcon icon(QIcon(WARMAP_DATA_DIR "/form/warmap.ico"), autostartFile(), m_program, m_dialogs);
    QAction* startAtLogin = icon.action(TrayIcon::StartAtLogin);
    EXPECT_FALSE(startAtLogin->isChecked());

    startAtLogin->trigger();
    EXPECT_TRUE(startAtLogin->isChecked());
    EXPECT_EQ(testing_support::readFile(autostartFile()), tray::autostartEntry(m_program));

    startAtLogin->trigger();
    EXPECT_FALSE(startAtLogin->isChecked());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(autostartFile())));

    // Put there by hand meanwhile: the menu shows it the next time it opens.
    ASSERT_TRUE(tray::setAutostart(autostartFile(), m_program, true));
    emit icon.menu().aboutToShow();
    EXPECT_TRUE(startAtLogin->isChecked());
    EXPECT_TRUE(m_dialogs.shown.empty());
}

TEST_F(TrayIconTest, AnAutostartThatCannotBeWrittenSaysSoAndStaysOff) {
    // A file where the autostart folder should be.
    testing_support::writeFile(m_config.filePath("autostart").toStdString(), "");
    TrayIcon icon(QIcon(WARMAP_DATA_DIR "/form/warmap.ico"), autostartFile(), m_program, m_dialogs);
    icon.action(TrayIcon::StartAtLogin)->trigger();
    EXPECT_FALSE(icon.action(TrayIcon::StartAtLogin)->isChecked());
    ASSERT_EQ(m_dialogs.shown.size(), 1u);
    EXPECT_EQ(m_dialogs.shown[0].text.rfind("Fehler: ", 0), 0u);
    EXPECT_EQ(m_dialogs.shown[0].caption, "Fehler");
}

// "keine Änderungen" only after a pass that reached every server it asked.
TEST(TrayToolTip, TellsWhatTheLastPassBroughtOrWhatFailed) {
    const QDateTime when(QDate(2026, 12, 8), QTime(14, 3, 9));
    const auto pass = [&when](std::size_t changes, QStringList failures = {}, QStringList notAsked = {}) {
        return tray::PassSummary{when, changes, std::move(failures), std::move(notAsked)};
    };
    const struct {
        const char* what;
        std::optional<tray::PassSummary> last;
        bool hasFeedAddress;
        const char* tip;
    } cases[] = {
        {"no address", std::nullopt, false, "Warmap\nKeine Feed-Adresse eingestellt"},
        {"no pass yet", std::nullopt, true, "Warmap\nNoch kein Abgleich seit dem Start"},
        {"good, quiet", pass(0), true, "Warmap\nLetzter Abgleich 08.12.2026 14:03:09: keine \u00c4nderungen"},
        {"good, one change", pass(1), true, "Warmap\nLetzter Abgleich 08.12.2026 14:03:09: 1 \u00c4nderung"},
        {"failed at the first server",
         pass(0, {"Dartmoor: Verbindung abgelehnt (127.0.0.1:8642)"}, {"Logres", "Avalon", "Salisbury"}), true,
         "Warmap\nLetzter Abgleich 08.12.2026 14:03:09 fehlgeschlagen\nDartmoor: Verbindung abgelehnt "
         "(127.0.0.1:8642)\nLogres, Avalon, Salisbury nicht abgefragt"},
        {"partly failed", pass(2, {"Avalon: HTTP-Status 404"}), true,
         "Warmap\nLetzter Abgleich 08.12.2026 14:03:09 mit Fehlern\nAvalon: HTTP-Status 404\n"
         "\u00dcbrige Server: 2 \u00c4nderungen"},
        {"partly failed, quiet", pass(0, {"Salisbury: leere Antwort"}), true,
         "Warmap\nLetzter Abgleich 08.12.2026 14:03:09 mit Fehlern\nSalisbury: leere Antwort\n"
         "\u00dcbrige Server: keine \u00c4nderungen"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tray::trayToolTip(c.last, c.hasFeedAddress), QString::fromUtf8(c.tip)) << c.what;
}

// The icon carries a warning sign from a failed pass until a pass succeeds.
TEST(TrayToolTip, TheIconWarnsUntilAPassSucceeds) {
    testing_support::RecordingDialogs dialogs;
    const QIcon picture(WARMAP_DATA_DIR "/form/warmap.ico");
    tray::TrayIcon icon(picture, "/nonexistent/warmap.desktop", "/usr/bin/warmap", dialogs);
    const auto corner = [&icon] {
        const QImage image = icon.icon().icon().pixmap(32).toImage();
        return image.pixelColor(image.width() - 5, image.height() - 4);
    };
    const QColor plain = corner();
    const QDateTime when(QDate(2026, 12, 8), QTime(14, 3, 9));
    icon.setLastPass({when, 0, {"Dartmoor: HTTP-Status 500"}, {}});
    EXPECT_EQ(icon.icon().toolTip(), tray::trayToolTip(tray::PassSummary{when, 0, {"Dartmoor: HTTP-Status 500"}, {}}));
    const QColor warned = corner();
    EXPECT_GT(warned.red(), 200);
    EXPECT_GT(warned.green(), 150);
    EXPECT_LT(warned.blue(), 80);
    icon.setLastPass({when, 3, {}, {}});
    EXPECT_EQ(corner(), plain);
}

// The installed icons come first, then the skin's, then the stock icon; a FIFO in any place is passed
// over at once (one waited for a writer for ever).
TEST(TrayPicture, TakesTheInstalledIconsThenTheSkinsAndNeverWaitsOnWhatIsNoPicture) {
    QTemporaryDir root;
    const QString program = root.path() + "/share/warmap";
    ASSERT_TRUE(QDir().mkpath(program + "/form"));
    const QString ico = program + "/form/warmap.ico";
    ASSERT_TRUE(QFile::copy(WARMAP_DATA_DIR "/form/warmap.ico", ico));
    EXPECT_EQ(tray::trayPicture(program).pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32),
              QImage(ico).convertToFormat(QImage::Format_ARGB32));

    const QString apps = root.path() + "/share/icons/hicolor/%1x%1/apps";
    ASSERT_TRUE(QDir().mkpath(apps.arg(16)) && QDir().mkpath(apps.arg(32)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(apps.arg(16) + "/warmap.png").constData(), 0600), 0);
    QImage installed(32, 32, QImage::Format_ARGB32);
    installed.fill(QColor(200, 30, 40));
    ASSERT_TRUE(installed.save(apps.arg(32) + "/warmap.png"));
    const QIcon picture = tray::trayPicture(program);
    EXPECT_EQ(picture.availableSizes(), QList<QSize>{QSize(32, 32)});
    EXPECT_EQ(picture.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32), installed);

    ASSERT_TRUE(QDir(root.path() + "/share/icons").removeRecursively());
    ASSERT_TRUE(QFile::remove(ico));
    ASSERT_EQ(::mkfifo(QFile::encodeName(ico).constData(), 0600), 0);
    const QIcon fallback = tray::trayPicture(program);
    EXPECT_FALSE(fallback.isNull());
    EXPECT_FALSE(fallback.pixmap(16).isNull());
}

}  // namespace
