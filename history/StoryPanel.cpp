// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/StoryPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "history/ChangeText.h"
#include "history/StoryBand.h"
#include "platform/NameText.h"

namespace history {

StoryPanel::StoryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StoryPanel"));
    auto* chooser = new QHBoxLayout;
    auto* label = new QLabel(tr("Bauwerk"), this);
    m_structures = new QComboBox(this);
    m_structures->setObjectName(QStringLiteral("StructureCombo"));
    m_structures->setAccessibleName(tr("Bauwerk"));
    m_structures->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(m_structures);
    chooser->addWidget(label);
    chooser->addWidget(m_structures);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("StorySummary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_summary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    chooser->addStretch();
    m_band = new StoryBand(this);
    m_holds = new QTreeWidget(this);
    m_holds->setObjectName(QStringLiteral("HoldList"));
    m_holds->setAccessibleName(tr("Halter"));
    m_holds->setRootIsDecorated(false);
    m_holds->setUniformRowHeights(true);
    m_holds->setHeaderLabels({tr("Reich"), tr("Gilde"), tr("Beginn"), tr("Ende"), tr("Dauer")});
    m_holds->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_holds->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_holds->header()->setStretchLastSection(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(chooser);
    layout->addWidget(m_summary);
    layout->addWidget(m_band);
    layout->addWidget(m_holds, 1);
    connect(m_structures, &QComboBox::activated, this, [this] { emit structureChosen(chosen()); });
}

void StoryPanel::setStructures(const std::vector<std::pair<QString, std::string>>& structures) {
    const std::string before = chosen();
    const QSignalBlocker quiet(m_structures);
    m_structures->clear();
    for (const auto& [name, id] : structures) m_structures->addItem(name, QString::fromStdString(id));
    if (!choose(before) && m_structures->count()) m_structures->setCurrentIndex(0);
}

bool StoryPanel::choose(const std::string& id) {
    const int index = m_structures->findData(QString::fromStdString(id));
    if (index < 0) return false;
    const QSignalBlocker quiet(m_structures);
    m_structures->setCurrentIndex(index);
    return true;
}

std::string StoryPanel::chosen() const {
    return m_structures->currentData().toString().toStdString();
}

void StoryPanel::showStory(const QString& name, const StructureStory& story, Seconds from, Seconds to) {
    const QString changes = story.changes == 1 ? tr("1 Änderung") : tr("%1 Änderungen").arg(story.changes);
    if (const Hold* longest = story.longest())
        m_summary->setText(tr("%1: %2, am längsten gehalten von %3 (%4)")
                               .arg(name, changes, holderText(longest->holder), holdLengthText(*longest)));
    else
        m_summary->setText(tr("%1: im gewählten Zeitraum nicht im Feed").arg(name));
    m_band->setStory(story.holds, from, to);
    m_holds->clear();
    // Newest first, as the change list.
    for (auto hold = story.holds.rbegin(); hold != story.holds.rend(); ++hold) {
        const QString guild = hold->holder.guild.empty()
                                  ? tr("ohne Gilde")
                                  : platform::shownName(QString::fromStdString(hold->holder.guild));
        const QString start =
            hold->startKnown ? localTimeText(hold->start) : tr("%1 oder früher").arg(localTimeText(hold->start));
        const QString end = hold->running ? tr("noch gehalten") : localTimeText(hold->end);
        m_holds->addTopLevelItem(new QTreeWidgetItem(
            {QString::fromStdString(hold->holder.realm), guild, start, end, holdLengthText(*hold)}));
    }
}

}  // namespace history
