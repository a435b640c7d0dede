// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include "platform/NameText.h"
#include "settings/FeedAddress.h"

namespace settings {

namespace {

// A text for the window's rich-text labels: "(--feed-base)" must never break after its dashes.
QString html(const QString& text) {
    return text.toHtmlEscaped().replace(QStringLiteral("(--feed-base)"), QStringLiteral("<nobr>(--feed-base)</nobr>"));
}

}  // namespace

SettingsDialog::SettingsDialog(const Settings& current, FeedBaseChoice besideFile, FeedCheck check, QWidget* parent)
    : QDialog(parent), m_besideFile(std::move(besideFile)), m_checkFeed(std::move(check)) {
    setWindowTitle(tr("Warmap — Einstellungen"));
    auto* layout = new QVBoxLayout(this);

    auto* feedBox = new QGroupBox(tr("Feed-Adresse"));
    auto* feedLayout = new QGridLayout(feedBox);
    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("FeedNote"));
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::RichText);
    m_note->hide();
    m_feedBase = new QLineEdit(current.feedBase);
    m_feedBase->setObjectName(QStringLiteral("FeedBase"));
    m_feedBase->setPlaceholderText(m_besideFile.base.isEmpty() ? QStringLiteral("https://…") : m_besideFile.base);
    m_feedBase->setAccessibleName(tr("Feed-Adresse"));
    m_feedBase->setMinimumWidth(300);
    m_check = new QPushButton(tr("Prüfen"));
    m_check->setAutoDefault(false);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("FeedStatus"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::RichText);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->hide();
    feedLayout->addWidget(m_note, 0, 0, 1, 2);
    feedLayout->addWidget(m_feedBase, 1, 0);
    feedLayout->addWidget(m_check, 1, 1);
    feedLayout->addWidget(m_status, 2, 0, 1, 2);
    layout->addWidget(feedBox);
    const FeedBaseSource decides = m_besideFile.source;
    if (decides == FeedBaseSource::CommandLine || decides == FeedBaseSource::Environment) {
        m_note->setText(html(tr("Dieser Lauf verwendet die Adresse aus %1; sie gilt vor der hier gespeicherten.")
                                 .arg(sourceText(decides))));
        m_note->show();
    }
    // A result belongs to the address it was found for.
    connect(m_feedBase, &QLineEdit::textChanged, this, [this] { say(QString(), false); });

    auto* noticeBox = new QGroupBox(tr("Meldungen für"));
    auto* noticeLayout = new QGridLayout(noticeBox);
    for (std::size_t i = 0; i < m_servers.size(); ++i) {
        m_servers[i] = new QCheckBox(platform::nameText(feed::kServerNames[i]));
        m_servers[i]->setChecked(current.notifyServer[i]);
        noticeLayout->addWidget(m_servers[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    auto* realmLabel = new QLabel(tr("Nur Meldungen, an denen dieses Reich beteiligt ist"));
    m_realm = new QComboBox;
    m_realm->addItem(tr("alle Reiche"));
    for (std::string_view realm : feed::kRealmNames) m_realm->addItem(platform::nameText(realm));
    m_realm->setCurrentIndex(current.onlyRealm ? static_cast<int>(*current.onlyRealm) + 1 : 0);
    realmLabel->setBuddy(m_realm);
    noticeLayout->addWidget(realmLabel, 2, 0, 1, 2);
    noticeLayout->addWidget(m_realm, 3, 0, 1, 2);
    // The guild exactly as the feed writes it: names are shown and stored as plain text, never markup.
    auto* guildLabel = new QLabel(tr("Meine Gilde"));
    m_guild = new QLineEdit(current.guild);
    m_guild->setObjectName(QStringLiteral("GuildEdit"));
    m_guild->setAccessibleName(tr("Meine Gilde"));
    m_guild->setPlaceholderText(tr("keine"));
    m_guild->setCompleter(new QCompleter(new QStringListModel(this), m_guild));
    m_guild->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_guild->completer()->setFilterMode(Qt::MatchContains);
    guildLabel->setBuddy(m_guild);
    m_onlyGuild = new QCheckBox(tr("Nur Meldungen, an denen meine Gilde beteiligt ist"));
    m_onlyGuild->setObjectName(QStringLiteral("OnlyGuild"));
    m_onlyGuild->setChecked(current.onlyGuild);
    m_guildNote = new QLabel;
    m_guildNote->setObjectName(QStringLiteral("GuildNote"));
    m_guildNote->setTextFormat(Qt::PlainText);
    m_guildNote->setWordWrap(true);
    m_guildNote->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_guildNote->hide();
    noticeLayout->addWidget(guildLabel, 4, 0, 1, 2);
    noticeLayout->addWidget(m_guild, 5, 0, 1, 2);
    noticeLayout->addWidget(m_guildNote, 6, 0, 1, 2);
    noticeLayout->addWidget(m_onlyGuild, 7, 0, 1, 2);
    connect(m_guild, &QLineEdit::textChanged, this, &SettingsDialog::updateGuildNote);
    m_sound = new QCheckBox(tr("Ton bei Meldungen"));
    m_sound->setChecked(current.sound);
    noticeLayout->addWidget(m_sound, 8, 0, 1, 2);
    layout->addWidget(noticeBox);

    // Each language by its own name, so a player finds theirs whatever the program speaks now.
    auto* languageBox = new QGroupBox(tr("Sprache"));
    auto* languageLayout = new QVBoxLayout(languageBox);
    m_language = new QComboBox;
    m_language->setObjectName(QStringLiteral("LanguageCombo"));
    m_language->setAccessibleName(tr("Sprache"));
    m_language->addItem(QStringLiteral("Deutsch"), static_cast<int>(platform::LanguageChoice::German));
    m_language->addItem(QStringLiteral("English"), static_cast<int>(platform::LanguageChoice::English));
    m_language->addItem(tr("Wie das System"), static_cast<int>(platform::LanguageChoice::System));
    m_language->setCurrentIndex(m_language->findData(static_cast<int>(current.language)));
    auto* languageNote = new QLabel(tr("Gilt für Fenster, die danach geöffnet werden, ganz nach einem Neustart."));
    languageNote->setWordWrap(true);
    languageLayout->addWidget(m_language);
    languageLayout->addWidget(languageNote);
    layout->addWidget(languageBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
    connect(m_check, &QPushButton::clicked, this, &SettingsDialog::check);
}

base::Result<Settings, QString> SettingsDialog::chosenSettings() const {
    Settings chosen;
    if (!m_feedBase->text().trimmed().isEmpty()) {
        const auto normalised = normalisedFeedBase(m_feedBase->text());
        if (!normalised) return base::Failure{problemText(normalised.error())};
        chosen.feedBase = *normalised;
    } else if (m_besideFile.base.isEmpty()) {
        // Nothing else gives this run an address: without one Warmap could never poll.
        return base::Failure{problemText(AddressProblem::Empty)};
    }
    for (std::size_t i = 0; i < m_servers.size(); ++i) chosen.notifyServer[i] = m_servers[i]->isChecked();
    if (m_realm->currentIndex() > 0) chosen.onlyRealm = static_cast<feed::Realm>(m_realm->currentIndex() - 1);
    chosen.guild = m_guild->text();
    chosen.onlyGuild = m_onlyGuild->isChecked();
    chosen.sound = m_sound->isChecked();
    chosen.language = static_cast<platform::LanguageChoice>(m_language->currentData().toInt());
    return chosen;
}

void SettingsDialog::accept() {
    const base::Result<Settings, QString> chosen = chosenSettings();
    if (!chosen) {
        say(chosen.error(), true);
        m_feedBase->setFocus();
        return;
    }
    if (m_saver) {
        if (const base::Result<void, QString> saved = m_saver->save(*chosen); !saved) return say(saved.error(), true);
    }
    QDialog::accept();
}

void SettingsDialog::setGuildNames(const QStringList& inLastFeeds, const QStringList& inHistory) {
    m_lastFeedGuilds = inLastFeeds;
    QStringList names = inLastFeeds + inHistory;
    names.removeDuplicates();
    names.removeAll(QString());
    names.sort(Qt::CaseInsensitive);
    static_cast<QStringListModel*>(m_guild->completer()->model())->setStringList(names);
    updateGuildNote();
}

void SettingsDialog::updateGuildNote() {
    // Without any last feed there is nothing to say either way.
    const QString guild = m_guild->text();
    const bool unseen = !guild.isEmpty() && !m_lastFeedGuilds.isEmpty() && !m_lastFeedGuilds.contains(guild);
    m_guildNote->setText(unseen ? tr("„%1“ kam im letzten Feed nicht vor.").arg(platform::shownName(guild))
                                : QString());
    m_guildNote->setVisible(unseen);
}

void SettingsDialog::askForFeedBase() {
    QString text;
    if (m_besideFile.refused != FeedBaseSource::None) {
        text = html(tr("Die Adresse aus %1 ist nicht zu gebrauchen: %2")
                        .arg(sourceText(m_besideFile.refused), problemText(m_besideFile.refusedBecause))) +
               QStringLiteral("<br>");
    }
    text +=
        tr("Warmap braucht die Adresse des Feed-Servers des Spiels: Schema, Rechner und Port, etwa "
           "<nobr>https://feed.example</nobr>. „Prüfen“ holt einen Feed zur Probe; "
           "mit OK beginnt der erste Abgleich.");
    m_note->setText(text);
    m_note->show();
    m_feedBase->setFocus();
}

void SettingsDialog::check() {
    const QString typed = m_feedBase->text().trimmed();
    QString feedBase = m_besideFile.base;
    QString which;  // the address tested, and where it comes from unless typed here
    if (!typed.isEmpty()) {
        const auto normalised = normalisedFeedBase(typed);
        if (!normalised) return say(problemText(normalised.error()), true);
        feedBase = which = *normalised;
    } else if (feedBase.isEmpty()) {
        return say(tr("Es ist noch keine Feed-Adresse eingestellt; tragen Sie eine ein."), true);
    } else {
        which = tr("%1 (aus %2)").arg(feedBase, sourceText(m_besideFile.source));
    }
    if (!m_checkFeed) return;
    // Disabled while it runs, so it cannot run twice; the keyboard focus comes back to it afterwards.
    const bool hadFocus = m_check->hasFocus();
    m_check->setEnabled(false);
    say(tr("Prüfe %1 …").arg(which), false);
    // The check lets events run; the window may be closed or the field changed meanwhile.
    QPointer<SettingsDialog> self(this);
    const base::Result<QString, QString> verdict = m_checkFeed(feedBase);
    if (!self) return;
    m_check->setEnabled(true);
    if (hadFocus) m_check->setFocus();
    if (m_feedBase->text().trimmed() != typed) return;
    say(which + QStringLiteral(": ") + (verdict ? *verdict : verdict.error()), !verdict);
}

void SettingsDialog::say(const QString& text, bool problem) {
    m_status->setText(html(text));
    m_status->setVisible(!text.isEmpty());
    m_status->setStyleSheet(problem ? QStringLiteral("color: #a01010;") : QString());
}

}  // namespace settings
