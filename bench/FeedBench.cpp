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

void BM_CompareKeeps(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string saved = dir.filePath("Avalon_lastkeeps.xml").toStdString();
    testing_support::WriteFile(saved, testing_support::FeedSimProcess::WrittenFeed({"--seed", "1"}, "Avalon"));
    // The feed a step later: a few owners differ, as on a typical pass.
    const std::string current = testing_support::FeedSimProcess::WrittenFeed({"--seed", "1", "--steps", "1"}, "Avalon");
    const feed::KeepNames names(WARMAP_DATA_DIR);
    std::size_t lines = 0;
    for (auto _ : state) {
        feed::MessageLines found;
        (void)feed::CompareKeeps(current, "Avalon", saved, names, found);
        lines = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_CompareKeeps)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The part of the comparison that parses one feed.
void BM_ParseFeed(benchmark::State& state) {
    const std::string xml = testing_support::FeedSimProcess::WrittenFeed({"--seed", "1"}, "Avalon");
    for (auto _ : state) benchmark::DoNotOptimize(feed::FeedDocument::Parse(xml));
}
BENCHMARK(BM_ParseFeed)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_KeepName(benchmark::State& state) {
    const feed::KeepNames names(WARMAP_DATA_DIR);
    int id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(names.KeepName(std::to_string(id)));
        id = (id + 37) % 105;  // spread over the catalogue, early and late entries alike
    }
}
BENCHMARK(BM_KeepName)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
