// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "history/StructureStory.h"

class QComboBox;
class QLabel;
class QTreeWidget;

namespace history {

class StoryBand;

// One structure's story over the chosen stretch: which structure (chosen by name), how often it changed
// hands and its longest hold, the band of its holders, and every hold with its start, end and length.
class StoryPanel : public QWidget {
    Q_OBJECT
public:
    explicit StoryPanel(QWidget* parent = nullptr);

    // The structures to choose from, as (name, feed id), in the order shown; the chosen one stays
    // chosen when it is among them.
    void setStructures(const std::vector<std::pair<QString, std::string>>& structures);
    // Chooses the structure without telling structureChosen; false when it is not among them.
    bool choose(const std::string& id);
    std::string chosen() const;

    void showStory(const QString& name, const StructureStory& story, Seconds from, Seconds to);

signals:
    void structureChosen(const std::string& id);

private:
    QComboBox* m_structures;
    QLabel* m_summary;
    StoryBand* m_band;
    QTreeWidget* m_holds;
};

}  // namespace history
