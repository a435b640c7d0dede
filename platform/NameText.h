// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string_view>

namespace platform {

// A server's or realm's name from the program's tables, as Qt text (the tables are plain ASCII).
inline QString nameText(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// A name from outside (a guild's, as a feed or the player wrote it) for a sentence of ours: control
// characters made visible, cut after most characters, and isolated so that right-to-left text never
// reorders the words around it.
inline QString shownName(const QString& name, qsizetype most = 60) {
    QString shown = name;
    if (shown.size() > most) {
        shown.truncate(most - 1);
        if (shown.back().isHighSurrogate()) shown.chop(1);  // never half a character
        shown += QChar(0x2026);
    }
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control) c = QChar(QChar::ReplacementCharacter);
    }
    return QChar(0x2068) + shown + QChar(0x2069);
}

}  // namespace platform
