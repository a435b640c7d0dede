// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "base/Result.h"
#include "settings/FeedAddress.h"
#include "settings/Settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace settings {

// Takes the settings window's choice (saves it, say), or refuses it with a reason.
class SettingsSaver {
public:
    virtual ~SettingsSaver() = default;
    virtual base::Result<void, QString> save(const Settings& chosen) = 0;
};

// "Warmap — Einstellungen": the feed host, which servers and which realm to be told of, the sound.
// OK hands the choice to the saver, which may refuse it with a reason; the window then stays open.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Checks a feed host once: the verdict when it serves a feed, else why not.
    using FeedCheck = std::function<base::Result<QString, QString>(const QString& feedBase)>;

    // besideFile is the feed host this run takes when the file sets none: from the command line or
    // WARMAP_FEED_BASE (which go before the file) or the build's default; or none.
    SettingsDialog(const Settings& current, FeedBaseChoice besideFile, FeedCheck check, QWidget* parent = nullptr);

    // Who takes the choice on OK; without one OK only closes the window.
    void setSaver(SettingsSaver* saver) { m_saver = saver; }

    // The choice as it stands; fails saying why when the feed address is refused.
    base::Result<Settings, QString> chosenSettings() const;

    // The guild names to complete "Meine Gilde" from: those of the servers' last feeds (a name not
    // among them is pointed out) and those the history remembers.
    void setGuildNames(const QStringList& inLastFeeds, const QStringList& inHistory);

    // Says that Warmap needs a feed address (and why the one given cannot be used), with the keyboard
    // focus in the address field.
    void askForFeedBase();

    void accept() override;

private:
    void check();
    void say(const QString& text, bool problem);
    void updateGuildNote();

    FeedBaseChoice m_besideFile;
    QLabel* m_note;
    QLineEdit* m_feedBase;
    QPushButton* m_check;
    QLabel* m_status;
    std::array<QCheckBox*, feed::kServerNames.size()> m_servers;
    QComboBox* m_realm;
    QLineEdit* m_guild;
    QCheckBox* m_onlyGuild;
    QLabel* m_guildNote;
    QStringList m_lastFeedGuilds;
    QCheckBox* m_sound;
    QComboBox* m_language;
    FeedCheck m_checkFeed;
    SettingsSaver* m_saver = nullptr;
};

}  // namespace settings
