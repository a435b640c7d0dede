// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace history {

// "warmap.history": the history file and its window.
Q_DECLARE_LOGGING_CATEGORY(lcHistory)

}  // namespace history
