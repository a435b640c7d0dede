// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryChart.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>

#include "feed/Realms.h"
#include "history/ChangeText.h"
#include "notify/MessageLineRenderer.h"
#include "platform/NameText.h"

namespace history {
namespace {

constexpr qint64 kMillisecondsPerSecond = 1000;
constexpr Seconds kDay = 24 * 60 * 60;

QString TimeFormatFor(Seconds span) {
    if (span <= 2 * kDay) return QStringLiteral("hh:mm");
    if (span <= 10 * kDay) return QStringLiteral("dd.MM. hh:mm");
    return QStringLiteral("dd.MM.yy");
}

}  // namespace

HistoryChart::HistoryChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("HistoryChart"));
    setAccessibleName(QStringLiteral("Burgen und Türme der Reiche über die Zeit"));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    m_timeAxis = new QDateTimeAxis;
    m_countAxis = new QValueAxis;
    m_countAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    chart->addAxis(m_countAxis, Qt::AlignLeft);
    for (std::size_t r = 0; r < feed::RealmNames.size(); ++r) {
        const auto realm = static_cast<feed::Realm>(r);
        const QString name = platform::NameText(feed::RealmName(realm));
        for (const bool keeps : {true, false}) {
            auto* series = new QLineSeries;
            series->setName(name);
            QPen pen(notify::RealmColour(realm), keeps ? 2.5 : 1.5, keeps ? Qt::SolidLine : Qt::DashLine);
            series->setPen(pen);
            chart->addSeries(series);
            series->attachAxis(m_timeAxis);
            series->attachAxis(m_countAxis);
            m_series[r * 2 + (keeps ? 0 : 1)] = series;
        }
    }
    // One legend entry per realm; the axis tells keeps from towers.
    for (std::size_t s = 1; s < m_series.size(); s += 2) {
        for (QLegendMarker* marker : chart->legend()->markers(m_series[s])) marker->setVisible(false);
    }
    m_countAxis->setTitleText(QStringLiteral("Burgen und Türme (gestrichelt)"));
    setChart(chart);
}

void HistoryChart::SetTimeline(std::vector<TimelinePoint> timeline, Seconds from, Seconds to) {
    m_timeline = std::move(timeline);
    const Seconds start = std::max(from, m_timeline.empty() ? from : m_timeline.front().time);
    int most = 1;
    for (std::size_t s = 0; s < m_series.size(); ++s) {
        const std::size_t realm = s / 2;
        const bool keeps = s % 2 == 0;
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(m_timeline.size() * 2 + 1));
        for (const TimelinePoint& point : m_timeline) {
            const int count = keeps ? point.counts.keeps[realm] : point.counts.towers[realm];
            const qreal x = static_cast<qreal>(std::max(point.time, start) * kMillisecondsPerSecond);
            // Steps: the count holds until the pass that changed it.
            if (!points.isEmpty()) points.append(QPointF(x, points.back().y()));
            points.append(QPointF(x, count));
            most = std::max(most, count);
        }
        if (!points.isEmpty())
            points.append(QPointF(static_cast<qreal>(to * kMillisecondsPerSecond), points.back().y()));
        m_series[s]->replace(points);
    }
    m_timeAxis->setFormat(TimeFormatFor(to - start));
    m_timeAxis->setRange(QDateTime::fromSecsSinceEpoch(start), QDateTime::fromSecsSinceEpoch(std::max(to, start + 60)));
    m_countAxis->setRange(0, most + 1);
    m_countAxis->applyNiceNumbers();
}

QString HistoryChart::DescribePoint(const TimelinePoint& point, Seconds time) {
    QStringList realms;
    for (std::size_t r = 0; r < feed::RealmNames.size(); ++r) {
        realms << QStringLiteral("%1: %2 Burgen, %3 Türme")
                      .arg(platform::NameText(feed::RealmNames[r]))
                      .arg(point.counts.keeps[r])
                      .arg(point.counts.towers[r]);
    }
    return LocalTimeText(time) + QStringLiteral(" — ") + realms.join(QStringLiteral(" · "));
}

void HistoryChart::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    if (m_timeline.empty() || !chart()->plotArea().contains(event->position())) return;
    const QPointF value = chart()->mapToValue(event->position(), m_series[0]);
    const auto time = static_cast<Seconds>(value.x() / kMillisecondsPerSecond);
    const TimelinePoint* point = PointAt(m_timeline, time);
    const QString description = DescribePoint(*point, time);
    QString tip = description;
    tip.replace(QStringLiteral(" — "), QStringLiteral("\n")).replace(QStringLiteral(" · "), QStringLiteral("\n"));
    QToolTip::showText(event->globalPosition().toPoint(), tip, this);
    emit Pointed(description);
}

}  // namespace history
