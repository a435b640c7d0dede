// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryChart.h"

#include <QCategoryAxis>
#include <QDateTime>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>

#include "feed/Frontier.h"
#include "history/ChangeText.h"
#include "history/TimeAxis.h"
#include "notify/MessageLineRenderer.h"
#include "platform/NameText.h"

namespace history {
namespace {

constexpr qint64 kMillisecondsPerSecond = 1000;
constexpr int kMostTicks = 8;
const QColor kStyleInk(90, 90, 90);

qreal ms(Seconds time) {
    return static_cast<qreal>(time * kMillisecondsPerSecond);
}

QPen linePen(const QColor& colour, bool keeps) {
    return QPen(colour, keeps ? 2.5 : 1.5, keeps ? Qt::SolidLine : Qt::DashLine);
}

}  // namespace

HistoryChart::HistoryChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("HistoryChart"));
    setAccessibleName(tr("Burgen und Türme der Reiche über die Zeit"));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    m_timeAxis = new QCategoryAxis;
    m_timeAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_countAxis = new QValueAxis;
    m_countAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    chart->addAxis(m_countAxis, Qt::AlignLeft);
    const auto add = [&](const QString& name, const QPen& pen) {
        auto* series = new QLineSeries;
        series->setName(name);
        series->setPen(pen);
        chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_countAxis);
        return series;
    };
    for (std::size_t r = 0; r < feed::kRealmNames.size(); ++r) {
        const auto realm = static_cast<feed::Realm>(r);
        const QString name = platform::nameText(feed::realmName(realm));
        for (const bool keeps : {true, false})
            m_series[r * 2 + (keeps ? 0 : 1)] = add(name, linePen(notify::realmColour(realm), keeps));
    }
    // The legend: each realm's colour once, then the two line styles, drawn as lines.
    for (std::size_t s = 1; s < m_series.size(); s += 2) {
        for (QLegendMarker* marker : chart->legend()->markers(m_series[s])) marker->setVisible(false);
    }
    for (const bool keeps : {true, false}) {
        QLineSeries* style = add(keeps ? tr("Burgen") : tr("Türme"), linePen(kStyleInk, keeps));
        for (QLegendMarker* marker : chart->legend()->markers(style)) marker->setShape(QLegend::MarkerShapeFromSeries);
    }
    setChart(chart);
}

void HistoryChart::setTimeline(std::vector<TimelinePoint> timeline, Seconds from, Seconds to) {
    const Seconds start = std::max(from, timeline.empty() ? from : timeline.front().time);
    const Seconds end = std::max(to, start + 60);
    // Beyond two days one step per pass would tangle six lines: the state at every whole period instead.
    const Seconds period = samplePeriod(end - start);
    m_timeline = std::move(timeline);
    const std::vector<TimelinePoint> sampled =
        period > 0 ? sampledAt(m_timeline, wholePeriods(start, end, period)) : std::vector<TimelinePoint>{};
    const std::vector<TimelinePoint>& drawn = period > 0 ? sampled : m_timeline;
    int most = 1;
    for (std::size_t s = 0; s < m_series.size(); ++s) {
        const std::size_t realm = s / 2;
        const bool keeps = s % 2 == 0;
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(drawn.size() * 2 + 1));
        for (const TimelinePoint& point : drawn) {
            const int count = keeps ? point.counts.keeps[realm] : point.counts.towers[realm];
            const qreal x = ms(std::max(point.time, start));
            // Steps: the count holds until the pass that changed it.
            if (!points.isEmpty()) points.append(QPointF(x, points.back().y()));
            points.append(QPointF(x, count));
            most = std::max(most, count);
        }
        if (!points.isEmpty()) points.append(QPointF(ms(end), points.back().y()));
        m_series[s]->replace(points);
    }
    for (const QString& label : m_timeAxis->categoriesLabels()) m_timeAxis->remove(label);
    m_timeAxis->setStartValue(ms(start));
    // The axis wants every label once; a time of day may come twice in a long stretch.
    QStringList labels;
    for (const TimeTick& tick : timeTicks(start, end, kMostTicks)) {
        QString label = tick.label;
        while (labels.contains(label)) label += QChar(0x200B);
        labels << label;
        m_timeAxis->append(label, ms(tick.time));
    }
    m_timeAxis->setRange(ms(start), ms(end));
    m_countAxis->setRange(0, most + 1);
    m_countAxis->applyNiceNumbers();
}

QString HistoryChart::describeTime(Seconds time) const {
    const TimelinePoint* point = pointAt(m_timeline, time);
    return point ? describePoint(*point, time) : QString();
}

QString HistoryChart::describePoint(const TimelinePoint& point, Seconds time) {
    QStringList realms;
    for (std::size_t r = 0; r < feed::kRealmNames.size(); ++r) {
        realms << tr("%1: %2 Burgen, %3 Türme")
                      .arg(platform::nameText(feed::kRealmNames[r]))
                      .arg(point.counts.keeps[r])
                      .arg(point.counts.towers[r]);
    }
    return localTimeText(time) + QStringLiteral(" — ") + realms.join(QStringLiteral(" · "));
}

void HistoryChart::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    if (m_timeline.empty() || !chart()->plotArea().contains(event->position())) return;
    const QPointF value = chart()->mapToValue(event->position(), m_series[0]);
    const auto time = static_cast<Seconds>(value.x() / kMillisecondsPerSecond);
    const QString description = describeTime(time);
    QString tip = description;
    tip.replace(QStringLiteral(" — "), QStringLiteral("\n")).replace(QStringLiteral(" · "), QStringLiteral("\n"));
    QToolTip::showText(event->globalPosition().toPoint(), tip, this);
    emit pointed(description);
}

}  // namespace history
