// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FeedAddress.h"

#include <QUrl>

#include "core/BuildInfo.h"

namespace settings {

QString NormalisedFeedBase(const QString& text, QString* problem) {
    const auto refuse = [problem](const QString& why) {
        if (problem) *problem = why;
        return QString();
    };
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return refuse(QStringLiteral("Die Feed-Adresse muss mit http:// oder https:// beginnen."));
    if (url.host().isEmpty()) return refuse(QStringLiteral("Die Feed-Adresse nennt keinen Rechner."));
    if (!url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment() ||
        (!url.path().isEmpty() && url.path() != QLatin1String("/")))
        return refuse(QStringLiteral("Die Feed-Adresse besteht nur aus Schema, Rechner und Port; der Pfad ist fest."));
    if (problem) problem->clear();
    return url.adjusted(QUrl::RemovePath).toString(QUrl::FullyEncoded);
}

QString ChooseFeedBase(const QString& commandLine, const QString& fromFile) {
    QString base = commandLine;
    if (base.isEmpty()) base = qEnvironmentVariable("WARMAP_FEED_BASE");
    if (base.isEmpty()) base = fromFile;
    if (base.isEmpty()) base = QString::fromUtf8(core::build::kDefaultFeedBase);
    while (base.endsWith(QLatin1Char('/'))) base.chop(1);
    return base;
}

}  // namespace settings
