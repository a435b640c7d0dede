// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FeedCheck.h"

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
        return {false, "Keine Antwort von " + url + ": " + result.problem + "."};
    if (result.status == DownloadResult::Status::BadResponse)
        return {false, url + " antwortet, aber nicht mit einem vollst\u00e4ndigen Dokument: " + result.problem + "."};
    const feed::FeedDocument document = feed::FeedDocument::parse(result.body);
    if (!document.isFeed()) return {false, url + " liefert keinen Feed: " + document.problem()};
    std::string verdict = "Feed erhalten: " + std::to_string(document.entryCount()) + " Eintr\u00e4ge";
    try {
        verdict += ", Stand " + document.date();
    } catch (const feed::FeedError&) {
        // a feed without its date still is one
    }
    return {true, verdict + "."};
}

}  // namespace core
