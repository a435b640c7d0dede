// Change detection costs: one server's comparison including reading its saved copy, and one keep-name
// lookup including reading the catalogue, as every line of a pass does.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "feed/CompareKeeps.h"
#include "feed/FeedDocument.h"
#include "feed/KeepNames.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/TempDir.h"

namespace {

void bmCompareKeeps(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string saved = dir.filePath("Avalon_lastkeeps.xml").toStdString();
    testing_support::writeFile(saved, testing_support::FeedSimProcess::writtenFeed({"--seed", "1"}, "Avalon"));
    // The feed a step later: a few owners differ, as on a typical pass.
    const std::string current = testing_support::FeedSimProcess::writtenFeed({"--seed", "1", "--steps", "1"}, "Avalon");
    const feed::KeepNames names(WARMAP_DATA_DIR);
    std::size_t lines = 0;
    for (auto _ : state) {
        feed::MessageLines found;
        (void)feed::compareKeeps(current, "Avalon", saved, names, found);
        lines = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(bmCompareKeeps)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The part of the comparison that parses one feed.
void bmParseFeed(benchmark::State& state) {
    const std::string xml = testing_support::FeedSimProcess::writtenFeed({"--seed", "1"}, "Avalon");
    for (auto _ : state) benchmark::DoNotOptimize(feed::FeedDocument::parse(xml));
}
BENCHMARK(bmParseFeed)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void bmKeepName(benchmark::State& state) {
    const feed::KeepNames names(WARMAP_DATA_DIR);
    int id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(names.keepName(std::to_string(id)));
        id = (id + 37) % 105;  // spread over the catalogue, early and late entries alike
    }
}
BENCHMARK(bmKeepName)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
