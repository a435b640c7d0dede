// Monitoring-cycle costs against the loopback simulator: one feed download, in process and through the
// helper as the program makes it, beside a plain blocking libcurl GET of the same address, and one whole pass over the
// four servers with no changes, with what it spends on fetching, comparing and saving measured apart; and what the
// guild filter adds to each changed line.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <QTemporaryDir>

#include "core/ChangePresenter.h"
#include "core/Download.h"
#include "core/FeedConfig.h"
#include "core/FetchHelper.h"
#include "core/NoticeFilter.h"
#include "core/RefreshPass.h"
#include "feed/CompareKeeps.h"
#include "feed/FeedDocument.h"
#include "feed/FeedPaths.h"
#include "feed/Frontier.h"
#include "feed/SavedCopy.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::FeedSimProcess;

FeedSimProcess& simulator() {
    static FeedSimProcess sim({"--seed", "1"});
    return sim;
}

size_t append(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

void bmDownloadUrl(benchmark::State& state) {
    const std::string url = core::feedUrl(simulator().base(), "Avalon");
    for (auto _ : state) {
        const core::DownloadResult result = core::downloadUrl(url);
        if (result.body.empty()) state.SkipWithError("download failed");
    }
}
BENCHMARK(bmDownloadUrl)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same download as the program makes it: in the helper process, which starts, sets libcurl and its
// TLS stack up, fetches and hands the answer back.
void bmDownloadThroughHelper(benchmark::State& state) {
    const std::string url = core::feedUrl(simulator().base(), "Avalon");
    for (auto _ : state) {
        const core::DownloadResult result = core::downloadThroughHelper(url, {});
        if (result.body.empty()) state.SkipWithError("download failed");
    }
}
BENCHMARK(bmDownloadThroughHelper)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The yardstick: a fresh easy handle per GET, as downloadUrl uses, driven by curl's own blocking loop.
void bmPlainCurlGet(benchmark::State& state) {
    const std::string url = core::feedUrl(simulator().base(), "Avalon");
    curl_global_init(CURL_GLOBAL_DEFAULT);
    for (auto _ : state) {
        CURL* easy = curl_easy_init();
        std::string body;
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, append);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        if (curl_easy_perform(easy) != CURLE_OK || body.empty()) state.SkipWithError("download failed");
        curl_easy_cleanup(easy);
    }
}
BENCHMARK(bmPlainCurlGet)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

class NoPresenter final : public core::ChangePresenter {
public:
    void presentChanges(const feed::MessageLines&) override { ++calls; }
    int calls = 0;
};

// Saved copies equal to what the simulator serves: the pass finds nothing to report.
struct QuietFolder {
    QuietFolder() {
        for (std::string_view server : feed::kServerNames) {
            testing_support::writeFile(feed::savedCopyPath(temp.path(), server),
                                       FeedSimProcess::writtenFeed({"--seed", "1"}, std::string(server)));
        }
    }
    testing_support::TempFolderScope temp;
};

void bmRefreshPassNoChanges(benchmark::State& state) {
    QuietFolder folder;
    testing_support::RecordingDialogs dialogs;
    NoPresenter presenter;
    core::RefreshPass pass({simulator().base(), WARMAP_DATA_DIR, {}}, dialogs, presenter);
    for (auto _ : state) pass.refreshKeeps();
    if (presenter.calls != 0 || !dialogs.shown.empty()) state.SkipWithError("the pass reported something");
}
BENCHMARK(bmRefreshPassNoChanges)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The pass's three kinds of work, each for all four servers.
void bmPassFetchFour(benchmark::State& state) {
    for (auto _ : state) {
        for (std::string_view server : feed::kServerNames) {
            benchmark::DoNotOptimize(core::downloadUrl(core::feedUrl(simulator().base(), std::string(server))));
        }
    }
}
BENCHMARK(bmPassFetchFour)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void bmPassCompareFour(benchmark::State& state) {
    QuietFolder folder;
    const feed::KeepNames names(WARMAP_DATA_DIR);
    std::vector<std::string> feeds;
    for (std::string_view server : feed::kServerNames) {
        feeds.push_back(FeedSimProcess::writtenFeed({"--seed", "1"}, std::string(server)));
    }
    for (auto _ : state) {
        feed::MessageLines lines;
        for (std::size_t i = 0; i < feeds.size(); ++i) {
            const feed::FeedDocument current = feed::FeedDocument::parse(feeds[i]);
            (void)feed::compareKeeps(current, feed::kServerNames[i],
                                     feed::savedCopyPath(folder.temp.path(), feed::kServerNames[i]), names, lines);
        }
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(bmPassCompareFour)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void bmPassSaveFour(benchmark::State& state) {
    QuietFolder folder;
    std::vector<std::string> feeds;
    for (std::string_view server : feed::kServerNames) {
        feeds.push_back(FeedSimProcess::writtenFeed({"--seed", "1"}, std::string(server)));
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < feeds.size(); ++i) {
            (void)feed::writeSavedCopy(feed::savedCopyPath(folder.temp.path(), feed::kServerNames[i]), feeds[i]);
        }
    }
}
BENCHMARK(bmPassSaveFour)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

namespace {

// Two feeds of one server far apart in the simulated war, so most structures changed hands.
struct ChangedFeeds {
    ChangedFeeds()
        : names(WARMAP_DATA_DIR),
          previous(feed::FeedDocument::parse(FeedSimProcess::writtenFeed({"--seed", "1"}, "Dartmoor"))),
          current(
              feed::FeedDocument::parse(FeedSimProcess::writtenFeed({"--seed", "1", "--steps", "60"}, "Dartmoor"))) {}
    feed::KeepNames names;
    feed::FeedDocument previous, current;
};

void perLine(benchmark::State& state, std::size_t lines) {
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["per_line"] = benchmark::Counter(
        static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The lines of a pass as without a guild: compared, nothing read for a filter.
void bmLinesWithoutFilter(benchmark::State& state) {
    const ChangedFeeds feeds;
    std::size_t lines = 0;
    for (auto _ : state) {
        feed::MessageLines told;
        (void)feed::compareKeeps(feeds.current, feeds.previous, "Dartmoor", feeds.names, told);
        lines = told.size();
        benchmark::DoNotOptimize(told);
    }
    perLine(state, lines);
}
BENCHMARK(bmLinesWithoutFilter)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same with the guild filter: each line's guilds read and the filter asked, as a pass does.
void bmLinesWithGuildFilter(benchmark::State& state) {
    const ChangedFeeds feeds;
    core::NoticeFilter filter;
    filter.realm = feed::Realm::Midgard;
    filter.guild = "Nebelreiter";
    std::size_t lines = 0;
    for (auto _ : state) {
        feed::MessageLines told;
        feed::RealmChanges changes;
        (void)feed::compareKeeps(feeds.current, feeds.previous, "Dartmoor", feeds.names, told, &changes);
        feed::MessageLines kept;
        for (std::size_t i = 0; i < changes.size(); ++i) {
            if (filter.wants(0, changes[i])) kept.push_back(std::move(told[i]));
        }
        lines = told.size();
        benchmark::DoNotOptimize(kept);
    }
    perLine(state, lines);
}
BENCHMARK(bmLinesWithGuildFilter)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
