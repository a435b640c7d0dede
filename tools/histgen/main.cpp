// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a history file as the program would after running for a while against the feed simulator:
// a pass every ten minutes over four servers, each step of the simulated frontier one pass, with the
// popup's lines of each pass. For benchmarks, screenshots and the end-to-end tests.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

#include "feed/CompareKeeps.h"
#include "feed/FeedDocument.h"
#include "feed/Frontier.h"
#include "feed/KeepNames.h"
#include "history/HistoryStore.h"
#include "tools/feedsim/Frontier.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a simulated Warmap history."));
    parser.addHelpOption();
    const QCommandLineOption passes(QStringLiteral("passes"), QStringLiteral("Passes to record (default: a year)."),
                                    QStringLiteral("N"), QStringLiteral("52560"));
    const QCommandLineOption end(QStringLiteral("end"),
                                 QStringLiteral("Time of the last pass, seconds since 1970 "
                                                "(default: now)."),
                                 QStringLiteral("SECONDS"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the simulated frontier."),
                                  QStringLiteral("SEED"), QStringLiteral("1"));
    const QCommandLineOption data(QStringLiteral("data"), QStringLiteral("Folder with keepnames.ini."),
                                  QStringLiteral("FOLDER"), QStringLiteral("."));
    parser.addOptions({passes, end, seed, data});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The history file to write."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) parser.showHelp(2);

    constexpr history::Seconds kInterval = 600;
    const long count = parser.value(passes).toLong();
    const history::Seconds last =
        parser.isSet(end) ? parser.value(end).toLongLong() : QDateTime::currentSecsSinceEpoch();
    auto opened = history::HistoryStore::open(parser.positionalArguments().front().toStdString());
    if (!opened) {
        std::fprintf(stderr, "histgen: %s\n", opened.error().c_str());
        return 1;
    }
    const std::unique_ptr<history::HistoryStore> store = std::move(*opened);
    const feed::KeepNames names(parser.value(data).toStdString());
    feedsim::Frontier frontier(parser.value(seed).toUInt());
    std::vector<std::optional<feed::FeedDocument>> previous(feed::kServerNames.size());
    for (long pass = 0; pass < count; ++pass) {
        if (pass > 0) frontier.advance();
        std::vector<history::ArrivedFeed> feeds;
        feed::MessageLines lines;
        for (int server = 0; server < feedsim::Frontier::kServers; ++server) {
            feed::FeedDocument document = feed::FeedDocument::parse(frontier.feedXml(server));
            const std::string_view name = feed::kServerNames[static_cast<std::size_t>(server)];
            if (previous[server]) (void)feed::compareKeeps(document, *previous[server], name, names, lines);
            feeds.push_back({server, document.date(), history::holdingsOf(document)});
            previous[server] = std::move(document);
        }
        if (const base::Status recorded = store->record(last - (count - 1 - pass) * kInterval, feeds, lines);
            !recorded) {
            std::fprintf(stderr, "histgen: pass %ld: %s\n", pass, recorded.error().c_str());
            return 1;
        }
    }
    return 0;
}
