// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FeedCheck.h"

#include "base/Wording.h"
#include "core/FeedConfig.h"
#include "feed/FeedDocument.h"
#include "feed/Frontier.h"

namespace core {

FeedCheckResult checkFeed(const std::string& feedBase, const Downloader& download) {
    DownloadLimits limits;
    limits.connectTimeout = std::chrono::seconds(10);
    limits.stallTimeout = std::chrono::seconds(10);
    limits.totalTimeout = std::chrono::seconds(20);
    const std::string url = feedUrl(feedBase, feed::kServerNames[0]);
    const DownloadResult result = download(url, limits);
    if (result.status == DownloadResult::Status::NoConnection)
        return {false,
                base::filled(base::translate("core::FeedCheck", "Keine Antwort von %1: %2."), {url, result.problem})};
    if (result.status == DownloadResult::Status::BadResponse)
        return {false, base::filled(base::translate("core::FeedCheck",
                                                    "%1 antwortet, aber nicht mit einem vollständigen Dokument: %2."),
                                    {url, result.problem})};
    const feed::FeedDocument document = feed::FeedDocument::parse(result.body);
    if (!document.isFeed())
        return {false, base::filled(base::translate("core::FeedCheck", "%1 liefert keinen Feed: %2"),
                                    {url, document.problem()})};
    std::string verdict = base::filled(base::translate("core::FeedCheck", "Feed erhalten: %1 Einträge"),
                                       {std::to_string(document.entryCount())});
    try {
        verdict += base::filled(base::translate("core::FeedCheck", ", Stand %1"), {document.date()});
    } catch (const feed::FeedError&) {
        // a feed without its date still is one
    }
    return {true, verdict + "."};
}

}  // namespace core
