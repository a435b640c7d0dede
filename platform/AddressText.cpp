#include "platform/AddressText.h"

#include <algorithm>

namespace platform {

std::pair<qsizetype, qsizetype> authority(const QString& text) {
    const qsizetype separator = text.indexOf(QLatin1String("://"));
    const qsizetype start = separator < 0 ? 0 : separator + 3;
    qsizetype end = text.size();
    for (const QChar stop : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')}) {
        const qsizetype at = text.indexOf(stop, start);
        if (at >= 0) end = std::min(end, at);
    }
    return {start, end};
}

QString addressWithoutUser(const QString& text) {
    const auto [start, end] = authority(text);
    const qsizetype at = end > 0 ? text.lastIndexOf(QLatin1Char('@'), end - 1) : -1;
    if (at < start) return text;
    return text.left(start) + text.mid(at + 1);
}

}  // namespace platform
