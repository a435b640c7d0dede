// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChartView>
#include <array>
#include <vector>

#include "history/Timeline.h"

class QCategoryAxis;
class QLineSeries;
class QValueAxis;

namespace history {

// How many keeps (solid) and towers (dashed) each realm held over a stretch of time, in the realms'
// colours, as steps; a long stretch one step per whole period. Ticks lie on whole hours or days, and
// the legend shows the realms and the two line styles. Pointing at it tells the time and the counts.
class HistoryChart : public QChartView {
    Q_OBJECT
public:
    explicit HistoryChart(QWidget* parent = nullptr);

    void setTimeline(std::vector<TimelinePoint> timeline, Seconds from, Seconds to);
    // What was held at a time (to the pass, though a long stretch is drawn by periods); empty without
    // a timeline.
    QString describeTime(Seconds time) const;

    // What the chart says of a moment: its local time and every realm's keeps and towers.
    static QString describePoint(const TimelinePoint& point, Seconds time);

signals:
    void pointed(const QString& description);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::vector<TimelinePoint> m_timeline;
    std::array<QLineSeries*, 6> m_series{};  // keeps, then towers, of each realm
    QCategoryAxis* m_timeAxis;
    QValueAxis* m_countAxis;
};

}  // namespace history
