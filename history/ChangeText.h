// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "history/HistoryReader.h"
#include "history/StructureStory.h"

namespace feed {
class KeepNames;
}

namespace history {

// A pass time as the history window shows it: local time, "08.12.2026 10:20".
QString localTimeText(Seconds time);

// The catalogue's name of a structure; one the map has no place for (one the publisher added since)
// by its id, where the catalogue does not know it either.
std::string structureName(const std::string& id, const feed::KeepNames& names);

// A length of time, to the minute, in its two largest units: "3 Tage 4 Std.", "5 Std. 20 Min.", "12 Min.".
QString durationText(Seconds length);

// A hold's length: "3 Tage 4 Std.", "mindestens 3 Tage" when it was held before the history began.
QString holdLengthText(const Hold& hold);

// Who holds a structure: "Midgard (Moorwarden)", "Albion (ohne Gilde)".
QString holderText(const Holder& holder);

// One change in the popup's line markup: its time, the structure in its old realm's colour, the arrow,
// the new realm in its colour, and the guild that holds it now.
std::string changeLine(const Change& change, const HistoryReader& words, const feed::KeepNames& names);

// The changes as CSV (RFC 4180: comma-separated, CRLF line ends, fields quoted where they must be),
// UTF-8 with a header row. Times are local, in ISO 8601 with their offset. A text that a spreadsheet
// would take for a formula starts with an apostrophe.
std::string changesCsv(const std::vector<Change>& changes, int server, const HistoryReader& words,
                       const feed::KeepNames& names);

}  // namespace history
