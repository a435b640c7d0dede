// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/ChangeText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <algorithm>
#include <charconv>
#include <string_view>
#include <unordered_map>

#include "base/Wording.h"
#include "feed/CompareKeeps.h"
#include "feed/Frontier.h"
#include "feed/KeepNames.h"
#include "platform/NameText.h"
#include "platform/Theme.h"

namespace history {
namespace {

// A field as RFC 4180 wants it: quoted, with quotes doubled, when it holds a comma, a quote or a line
// break. Guild names come from the feed: one that starts like a formula gets a leading apostrophe, so
// a spreadsheet shows it instead of running it.
std::string csvField(std::string text) {
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        text.insert(0, 1, '\'');
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string structureName(const std::string& id, const feed::KeepNames& names) {
    std::string name = names.keepName(id);
    int number = -1;
    const auto parsed = std::from_chars(id.data(), id.data() + id.size(), number);
    const bool placed =
        parsed.ec == std::errc() && parsed.ptr == id.data() + id.size() && number >= 0 && number < feed::kStructures;
    return name == feed::KeepNames::kUnknown && !placed
               ? base::filled(base::translate("history::ChangeText", "Bauwerk %1"), {id})
               : name;
}

QString durationText(Seconds length) {
    const Seconds minutes = std::max<Seconds>(length, 0) / 60;
    const Seconds days = minutes / (24 * 60), hours = minutes / 60 % 24, rest = minutes % 60;
    const auto unit = [](Seconds n, const char* one, const char* many) {
        return n == 1 ? QCoreApplication::translate("history::ChangeText", one)
                      : QCoreApplication::translate("history::ChangeText", many).arg(n);
    };
    const QString dayText = unit(days, QT_TRANSLATE_NOOP("history::ChangeText", "1 Tag"),
                                 QT_TRANSLATE_NOOP("history::ChangeText", "%1 Tage"));
    const QString hourText =
        QCoreApplication::translate("history::ChangeText", "%1 Std.").arg(days ? hours : minutes / 60);
    const QString minuteText = QCoreApplication::translate("history::ChangeText", "%1 Min.").arg(rest);
    if (days) return hours ? dayText + QLatin1Char(' ') + hourText : dayText;
    if (minutes >= 60) return rest ? hourText + QLatin1Char(' ') + minuteText : hourText;
    return minuteText;
}

QString holdLengthText(const Hold& hold) {
    const QString length = durationText(hold.length());
    return hold.startKnown ? length : QCoreApplication::translate("history::ChangeText", "mindestens %1").arg(length);
}

QString holderText(const Holder& holder) {
    const QString guild = holder.guild.empty() ? QCoreApplication::translate("history::ChangeText", "ohne Gilde")
                                               : platform::shownName(QString::fromStdString(holder.guild));
    return QString::fromStdString(holder.realm) + QStringLiteral(" (") + guild + QLatin1Char(')');
}

QString localTimeText(Seconds time) {
    return QDateTime::fromSecsSinceEpoch(time).toString(theme::kDateTimeFormat);
}

std::string changeLine(const Change& change, const HistoryReader& words, const feed::KeepNames& names) {
    const std::string& oldRealm = words.word(change.oldRealm);
    const std::string& newRealm = words.word(change.newRealm);
    const auto guild = [&words](int word) {
        const std::string& name = words.word(word);
        return name.empty() ? base::translate("history::ChangeText", "ohne Gilde") : name;
    };
    const std::string start = "^b" + localTimeText(change.time).toStdString() + "  " + feed::realmColourCode(oldRealm) +
                              structureName(words.word(change.id), names);
    // Only the guild changed: the realm stays, the guilds say what happened.
    if (oldRealm == newRealm) return start + "^b  " + guild(change.oldGuild) + "^Irechts^b" + guild(change.newGuild);
    return start + "^Irechts" + feed::realmColourCode(newRealm) + newRealm + "^b  " + guild(change.newGuild);
}

std::string changesCsv(const std::vector<Change>& changes, int server, const HistoryReader& words,
                       const feed::KeepNames& names) {
    // The header speaks the chosen language; the rows hold the feed's own words.
    const char* const header[] = {QT_TRANSLATE_NOOP("history::ChangeText", "Zeit"),
                                  QT_TRANSLATE_NOOP("history::ChangeText", "Server"),
                                  QT_TRANSLATE_NOOP("history::ChangeText", "Id"),
                                  QT_TRANSLATE_NOOP("history::ChangeText", "Bauwerk"),
                                  QT_TRANSLATE_NOOP("history::ChangeText", "Reich vorher"),
                                  QT_TRANSLATE_NOOP("history::ChangeText", "Reich nachher"),
                                  QT_TRANSLATE_NOOP("history::ChangeText", "Gilde vorher"),
                                  QT_TRANSLATE_NOOP("history::ChangeText", "Gilde nachher")};
    std::string csv;
    for (const char* column : header) {
        if (!csv.empty()) csv += ',';
        csv += csvField(base::translate("history::ChangeText", column));
    }
    csv += "\r\n";
    const std::string serverName(feed::kServerNames[static_cast<std::size_t>(server)]);
    // The catalogue is read from its file at every look-up; a year holds a hundred thousand changes
    // of only 105 structures.
    std::unordered_map<int, std::string> keepNames;
    for (const Change& change : changes) {
        const std::string& id = words.word(change.id);
        auto name = keepNames.find(change.id);
        if (name == keepNames.end()) name = keepNames.emplace(change.id, structureName(id, names)).first;
        const QDateTime local = QDateTime::fromSecsSinceEpoch(change.time);
        const std::string fields[] = {local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate).toStdString(),
                                      serverName,
                                      id,
                                      name->second,
                                      words.word(change.oldRealm),
                                      words.word(change.newRealm),
                                      words.word(change.oldGuild),
                                      words.word(change.newGuild)};
        for (std::size_t f = 0; f < std::size(fields); ++f) csv += (f ? "," : "") + csvField(fields[f]);
        csv += "\r\n";
    }
    return csv;
}

}  // namespace history
