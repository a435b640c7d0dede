// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/TimeAxis.h"

#include <QDateTime>
#include <algorithm>

#include "platform/Theme.h"

namespace history {
namespace {

constexpr Seconds kHour = 60 * 60;
constexpr Seconds kDay = 24 * kHour;

QDateTime local(Seconds time) {
    return QDateTime::fromSecsSinceEpoch(time);
}

Seconds at(QDate day, int hour = 0) {
    return QDateTime(day, QTime(hour, 0)).toSecsSinceEpoch();
}

// Ticks every `hours` hours of each local day, or every `days` days, or every `months` months.
std::vector<TimeTick> every(Seconds from, Seconds to, int hours, int days, int months) {
    std::vector<TimeTick> ticks;
    const QDate first = local(from).date().addDays(-1);
    const QDate last = local(to).date();
    if (months > 0) {
        for (QDate month(first.year(), 1, 1); month <= last; month = month.addMonths(months)) {
            if (const Seconds t = at(month); t >= from && t <= to)
                ticks.push_back({t, local(t).toString(theme::kMonthFormat)});
        }
        return ticks;
    }
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        if (days > 0) {
            // Weeks start on Monday; two days apart from the first day of the year.
            const bool on = days == 7 ? day.dayOfWeek() == 1 : (day.dayOfYear() - 1) % days == 0;
            if (const Seconds t = at(day); on && t >= from && t <= to)
                ticks.push_back({t, local(t).toString(theme::kDayFormat)});
            continue;
        }
        for (int hour = 0; hour < 24; hour += hours) {
            const Seconds t = at(day, hour);
            if (t < from || t > to) continue;
            ticks.push_back({t, local(t).toString(hour == 0 ? theme::kDayFormat : theme::kTimeFormat)});
        }
    }
    return ticks;
}

}  // namespace

Seconds samplePeriod(Seconds span) {
    if (span <= 2 * kDay) return 0;
    if (span <= 10 * kDay) return 2 * kHour;
    if (span <= 60 * kDay) return 12 * kHour;
    return kDay;
}

std::vector<Seconds> wholePeriods(Seconds from, Seconds to, Seconds period) {
    std::vector<Seconds> times;
    if (period <= 0) return times;
    // Counted on the local clock of each day, so whole hours stay whole across daylight saving.
    const int hours = static_cast<int>(std::clamp<Seconds>(period / kHour, 1, 24));
    const int days = static_cast<int>(std::max<Seconds>(1, period / kDay));
    const QDate last = local(to).date();
    for (QDate day = local(from).date(); day <= last; day = day.addDays(days)) {
        for (int hour = 0; hour < 24; hour += hours) {
            const Seconds t = at(day, hour);
            if (t > from && t <= to) times.push_back(t);
        }
    }
    return times;
}

std::vector<TimeTick> timeTicks(Seconds from, Seconds to, int most) {
    struct Spacing {
        int hours, days, months;
    };
    constexpr Spacing kSpacings[] = {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {6, 0, 0}, {12, 0, 0}, {0, 1, 0},
                                     {0, 2, 0}, {0, 7, 0}, {0, 0, 1}, {0, 0, 3}, {0, 0, 6},  {0, 0, 12}};
    std::vector<TimeTick> ticks;
    for (const Spacing& spacing : kSpacings) {
        ticks = every(from, to, spacing.hours, spacing.days, spacing.months);
        if (static_cast<int>(ticks.size()) <= most) return ticks;
    }
    return ticks;
}

}  // namespace history
