// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
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
    setWindowTitle(QStringLiteral("Warmap \u2014 Einstellungen"));
    auto* layout = new QVBoxLayout(this);

    auto* feedBox = new QGroupBox(QStringLiteral("Feed-Adresse"));
    auto* feedLayout = new QGridLayout(feedBox);
    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("FeedNote"));
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::RichText);
    m_note->hide();
    m_feedBase = new QLineEdit(current.feedBase);
    m_feedBase->setObjectName(QStringLiteral("FeedBase"));
    m_feedBase->setPlaceholderText(m_besideFile.base.isEmpty() ? QStringLiteral("https://\u2026") : m_besideFile.base);
    m_feedBase->setAccessibleName(QStringLiteral("Feed-Adresse"));
    m_feedBase->setMinimumWidth(300);
    m_check = new QPushButton(QStringLiteral("Pr\u00fcfen"));
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
        m_note->setText(
            html(QStringLiteral("Dieser Lauf verwendet die Adresse aus %1; sie gilt vor der hier gespeicherten.")
                     .arg(sourceText(decides))));
        m_note->show();
    }
    // A result belongs to the address it was found for.
    connect(m_feedBase, &QLineEdit::textChanged, this, [this] { say(QString(), false); });

    auto* noticeBox = new QGroupBox(QStringLiteral("Meldungen f\u00fcr"));
    auto* noticeLayout = new QGridLayout(noticeBox);
    for (std::size_t i = 0; i < m_servers.size(); ++i) {
        m_servers[i] = new QCheckBox(platform::nameText(feed::kServerNames[i]));
        m_servers[i]->setChecked(current.notifyServer[i]);
        noticeLayout->addWidget(m_servers[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    auto* realmLabel = new QLabel(QStringLiteral("Nur Meldungen, an denen dieses Reich beteiligt ist"));
    m_realm = new QComboBox;
    m_realm->addItem(QStringLiteral("alle Reiche"));
    for (std::string_view realm : feed::kRealmNames) m_realm->addItem(platform::nameText(realm));
    m_realm->setCurrentIndex(current.onlyRealm ? static_cast<int>(*current.onlyRealm) + 1 : 0);
    realmLabel->setBuddy(m_realm);
    noticeLayout->addWidget(realmLabel, 2, 0, 1, 2);
    noticeLayout->addWidget(m_realm, 3, 0, 1, 2);
    m_sound = new QCheckBox(QStringLiteral("Ton bei Meldungen"));
    m_sound->setChecked(current.sound);
    noticeLayout->addWidget(m_sound, 4, 0, 1, 2);
    layout->addWidget(noticeBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
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
    chosen.sound = m_sound->isChecked();
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

void SettingsDialog::askForFeedBase() {
    QString text;
    if (m_besideFile.refused != FeedBaseSource::None) {
        text = html(QStringLiteral("Die Adresse aus %1 ist nicht zu gebrauchen: %2")
                        .arg(sourceText(m_besideFile.refused), problemText(m_besideFile.refusedBecause))) +
               QStringLiteral("<br>");
    }
    text += QStringLiteral(
        "Warmap braucht die Adresse des Feed-Servers des Spiels: Schema, Rechner und Port, etwa "
        "<nobr>https://feed.example</nobr>. \u201ePr\u00fcfen\u201c holt einen Feed zur Probe; "
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
        return say(QStringLiteral("Es ist noch keine Feed-Adresse eingestellt; tragen Sie eine ein."), true);
    } else {
        which = QStringLiteral("%1 (aus %2)").arg(feedBase, sourceText(m_besideFile.source));
    }
    if (!m_checkFeed) return;
    // Disabled while it runs, so it cannot run twice; the keyboard focus comes back to it afterwards.
    const bool hadFocus = m_check->hasFocus();
    m_check->setEnabled(false);
    say(QStringLiteral("Pr\u00fcfe %1 \u2026").arg(which), false);
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
