// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string_view>

namespace platform {

// A server's or realm's name from the program's tables, as Qt text (the tables are plain ASCII).
inline QString nameText(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace platform
