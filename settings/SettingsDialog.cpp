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

SettingsDialog::SettingsDialog(const Settings& current, const QString& builtInFeedBase, const QString& overriddenBy,
                               FeedCheck check, QWidget* parent)
    : QDialog(parent), m_checkFeed(std::move(check)) {
    setWindowTitle(QStringLiteral("Warmap \u2014 Einstellungen"));
    auto* layout = new QVBoxLayout(this);

    auto* feedBox = new QGroupBox(QStringLiteral("Feed-Adresse"));
    auto* feedLayout = new QGridLayout(feedBox);
    m_feedBase = new QLineEdit(current.feedBase);
    m_feedBase->setPlaceholderText(builtInFeedBase);
    m_feedBase->setAccessibleName(QStringLiteral("Feed-Adresse"));
    m_feedBase->setMinimumWidth(300);
    m_check = new QPushButton(QStringLiteral("Pr\u00fcfen"));
    m_check->setAutoDefault(false);
    m_status = new QLabel;
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->hide();
    feedLayout->addWidget(m_feedBase, 0, 0);
    feedLayout->addWidget(m_check, 0, 1);
    feedLayout->addWidget(m_status, 1, 0, 1, 2);
    layout->addWidget(feedBox);
    if (!overriddenBy.isEmpty())
        Say(QStringLiteral("Dieser Lauf verwendet die Adresse aus %1; sie gilt vor der hier gespeicherten.")
                .arg(overriddenBy),
            false);

    auto* noticeBox = new QGroupBox(QStringLiteral("Meldungen f\u00fcr"));
    auto* noticeLayout = new QGridLayout(noticeBox);
    for (std::size_t i = 0; i < m_servers.size(); ++i) {
        m_servers[i] = new QCheckBox(platform::NameText(feed::ServerNames[i]));
        m_servers[i]->setChecked(current.notifyServer[i]);
        noticeLayout->addWidget(m_servers[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    auto* realmLabel = new QLabel(QStringLiteral("Nur Meldungen, an denen dieses Reich beteiligt ist"));
    m_realm = new QComboBox;
    m_realm->addItem(QStringLiteral("alle Reiche"));
    for (std::string_view realm : feed::RealmNames) m_realm->addItem(platform::NameText(realm));
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
    connect(m_check, &QPushButton::clicked, this, &SettingsDialog::Check);
}

std::optional<Settings> SettingsDialog::Chosen(QString* problem) const {
    Settings chosen;
    if (!m_feedBase->text().trimmed().isEmpty()) {
        chosen.feedBase = NormalisedFeedBase(m_feedBase->text(), problem);
        if (chosen.feedBase.isEmpty()) return std::nullopt;
    }
    for (std::size_t i = 0; i < m_servers.size(); ++i) chosen.notifyServer[i] = m_servers[i]->isChecked();
    if (m_realm->currentIndex() > 0) chosen.onlyRealm = static_cast<feed::Realm>(m_realm->currentIndex() - 1);
    chosen.sound = m_sound->isChecked();
    return chosen;
}

void SettingsDialog::accept() {
    QString problem;
    const std::optional<Settings> chosen = Chosen(&problem);
    if (!chosen) {
        Say(problem, true);
        m_feedBase->setFocus();
        return;
    }
    if (onSave && !onSave(*chosen, &problem)) return Say(problem, true);
    QDialog::accept();
}

void SettingsDialog::Check() {
    QString problem;
    const QString typed = m_feedBase->text().trimmed();
    const QString base = NormalisedFeedBase(typed.isEmpty() ? m_feedBase->placeholderText() : typed, &problem);
    if (base.isEmpty()) return Say(problem, true);
    if (!m_checkFeed) return;
    // Disabled while it runs, so it cannot run twice; the keyboard focus comes back to it afterwards.
    const bool hadFocus = m_check->hasFocus();
    m_check->setEnabled(false);
    Say(QStringLiteral("Pr\u00fcfe %1 \u2026").arg(base), false);
    // The check lets events run; the window may be closed meanwhile.
    QPointer<SettingsDialog> self(this);
    QString verdict;
    const bool isFeed = m_checkFeed(base, &verdict);
    if (!self) return;
    m_check->setEnabled(true);
    if (hadFocus) m_check->setFocus();
    Say(verdict, !isFeed);
}

void SettingsDialog::Say(const QString& text, bool problem) {
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
    m_status->setStyleSheet(problem ? QStringLiteral("color: #a01010;") : QString());
}

}  // namespace settings
