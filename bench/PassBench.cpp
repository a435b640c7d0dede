// Monitoring-cycle costs against the loopback simulator: one feed download beside a plain blocking
// libcurl GET of the same address, and one whole pass over the four servers with no changes, with
// what it spends on fetching, comparing and saving measured apart.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <QTemporaryDir>

#include "core/ChangePresenter.h"
#include "core/Download.h"
#include "core/FeedConfig.h"
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

FeedSimProcess& Simulator() {
    static FeedSimProcess sim({"--seed", "1"});
    return sim;
}

size_t Append(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

void BM_DownloadUrl(benchmark::State& state) {
    const std::string url = core::FeedUrl(Simulator().Base(), "Avalon");
    for (auto _ : state) {
        const core::DownloadResult result = core::DownloadUrl(url);
        if (result.body.empty()) state.SkipWithError("download failed");
    }
}
BENCHMARK(BM_DownloadUrl)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The yardstick: a fresh easy handle per GET, as DownloadUrl uses, driven by curl's own blocking loop.
void BM_PlainCurlGet(benchmark::State& state) {
    const std::string url = core::FeedUrl(Simulator().Base(), "Avalon");
    curl_global_init(CURL_GLOBAL_DEFAULT);
    for (auto _ : state) {
        CURL* easy = curl_easy_init();
        std::string body;
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Append);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        if (curl_easy_perform(easy) != CURLE_OK || body.empty()) state.SkipWithError("download failed");
        curl_easy_cleanup(easy);
    }
}
BENCHMARK(BM_PlainCurlGet)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

class NoPresenter final : public core::ChangePresenter {
public:
    void PresentChanges(const feed::MessageLines&) override { ++calls; }
    int calls = 0;
};

// Saved copies equal to what the simulator serves: the pass finds nothing to report.
struct QuietFolder {
    QuietFolder() {
        for (std::string_view server : feed::ServerNames) {
            testing_support::WriteFile(feed::SavedCopyPath(temp.Path(), server),
                                       FeedSimProcess::WrittenFeed({"--seed", "1"}, std::string(server)));
        }
    }
    testing_support::TempFolderScope temp;
};

void BM_RefreshPassNoChanges(benchmark::State& state) {
    QuietFolder folder;
    testing_support::RecordingDialogs dialogs;
    NoPresenter presenter;
    core::RefreshPass pass({Simulator().Base(), WARMAP_DATA_DIR, {}}, dialogs, presenter);
    for (auto _ : state) pass.RefreshKeeps();
    if (presenter.calls != 0 || !dialogs.shown.empty()) state.SkipWithError("the pass reported something");
}
BENCHMARK(BM_RefreshPassNoChanges)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The pass's three kinds of work, each for all four servers.
void BM_PassFetchFour(benchmark::State& state) {
    for (auto _ : state) {
        for (std::string_view server : feed::ServerNames) {
            benchmark::DoNotOptimize(core::DownloadUrl(core::FeedUrl(Simulator().Base(), std::string(server))));
        }
    }
}
BENCHMARK(BM_PassFetchFour)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_PassCompareFour(benchmark::State& state) {
    QuietFolder folder;
    const feed::KeepNames names(WARMAP_DATA_DIR);
    std::vector<std::string> feeds;
    for (std::string_view server : feed::ServerNames) {
        feeds.push_back(FeedSimProcess::WrittenFeed({"--seed", "1"}, std::string(server)));
    }
    for (auto _ : state) {
        feed::MessageLines lines;
        for (std::size_t i = 0; i < feeds.size(); ++i) {
            const feed::FeedDocument current = feed::FeedDocument::Parse(feeds[i]);
            (void)feed::CompareKeeps(current, feed::ServerNames[i],
                               feed::SavedCopyPath(folder.temp.Path(), feed::ServerNames[i]), names, lines);
        }
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_PassCompareFour)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_PassSaveFour(benchmark::State& state) {
    QuietFolder folder;
    std::vector<std::string> feeds;
    for (std::string_view server : feed::ServerNames) {
        feeds.push_back(FeedSimProcess::WrittenFeed({"--seed", "1"}, std::string(server)));
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < feeds.size(); ++i) {
            (void)feed::WriteSavedCopy(feed::SavedCopyPath(folder.temp.Path(), feed::ServerNames[i]), feeds[i]);
        }
    }
}
BENCHMARK(BM_PassSaveFour)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
