// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "history/HistoryReader.h"

namespace history {

// The arithmetic of the chart's time axis, in local time.

// How often a stretch of the given length is sampled for the chart, so its steps stay apart: every
// pass (0) up to two days, then every 2 hours, 12 hours or day.
Seconds samplePeriod(Seconds span);

// The whole periods of local time (hours or days from local midnight) after from and up to to.
std::vector<Seconds> wholePeriods(Seconds from, Seconds to, Seconds period);

struct TimeTick {
    Seconds time;
    QString label;  // "14:00", "09.12." or "12.2026"
    bool operator==(const TimeTick&) const = default;
};

// At most most ticks between from and to, on whole hours (1, 2, 3, 6 or 12), days (1, 2 or a week from
// Monday) or months (1, 3 or 6) of local time, the fewest apart that fit. An hour tick at midnight
// names the day instead.
std::vector<TimeTick> timeTicks(Seconds from, Seconds to, int most);

}  // namespace history
