// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Result.h"
#include "feed/KeepNames.h"
#include "history/HistoryReader.h"
#include "keepmap/KeepMap.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;

namespace warmap {
class MapView;
}

namespace history {

class ChangeListView;
class HistoryChart;
class StoryPanel;

// "Warmap — Verlauf": for one server and a stretch of time, how many keeps and towers each realm held,
// the changes in that stretch, and the map as it was at any recorded moment. The changes can be
// exported as CSV.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    enum class Range { Day, Week, Month, All };

    // store may be null (no history this run); unavailable then says why. programFolder holds form/,
    // symbols/ and keepnames.ini.
    HistoryWindow(const HistoryReader* store, const QString& unavailable, const QString& programFolder,
                  QWidget* parent = nullptr);

    void chooseServer(int server);
    void chooseRange(Range range);
    // Shows the map at the moment-th recorded moment of the stretch.
    void chooseMoment(int moment);
    const std::vector<Moment>& moments() const { return m_moments; }
    const std::vector<Change>& changes() const { return m_changes; }
    // Shows the story of the structure with this feed id on the chosen server.
    void showStoryOf(const std::string& id);

    // Writes the stretch's changes as CSV and says so in the status line; fails with the system's cause
    // when the file could not be written.
    base::Result<void, QString> exportTo(const QString& path);

public slots:
    // Reads the history again, after a pass has added to it.
    void refresh();
    // Rings the structures this guild holds on the map; empty: none.
    void setMarkedGuild(const QString& guild);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void exportToFile();
    // The map as large as the height beside the chart allows, never larger than its own size.
    void fitMap();
    // The chart's read-out: the chosen server and what the pointer, else the chosen moment, shows.
    void showReadOut(const QString& description);
    void drawPanel(QPainter& painter) const;
    // The tab shown is brought up to date when it is shown: the others wait until they are.
    void updateShownTab();
    void updateStory();
    void updateContested();
    // The chosen server's structures by name, from the newest moment of the stretch.
    std::vector<std::pair<QString, std::string>> structureList() const;
    // Names the structure under the pointer, its holder at the slider's moment and since when.
    void updateHover(QPointF position);
    void showStoryAt(QPointF position);

    const HistoryReader* m_store;
    QString m_programFolder;
    feed::KeepNames m_names;
    keepmap::KeepMap m_keepMap;
    int m_server = 0;
    Range m_range = Range::Day;
    std::vector<Moment> m_moments;
    std::vector<Change> m_changes;
    Seconds m_from = 0;  // the stretch asked about: 0 for all of it
    Seconds m_to = 0;
    bool m_storyStale = true;  // the tabs that wait until they are shown
    bool m_contestedStale = true;
    std::optional<std::pair<int, std::int64_t>> m_hovered;  // the structure and pass the hover names

    QComboBox* m_serverCombo;
    QButtonGroup* m_ranges;
    QPushButton* m_exportButton;
    QStackedWidget* m_pages;
    QLabel* m_emptyLabel;
    HistoryChart* m_chart;
    QLabel* m_pointLabel;
    QTabWidget* m_tabs;
    ChangeListView* m_list;
    StoryPanel* m_story;
    QTreeWidget* m_contested;
    QLabel* m_hoverLabel;
    warmap::MapView* m_map;
    QWidget* m_mapColumn;
    QSlider* m_slider;
    QLabel* m_momentLabel;
    QLabel* m_statusLabel;
    QString m_panelDate;  // the feed's time stamp at the chosen moment, shown in the map's panel
};

}  // namespace history
