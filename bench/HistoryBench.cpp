// SPDX-License-Identifier: GPL-3.0-or-later
// History costs: recording one pass of four servers, opening the file, upgrading one of the first layout,
// opening "Verlauf" on 30 days and on everything, the map at a slider position, a structure's story and
// "Am meisten umkämpft" for everything, and the hover's holder at a moment. The last four read the history
// named by WARMAP_YEAR_HISTORY (bench/history.sh writes a simulated year there); without it they are skipped.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <limits>
#include <random>

#include "feed/FeedDocument.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/HistoryWindow.h"
#include "history/StructureStory.h"
#include "tools/feedsim/Frontier.h"

namespace {

using history::HistoryStore;

// One pass of four servers into a history that already holds a day: the holdings read from the parsed
// feeds, compared with the last ones, written and committed.
void bmRecordPass(benchmark::State& state) {
    QTemporaryDir dir;
    auto opened = HistoryStore::open(dir.filePath(QStringLiteral("h.sqlite")).toStdString());
    if (!opened) return state.SkipWithError(opened.error().c_str());
    std::unique_ptr<HistoryStore> store = std::move(*opened);
    feedsim::Frontier frontier(1);
    // The feeds are parsed beforehand: the pass has parsed them already when it records.
    std::vector<std::vector<feed::FeedDocument>> passes(400);
    for (auto& pass : passes) {
        for (int server = 0; server < feedsim::Frontier::kServers; ++server)
            pass.push_back(feed::FeedDocument::parse(frontier.feedXml(server)));
        frontier.advance();
    }
    history::HistoryRecorder recorder(std::move(store));
    const feed::MessageLines lines = {"^bDM: ^rOne^Irechts^dMidgard", "^bLOG: ^gTwo^Irechts^rAlbion"};
    history::Seconds time = 0;
    std::size_t next = 0;
    const auto record = [&] {
        for (int server = 0; server < feedsim::Frontier::kServers; ++server)
            recorder.feedArrived(server, passes[next][static_cast<std::size_t>(server)]);
        recorder.passEnded(time += 600, lines);
        if (++next == passes.size()) next = 0;  // the frontier jumps back: many structures change at once
    };
    for (int i = 0; i < HistoryStore::kRecordingsPerWholeState; ++i) record();
    for (auto _ : state) record();
    if (!recorder.isRecording()) state.SkipWithError("recording failed");
}
BENCHMARK(bmRecordPass)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

std::unique_ptr<HistoryStore> yearHistory(benchmark::State& state) {
    const QByteArray path = qgetenv("WARMAP_YEAR_HISTORY");
    if (path.isEmpty()) {
        state.SkipWithError("WARMAP_YEAR_HISTORY is not set (bench/history.sh sets it)");
        return nullptr;
    }
    auto opened = HistoryStore::open(path.toStdString());
    if (!opened) {
        state.SkipWithError(opened.error().c_str());
        return nullptr;
    }
    return std::move(*opened);
}

// Opening the file after the first frame: its layout checked, the last state of every server rebuilt.
void bmOpenYearHistory(benchmark::State& state) {
    if (!yearHistory(state)) return;
    for (auto _ : state) benchmark::DoNotOptimize(yearHistory(state));
}
BENCHMARK(bmOpenYearHistory)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The first start after an update: a year written in the first layout (WARMAP_YEAR_HISTORY_V1) brought
// up to date and opened. Each run upgrades a fresh copy; the copying is not timed.
void bmUpgradeYearFromFirstLayout(benchmark::State& state) {
    const QString original = QString::fromLocal8Bit(qgetenv("WARMAP_YEAR_HISTORY_V1"));
    if (original.isEmpty()) return state.SkipWithError("WARMAP_YEAR_HISTORY_V1 is not set (bench/history.sh sets it)");
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("history.sqlite"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(copy);
        if (!QFile::copy(original, copy)) return state.SkipWithError("cannot copy the first-layout file");
        state.ResumeTiming();
        if (const auto opened = HistoryStore::open(copy.toStdString()); !opened)
            return state.SkipWithError(opened.error().c_str());
    }
}
BENCHMARK(bmUpgradeYearFromFirstLayout)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// What a player waits for: the window built, its history read, chart, list and map laid out and drawn.
void openHistoryWindow(benchmark::State& state, history::HistoryWindow::Range range) {
    auto store = yearHistory(state);
    if (!store) return;
    for (auto _ : state) {
        history::HistoryWindow window(store.get(), {}, WARMAP_DATA_DIR);
        window.chooseRange(range);
        window.resize(1150, 700);
        benchmark::DoNotOptimize(window.grab());
    }
}
void bmOpenHistory30Days(benchmark::State& state) {
    openHistoryWindow(state, history::HistoryWindow::Range::Month);
}
void bmOpenHistoryAll(benchmark::State& state) {
    openHistoryWindow(state, history::HistoryWindow::Range::All);
}
BENCHMARK(bmOpenHistory30Days)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(bmOpenHistoryAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The slider moved to a random moment of the year: its state rebuilt and the map drawn.
void bmMapAtSliderPosition(benchmark::State& state) {
    auto store = yearHistory(state);
    if (!store) return;
    history::HistoryWindow window(store.get(), {}, WARMAP_DATA_DIR);
    window.chooseRange(history::HistoryWindow::Range::All);
    const int moments = static_cast<int>(window.moments().size());
    if (moments < 2) return state.SkipWithError("the history is empty");
    std::mt19937 random(1);
    for (auto _ : state) window.chooseMoment(static_cast<int>(random() % static_cast<unsigned>(moments)));
}
BENCHMARK(bmMapAtSliderPosition)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A random structure's story over the whole year, as the story tab reads it for "Alles".
void bmStoryAll(benchmark::State& state) {
    auto store = yearHistory(state);
    if (!store) return;
    const std::optional<history::Moment> last = store->momentAt(0, std::numeric_limits<history::Seconds>::max());
    if (!last) return state.SkipWithError("the history is empty");
    std::mt19937 random(2);
    std::size_t holds = 0;
    for (auto _ : state) {
        const std::string id = std::to_string(random() % feed::kStructures);
        holds += history::storyOf(*store, 0, id, 0, last->time).holds.size();
    }
    state.counters["holds"] = benchmark::Counter(static_cast<double>(holds), benchmark::Counter::kAvgIterations);
}
BENCHMARK(bmStoryAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The ten most contested structures of the year.
void bmMostContestedAll(benchmark::State& state) {
    auto store = yearHistory(state);
    if (!store) return;
    const std::optional<history::Moment> last = store->momentAt(0, std::numeric_limits<history::Seconds>::max());
    if (!last) return state.SkipWithError("the history is empty");
    for (auto _ : state) benchmark::DoNotOptimize(history::mostContested(*store, 0, 0, last->time, 10));
}
BENCHMARK(bmMostContestedAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The hover on the history map: who held a random structure at a random moment of the year, since when.
void bmHoverHolderAtMoment(benchmark::State& state) {
    auto store = yearHistory(state);
    if (!store) return;
    const std::vector<history::Moment> moments = store->moments(0, 0, std::numeric_limits<history::Seconds>::max());
    if (moments.empty()) return state.SkipWithError("the history is empty");
    std::mt19937 random(3);
    for (auto _ : state) {
        const history::Moment& at = moments[random() % moments.size()];
        benchmark::DoNotOptimize(history::holdAt(*store, 0, std::to_string(random() % feed::kStructures), at));
    }
}
BENCHMARK(bmHoverHolderAtMoment)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
